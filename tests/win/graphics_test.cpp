// The framework's graphics: the live GDI object counter that leak tests rest on, palettes, bitmaps (canvas,
// monochrome conversion, device copies, the dormant form, change listeners) and image lists.
#include "ArtPictures.h"
#include "Bitmap.h"
#include "BitmapCanvas.h"
#include "ChangeNotifier.h"
#include "ControlTestKit.h"
#include "Exception.h"
#include "GdiCounter.h"
#include "Handles.h"
#include "ImageList.h"
#include "Palette.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

// ---------------------------------------------------------------------------------------------------------
// The live GDI object counter

// An object handed over to the system (a window region) or deleted by hand after Release is no longer ours.
TEST(GdiCounter, ReleasedObjectsLeaveTheCount) {
  const long before = TGdiCounter::Live();
  auto* form = new TForm(Application);
  form->SetClientSize(100, 100);
  form->Show();
  const long withForm = TGdiCounter::Live();
  {
    TRegionHandle region(CreateRectRgn(0, 0, 50, 50));
    EXPECT_EQ(TGdiCounter::Live(), withForm + 1);
    ASSERT_NE(SetWindowRgn(form->Handle(), region.Get(), TRUE), 0);
    region.Release(); // the window owns the region now
    EXPECT_EQ(TGdiCounter::Live(), withForm) << "a region owned by the window counted as ours";

    TMemoryDC dc(nullptr);
    DeleteDC(dc.Release());
    TBrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
    DeleteObject(brush.Release());
    EXPECT_EQ(TGdiCounter::Live(), withForm) << "objects deleted by hand after Release";
  }
  delete form;
  PumpMessages();
  EXPECT_EQ(TGdiCounter::Live(), before);
}

// Moving, resetting and releasing an empty wrapper keep the count exact.
TEST(GdiCounter, MovesAndResetsCountEachObjectOnce) {
  const long before = TGdiCounter::Live();
  {
    TPenHandle a(CreatePen(PS_SOLID, 1, 0));
    TPenHandle b(std::move(a));
    TPenHandle c;
    c = std::move(b);
    EXPECT_EQ(TGdiCounter::Live(), before + 1);
    c.Reset(CreatePen(PS_SOLID, 2, 0));
    EXPECT_EQ(TGdiCounter::Live(), before + 1) << "the replaced pen was deleted";
    EXPECT_EQ(a.Release(), nullptr);
    EXPECT_EQ(TGdiCounter::Live(), before + 1) << "releasing an empty wrapper";
    TPenHandle failed(nullptr);
    EXPECT_EQ(TGdiCounter::Live(), before + 1) << "a failed creation is not counted";
  }
  EXPECT_EQ(TGdiCounter::Live(), before);
}

// ---------------------------------------------------------------------------------------------------------
// The program's pictures read back: GLYPH_ADD (16 colours, see ArtPictures.h) and GLYPH_PLAY (two colours).

bool IsSection(HBITMAP bitmap) {
  DIBSECTION section{};
  return GetObjectW(bitmap, sizeof(section), &section) == sizeof(section);
}

// Every pixel of the 16 x 16 add glyph compared with what `expected` says for its key.
template <typename F>
void ExpectAddPixels(const TBitmap& bitmap, F expected, const std::string& what) {
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(static_cast<COLORREF>(bitmap.Pixel(x, y)),
                expected(AddRows[static_cast<size_t>(y)][static_cast<size_t>(x)]))
          << what << " at " << x << "," << y;
}

// ---------------------------------------------------------------------------------------------------------
// Change listeners

// Two listeners (a glyph and its button) both hear a change; a listener that goes away is not called, and
// one may leave while the change is being told.
TEST(ChangeNotifier, EveryLiveListenerHearsEachChangeInOrder) {
  TBitmap bitmap;
  std::vector<std::string> heard;
  TChangeLink second;
  TChangeLink first = bitmap.Subscribe([&] {
    heard.push_back("first");
    second.Reset();
  });
  second = bitmap.Subscribe([&] { heard.push_back("second"); });
  TChangeLink third = bitmap.Subscribe([&] { heard.push_back("third"); });
  bitmap.LoadFromResourceName(L"GLYPH_PLAY");
  EXPECT_EQ(heard, (std::vector<std::string>{"first", "third"}));

  heard.clear();
  first.Reset();
  bitmap.Changed();
  EXPECT_EQ(heard, (std::vector<std::string>{"third"}));
}

TEST(ChangeNotifier, ALinkOutlivingItsBitmapIsHarmless) {
  TChangeLink link;
  int calls = 0;
  {
    TBitmap bitmap;
    link = bitmap.Subscribe([&] { ++calls; });
    EXPECT_TRUE(link.Linked());
    TBitmap copy(bitmap);
    copy.Changed();
    EXPECT_EQ(calls, 0) << "listeners are not copied with the picture";
  }
  EXPECT_FALSE(link.Linked());
  link.Reset();
  EXPECT_EQ(calls, 0);
}

// ---------------------------------------------------------------------------------------------------------
// Palettes

TEST(Palette, ASixteenColourPictureBringsItsColourTable) {
  const TBitmap add = Loaded(L"GLYPH_ADD");
  ASSERT_EQ(add.Palette().Count(), 16);
  const PALETTEENTRY fuchsia = add.Palette().Entries()[13];
  EXPECT_EQ(RGB(fuchsia.peRed, fuchsia.peGreen, fuchsia.peBlue), RGB(255, 0, 255));
  EXPECT_TRUE(Loaded(L"GLYPH_PLAY").Palette().Empty()) << "a monochrome picture has no palette";
  EXPECT_TRUE(Loaded(L"BANNER").Palette().Empty()) << "a true-colour picture has no palette";

  const long before = TGdiCounter::Live();
  {
    TPalette copy = add.Palette();
    ASSERT_NE(copy.Handle(), nullptr);
    PALETTEENTRY entries[16]{};
    ASSERT_EQ(GetPaletteEntries(copy.Handle(), 0, 16, entries), 16u);
    EXPECT_EQ(RGB(entries[13].peRed, entries[13].peGreen, entries[13].peBlue), RGB(255, 0, 255));
    EXPECT_NE(copy.Handle(), add.Palette().Handle()) << "a copy makes a palette of its own";
    EXPECT_EQ(TGdiCounter::Live(), before + 2);
  }
  EXPECT_EQ(TGdiCounter::Live(), before + 1) << "the copy's palette went with it";
}

TEST(Palette, ABitmapCanvasSelectsThePaletteAndPutsTheOldOneBack) {
  TBitmap bitmap;
  bitmap.SetSize(4, 4);
  bitmap.SetPalette(Loaded(L"GLYPH_ADD").Palette());
  TMemoryDC dc(nullptr);
  const HGDIOBJ stock = GetCurrentObject(dc.Get(), OBJ_PAL);
  {
    TBitmapCanvas canvas(bitmap);
    EXPECT_EQ(GetCurrentObject(canvas.Handle(), OBJ_PAL), bitmap.Palette().Handle());
    TSelectPaletteGuard select(dc.Get(), bitmap.Palette().Handle(), true);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PAL), bitmap.Palette().Handle());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PAL), stock);
}

// ---------------------------------------------------------------------------------------------------------
// Bitmaps

TEST(Bitmap, AssigningCopiesThePictureItsPaletteAndItsKind) {
  struct Case {
    const wchar_t* Name;
    bool Section;
  };
  for (const Case& c : {Case{L"GLYPH_ADD", true}, Case{L"GLYPH_PLAY", false}}) {
    const std::string name = Narrow(c.Name);
    const TBitmap original = Loaded(c.Name);
    TBitmap copy;
    int changes = 0;
    const TChangeLink link = copy.Subscribe([&] { ++changes; });
    copy = original;
    EXPECT_EQ(changes, 1) << name;
    ASSERT_NE(copy.Handle(), original.Handle()) << name;
    EXPECT_EQ(IsSection(copy.Handle()), c.Section) << name;
    EXPECT_EQ(copy.Monochrome(), original.Monochrome()) << name;
    EXPECT_EQ(copy.Palette().Count(), original.Palette().Count()) << name;
    for (int y = 0; y < original.Height(); ++y)
      for (int x = 0; x < original.Width(); ++x)
        ASSERT_EQ(copy.Pixel(x, y), original.Pixel(x, y)) << name << " at " << x << "," << y;
    {
      TBitmapCanvas canvas(copy);
      canvas.Canvas().FillRect(Rect(0, 0, 4, 4), clBlack);
    }
    EXPECT_EQ(original.Pixel(0, 0), c.Section ? static_cast<TColor>(RGB(255, 0, 255)) : clWhite)
        << name << ": drawing on the copy changed the original";
  }
}

TEST(Bitmap, SetSizeKeepsThePixelsAndFillsTheNewAreaWithTheBrush) {
  for (bool monochrome : {false, true}) {
    TBitmap bitmap;
    bitmap.SetMonochrome(monochrome);
    bitmap.SetBrushColor(clBlack);
    bitmap.SetSize(3, 2);
    EXPECT_EQ(bitmap.Monochrome(), monochrome);
    bitmap.SetBrushColor(clWhite);
    bitmap.SetSize(5, 4);
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Monochrome(), monochrome);
    EXPECT_EQ(bitmap.Pixel(2, 1), clBlack) << "monochrome " << monochrome << ": kept";
    EXPECT_EQ(bitmap.Pixel(3, 1), clWhite) << "monochrome " << monochrome << ": new column";
    EXPECT_EQ(bitmap.Pixel(0, 3), clWhite) << "monochrome " << monochrome << ": new row";
  }
}

// The old disabled style turns a picture into a mask of its pixels of one colour (the canvas brush).
TEST(Bitmap, MonochromeConversionSetsTheBitsOfTheBrushColourOnly) {
  for (char key : {'K', 'W', 'g', '.'}) {
    TBitmap bitmap = Loaded(L"GLYPH_ADD");
    bitmap.SetBrushColor(static_cast<TColor>(AddColor(key)));
    bitmap.SetMonochrome(true);
    ASSERT_TRUE(bitmap.Monochrome());
    ExpectAddPixels(
        bitmap, [key](char k) { return k == key ? RGB(255, 255, 255) : RGB(0, 0, 0); },
        std::string("set bits on ") + key);
  }
  TBitmap play = Loaded(L"GLYPH_PLAY");
  play.SetMonochrome(false);
  EXPECT_FALSE(play.Monochrome());
  EXPECT_EQ(play.Pixel(3, 5), clBlack);
  EXPECT_EQ(play.Pixel(0, 0), clWhite);
}

TEST(Bitmap, ColorMaskSetsTheBitsOfAnyOfItsColoursInAnArea) {
  const TBitmap add = Loaded(L"GLYPH_ADD");
  const TBitmap mask = add.ColorMask(
      Rect(1, 4, 13, 16), {static_cast<TColor>(RGB(255, 255, 255)), static_cast<TColor>(RGB(192, 192, 192))});
  ASSERT_TRUE(mask.Monochrome());
  ASSERT_EQ(mask.Width(), 12);
  ASSERT_EQ(mask.Height(), 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const char key = AddRows[static_cast<size_t>(y + 4)][static_cast<size_t>(x + 1)];
      ASSERT_EQ(mask.Pixel(x, y), key == 'W' || key == 'S' ? clWhite : clBlack) << x << "," << y;
    }
  const TBitmap play = Loaded(L"GLYPH_PLAY").ColorMask(Rect(0, 0, 11, 11), {clBlack});
  EXPECT_EQ(play.Pixel(3, 5), clWhite) << "a monochrome picture's black";
  EXPECT_EQ(play.Pixel(0, 0), clBlack);
}

TEST(Bitmap, ADeviceCopyHasTheSamePixelsInTheDisplaysFormat) {
  for (const wchar_t* name : {L"GLYPH_ADD", L"GLYPH_PLAY"}) {
    const TBitmap original = Loaded(name);
    const TBitmap copy = original.DeviceCopy();
    EXPECT_FALSE(IsSection(copy.Handle())) << Narrow(name);
    EXPECT_FALSE(copy.Monochrome()) << Narrow(name);
    EXPECT_EQ(copy.Palette().Count(), original.Palette().Count()) << Narrow(name);
    for (int y = 0; y < original.Height(); ++y)
      for (int x = 0; x < original.Width(); ++x)
        ASSERT_EQ(copy.Pixel(x, y), original.Pixel(x, y)) << Narrow(name) << " at " << x << "," << y;
  }
}

// A dormant picture holds no GDI bitmap, keeps its size, and comes back with the same pixels and kind.
TEST(Bitmap, ADormantPictureReleasesItsHandleAndWakesUnchanged) {
  struct Case {
    const char* Name;
    std::function<TBitmap()> Make;
  };
  const Case cases[] = {
      {"16 colours", [] { return Loaded(L"GLYPH_ADD"); }},
      {"monochrome", [] { return Loaded(L"GLYPH_PLAY"); }},
      {"device copy", [] { return Loaded(L"GLYPH_ADD").DeviceCopy(); }},
  };
  for (const Case& c : cases) {
    TBitmap bitmap = c.Make();
    const TBitmap reference = bitmap;
    const bool section = IsSection(bitmap.Handle());
    const long awake = TGdiCounter::Live();
    bitmap.Dormant();
    EXPECT_TRUE(bitmap.IsDormant()) << c.Name;
    EXPECT_EQ(TGdiCounter::Live(), awake - 1) << c.Name;
    EXPECT_EQ(bitmap.Width(), reference.Width()) << c.Name;
    EXPECT_EQ(bitmap.Monochrome(), reference.Monochrome()) << c.Name;
    {
      const TBitmap sleepingCopy = bitmap;
      EXPECT_EQ(TGdiCounter::Live(), awake - 1) << c.Name << ": the copy of a dormant picture sleeps too";
    }
    ASSERT_NE(bitmap.Handle(), nullptr) << c.Name;
    EXPECT_FALSE(bitmap.IsDormant()) << c.Name;
    EXPECT_EQ(TGdiCounter::Live(), awake) << c.Name;
    EXPECT_EQ(IsSection(bitmap.Handle()), section) << c.Name;
    for (int y = 0; y < reference.Height(); ++y)
      for (int x = 0; x < reference.Width(); ++x)
        ASSERT_EQ(bitmap.Pixel(x, y), reference.Pixel(x, y)) << c.Name << " at " << x << "," << y;
  }
}

TEST(Canvas, BrushCopyReplacesOneColourWithTheBrush) {
  const TBitmap add = Loaded(L"GLYPH_ADD");
  TBitmap target;
  target.SetBrushColor(clBlue);
  target.SetSize(16, 16);
  {
    TBitmapCanvas canvas(target);
    canvas.Canvas().SetBrushColor(clLime);
    canvas.Canvas().BrushCopy(Rect(2, 1, 16, 16), add, Rect(0, 0, 14, 15), add.TransparentColor());
  }
  EXPECT_EQ(target.Pixel(0, 0), clBlue) << "outside the copy";
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 14; ++x) {
      const char key = AddRows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      ASSERT_EQ(static_cast<COLORREF>(target.Pixel(x + 2, y + 1)), key == '.' ? ColorToRGB(clLime) : AddColor(key))
          << x << "," << y;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Image lists

class ImageListTest : public ::testing::Test {
protected:
  // Draws image `index` onto a 16 x 16 picture filled with `fill`.
  TBitmap Drawn(const TImageList& list, int index, UINT style, TColor background = clNone, TColor fill = Backdrop) {
    TBitmap picture;
    picture.SetBrushColor(fill);
    picture.SetSize(16, 16);
    TBitmapCanvas canvas(picture);
    list.Draw(canvas.Handle(), 0, 0, index, style, background);
    return picture;
  }
};

TEST_F(ImageListTest, ReplaceTakesAPictureWithItsMaskOrItsMaskColour) {
  TImageList list(16, 16);
  int changes = 0;
  const TChangeLink link = list.Subscribe([&] { ++changes; });
  const TBitmap add = Loaded(L"GLYPH_ADD");
  ASSERT_EQ(list.AddEmpty(), 0);
  ASSERT_EQ(list.AddEmpty(), 1);
  EXPECT_EQ(list.ImageCount(), 2);

  list.ReplaceMasked(1, add, add.TransparentColor());
  ExpectAddPixels(
      Drawn(list, 1, ILD_TRANSPARENT), [](char k) { return k == '.' ? ColorToRGB(Backdrop) : AddColor(k); },
      "masked by colour");

  // A mask of the white and silver pixels: those become transparent, the fuchsia shows.
  const TBitmap mask = add.ColorMask(Rect(0, 0, 16, 16), {clWhite, static_cast<TColor>(RGB(192, 192, 192))});
  list.Replace(0, add, &mask);
  const auto whiteAndSilverHidden = [](char k) { return k == 'W' || k == 'S' ? ColorToRGB(Backdrop) : AddColor(k); };
  ExpectAddPixels(Drawn(list, 0, ILD_TRANSPARENT), whiteAndSilverHidden, "transparent");
  ExpectAddPixels(
      Drawn(list, 0, ILD_NORMAL, clBlue),
      [](char k) { return k == 'W' || k == 'S' ? ColorToRGB(clBlue) : AddColor(k); }, "normal on blue");
  // Drawn on white: the system may draw the mask's set bits as they are or leave the white under them.
  ExpectAddPixels(
      Drawn(list, 0, ILD_MASK, clNone, clWhite),
      [](char k) { return k == 'W' || k == 'S' ? ColorToRGB(clWhite) : ColorToRGB(clBlack); }, "mask");
  EXPECT_EQ(changes, 4);

  list.Delete(1);
  EXPECT_EQ(list.ImageCount(), 1);
  EXPECT_EQ(changes, 5);
  ExpectAddPixels(Drawn(list, 0, ILD_TRANSPARENT), whiteAndSilverHidden, "after deleting the other image");
}

TEST_F(ImageListTest, RefusalsRaiseAndChangeNothing) {
  TImageList list(16, 16);
  const TBitmap add = Loaded(L"GLYPH_ADD");
  list.AddMasked(add, add.TransparentColor());
  int changes = 0;
  const TChangeLink link = list.Subscribe([&] { ++changes; });
  const long before = TGdiCounter::Live();
  try {
    list.ReplaceMasked(5, add, add.TransparentColor());
    ADD_FAILURE() << "replaced an image that does not exist";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Unable to Replace Image");
  }
  EXPECT_THROW(list.Delete(3), EInvalidOperation);
  EXPECT_EQ(list.ImageCount(), 1);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(TGdiCounter::Live(), before) << "work bitmaps of the refused replace";
}

TEST(ImageList, ImageListsCountAsLiveObjects) {
  const long before = TGdiCounter::Live();
  {
    TImageList list(16, 16);
    EXPECT_EQ(TGdiCounter::Live(), before + 1);
    list.Create(8, 8);
    EXPECT_EQ(TGdiCounter::Live(), before + 1) << "the first list was destroyed";
  }
  EXPECT_EQ(TGdiCounter::Live(), before);
}

} // namespace
