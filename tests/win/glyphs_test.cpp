// Toolbar button glyphs: where the picture of each state lands, how the disabled picture is generated or
// taken from the glyph, how buttons share the image lists, and that nothing is left behind.
#include "ArtPictures.h"
#include "Bitmap.h"
#include "BitmapCanvas.h"
#include "ControlTestKit.h"
#include "Exception.h"
#include "GdiCounter.h"
#include "ImageList.h"
#include "TB97ButtonGlyph.h"
#include "TB97GlyphCache.h"
#include "TB97GlyphList.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

using TDs = TButtonDrawState;

// One picture of the program with its pixels as a function: nullopt where the picture is transparent.
struct TGlyphArt {
  const wchar_t* Name;
  int Width, Height;
  std::function<std::optional<COLORREF>(int x, int y)> Pixel;
  // Pixels that the generated disabled picture embosses (new style: not white, silver or transparent).
  std::function<bool(int x, int y)> Dark;
};

const TGlyphArt AddArt{L"GLYPH_ADD", 16, 16,
                       [](int x, int y) -> std::optional<COLORREF> {
                         const char key = AddRows[static_cast<size_t>(y)][static_cast<size_t>(x)];
                         if (key == '.') return std::nullopt;
                         return AddColor(key);
                       },
                       [](int x, int y) {
                         const char key = AddRows[static_cast<size_t>(y)][static_cast<size_t>(x)];
                         return key != '.' && key != 'W' && key != 'S';
                       }};

bool PlayIsBlack(int x, int y) {
  const int rowWidth = 5 - std::abs(y - 5); // a triangle pointing right, rows 1..9
  return y >= 1 && y <= 9 && x >= 3 && x < 3 + rowWidth;
}
const TGlyphArt PlayArt{L"GLYPH_PLAY", 11, 11,
                        [](int x, int y) -> std::optional<COLORREF> {
                          if (PlayIsBlack(x, y)) return RGB(0, 0, 0);
                          return std::nullopt; // white, the bottom-left colour
                        },
                        PlayIsBlack};

bool StopIsBlack(int x, int y) { return x >= 2 && x < 10 && y >= 2 && y < 10; }
const TGlyphArt StopArt{L"GLYPH_STOP", 12, 13,
                        [](int x, int y) -> std::optional<COLORREF> {
                          if (StopIsBlack(x, y)) return RGB(0, 0, 0);
                          return std::nullopt;
                        },
                        StopIsBlack};

TBitmap Blank(int width, int height, TColor fill) {
  TBitmap bitmap;
  bitmap.SetBrushColor(fill);
  bitmap.SetSize(width, height);
  return bitmap;
}

// All pixels of a picture, read through one DC.
class TPixels {
public:
  explicit TPixels(const TBitmap& picture) : FWidth(picture.Width()) {
    TBitmapCanvas canvas(picture);
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) FPixels.push_back(GetPixel(canvas.Handle(), x, y));
  }
  COLORREF At(int x, int y) const { return FPixels[static_cast<size_t>(y * FWidth + x)]; }
  int Width() const { return FWidth; }
  int Height() const { return static_cast<int>(FPixels.size()) / FWidth; }

private:
  int FWidth;
  std::vector<COLORREF> FPixels;
};

// Every pixel of `picture` against `expected`; reports the first difference.
void ExpectPicture(const TBitmap& picture, const std::function<COLORREF(int, int)>& expected, const std::string& what) {
  const TPixels pixels(picture);
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x)
      if (pixels.At(x, y) != expected(x, y)) {
        ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << pixels.At(x, y) << ", expected "
                      << expected(x, y);
        return;
      }
}

COLORREF BackdropRGB() { return ColorToRGB(Backdrop); }

// The embossed look: `ink` pixels in the shadow colour, with the highlight one pixel right and down where the
// shadow does not cover it, the backdrop elsewhere.
COLORREF Embossed(const std::function<bool(int, int)>& ink, int x, int y) {
  if (ink(x, y)) return ColorToRGB(clBtnShadow);
  if (ink(x - 1, y - 1)) return ColorToRGB(clBtnHighlight);
  return BackdropRGB();
}

// A 23 x 22 flat button's client rectangle.
const TIntRect FlatClient{1, 1, 22, 21};

// What a 23 x 22 flat button without caption shows of its glyph in `state`.
TBitmap RenderButton(TButtonGlyph& glyph, TDs state, TIntPoint pressOffset = {}) {
  TBitmap picture = Blank(23, 22, Backdrop);
  TBitmapCanvas canvas(picture);
  glyph.DrawContent(canvas.Canvas(), FlatClient, pressOffset, true, false, "", false, TAlignment::taCenter,
                    TButtonLayout::blGlyphLeft, AutoMargin, 4, false, state);
  return picture;
}

// Each test starts and ends without any glyph list: the cache is process-wide.
class GlyphTest : public ::testing::Test {
protected:
  void TearDown() override { EXPECT_EQ(TGlyphCache::Instance(), nullptr) << "a glyph list outlived its buttons"; }
};

// ---------------------------------------------------------------------------------------------------------
// Placement and the normal picture

TEST_F(GlyphTest, TheProgramsGlyphsSitWhereAFlatButtonShowsThem) {
  struct TCase {
    const TGlyphArt& Art;
    TIntPoint At;
  };
  const TCase cases[] = {{AddArt, {4, 3}}, {PlayArt, {6, 6}}, {StopArt, {6, 5}}};
  for (const TCase& c : cases) {
    TButtonGlyph glyph;
    glyph.SetGlyph(Loaded(c.Art.Name));
    for (bool pressed : {false, true}) {
      const TIntPoint at{c.At.X + pressed, c.At.Y + pressed};
      const TIntPoint offset = pressed ? TIntPoint{1, 1} : TIntPoint{};
      const TDs state = pressed ? TDs::dsDown : TDs::dsUp;
      ExpectPicture(
          RenderButton(glyph, state, offset),
          [&](int x, int y) {
            const int gx = x - at.X, gy = y - at.Y;
            if (gx < 0 || gy < 0 || gx >= c.Art.Width || gy >= c.Art.Height) return BackdropRGB();
            return c.Art.Pixel(gx, gy).value_or(BackdropRGB());
          },
          Narrow(c.Art.Name) + (pressed ? " pressed" : ""));
    }
  }
}

TEST_F(GlyphTest, AGlyphMaskHidesItsSetBits) {
  TButtonGlyph glyph;
  glyph.SetGlyph(Loaded(L"GLYPH_ADD"));
  TBitmap mask;
  mask.SetMonochrome(true);
  mask.SetBrushColor(clBlack);
  mask.SetSize(16, 16);
  {
    TBitmapCanvas canvas(mask);
    canvas.Canvas().FillRect(Rect(0, 0, 8, 16), clWhite); // the left half transparent
  }
  glyph.SetGlyphMask(mask);
  TBitmap picture = Blank(16, 16, Backdrop);
  {
    TBitmapCanvas canvas(picture);
    glyph.DrawStateImage(canvas.Canvas(), TIntPoint{0, 0}, TDs::dsUp);
  }
  ExpectPicture(
      picture,
      [](int x, int y) {
        return x < 8 ? BackdropRGB() : AddColor(AddRows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
      },
      "masked glyph (its fuchsia shows: the mask decides)");
}

// ---------------------------------------------------------------------------------------------------------
// Disabled pictures

// New style: white, silver and the transparent colour vanish; every other pixel is embossed.
TEST_F(GlyphTest, TheGeneratedDisabledPictureEmbossesEveryDarkPixel) {
  struct TCase {
    const TGlyphArt& Art;
    TIntPoint At;
  };
  for (const TCase& c : {TCase{AddArt, {4, 3}}, TCase{PlayArt, {6, 6}}, TCase{StopArt, {6, 5}}}) {
    TButtonGlyph glyph;
    glyph.SetGlyph(Loaded(c.Art.Name));
    const auto dark = [&](int x, int y) {
      const int gx = x - c.At.X, gy = y - c.At.Y;
      return gx >= 0 && gy >= 0 && gx < c.Art.Width && gy < c.Art.Height && c.Art.Dark(gx, gy);
    };
    ExpectPicture(
        RenderButton(glyph, TDs::dsDisabled), [&](int x, int y) { return Embossed(dark, x, y); }, Narrow(c.Art.Name));
  }
}

// Old style: only the black pixels are embossed (grey and colours vanish as well).
TEST_F(GlyphTest, TheOldDisabledStyleEmbossesOnlyBlackPixels) {
  TButtonGlyph glyph;
  glyph.SetGlyph(Loaded(L"GLYPH_ADD"));
  glyph.SetOldDisabledStyle(true);
  glyph.DropImages();
  const auto black = [](int x, int y) {
    const int gx = x - 4, gy = y - 3;
    return gx >= 0 && gy >= 0 && gx < 16 && gy < 16 && AddRows[static_cast<size_t>(gy)][static_cast<size_t>(gx)] == 'K';
  };
  ExpectPicture(
      RenderButton(glyph, TDs::dsDisabled), [&](int x, int y) { return Embossed(black, x, y); }, "old style");

  // With a mask, masked pixels count as white: the masked left half is not embossed even where it is black.
  TBitmap mask;
  mask.SetMonochrome(true);
  mask.SetBrushColor(clBlack);
  mask.SetSize(16, 16);
  {
    TBitmapCanvas canvas(mask);
    canvas.Canvas().FillRect(Rect(0, 0, 8, 16), clWhite);
  }
  glyph.SetGlyphMask(mask);
  ExpectPicture(
      RenderButton(glyph, TDs::dsDisabled),
      [&](int x, int y) { return Embossed([&](int ix, int iy) { return ix - 4 >= 8 && black(ix, iy); }, x, y); },
      "old style with a mask");
}

// NumGlyphs 2..5: each state shows its own sub-image where the glyph has one (dsMouseIn only with five),
// otherwise the first; the disabled sub-image shows its white as highlight and its mid-grey as shadow.
TEST_F(GlyphTest, AGlyphWithSubImagesShowsEachStatesOwnPicture) {
  constexpr int Size = 8;
  const COLORREF fuchsia = RGB(255, 0, 255);
  const auto subColor = [](int k) { return RGB(20 + k * 40, 60, 220 - k * 30); };
  for (int n = 2; n <= TButtonGlyph::MaxNumGlyphs; ++n) {
    TBitmap art = Blank(n * Size, Size, clBlack);
    {
      TBitmapCanvas canvas(art);
      for (int k = 0; k < n; ++k)
        canvas.Canvas().FillRect(Bounds(k * Size, 0, Size, Size), static_cast<TColor>(subColor(k)));
      SetPixel(canvas.Handle(), 0, Size - 1, fuchsia); // the transparent colour
      SetPixel(canvas.Handle(), Size + 1, 1, RGB(255, 255, 255));
      SetPixel(canvas.Handle(), Size + 2, 2, RGB(128, 128, 128));
      SetPixel(canvas.Handle(), Size + 3, 3, fuchsia);
      SetPixel(canvas.Handle(), 2 * Size - 1, 0, fuchsia); // right column of the disabled picture
    }
    TButtonGlyph glyph;
    glyph.SetGlyph(art);
    ASSERT_EQ(glyph.NumGlyphs(), n) << "a glyph " << n << " heights wide";
    const TPixels source(art);
    for (TDs state : {TDs::dsUp, TDs::dsDisabled, TDs::dsDown, TDs::dsExclusive, TDs::dsMouseIn}) {
      const int index = StateIndex(state);
      const int sub = index < n ? index : 0;
      TBitmap picture = Blank(12, 12, Backdrop);
      {
        TBitmapCanvas canvas(picture);
        glyph.DrawStateImage(canvas.Canvas(), TIntPoint{2, 2}, state);
      }
      ExpectPicture(
          picture,
          [&](int x, int y) {
            const int gx = x - 2, gy = y - 2;
            if (gx < 0 || gy < 0 || gx >= Size || gy >= Size) return BackdropRGB(); // the extra row stays clear
            const COLORREF p = source.At(sub * Size + gx, gy);
            if (p == fuchsia) return BackdropRGB();
            if (state == TDs::dsDisabled && p == RGB(255, 255, 255)) return ColorToRGB(clBtnHighlight);
            if (state == TDs::dsDisabled && p == RGB(128, 128, 128)) return ColorToRGB(clBtnShadow);
            return p;
          },
          std::to_string(n) + " sub-images, state " + std::to_string(index));
    }
  }
}

// A glyph is as many sub-images wide as it is heights wide, one to five; any other shape is one picture.
TEST_F(GlyphTest, SubImagesAreCountedFromTheGlyphsShape) {
  struct TCase {
    int Width, Height, NumGlyphs;
  };
  const TCase cases[] = {{64, 16, 4}, {80, 16, 5}, {96, 16, 1}, {50, 16, 1}, {16, 16, 1}, {8, 16, 1}};
  for (const TCase& c : cases) {
    TButtonGlyph glyph;
    glyph.SetGlyph(Blank(c.Width, c.Height, clWhite));
    EXPECT_EQ(glyph.NumGlyphs(), c.NumGlyphs) << c.Width << " x " << c.Height;
  }
  TButtonGlyph glyph;
  glyph.SetGlyph(Blank(64, 16, clWhite));
  for (int n : {0, 9, -1}) {
    glyph.SetNumGlyphs(n);
    EXPECT_EQ(glyph.NumGlyphs(), 1) << "asked for " << n;
  }
}

// A disabled caption is embossed: drawn in the highlight colour one pixel right and down, then in the shadow
// colour in place. The text may be drawn smoothed (the font the session finds decides), so the picture is
// compared with that same text drawn twice by plain DrawText calls.
TEST_F(GlyphTest, ADisabledCaptionIsEmbossed) {
  TBitmap picture = Blank(73, 22, Backdrop);
  TIntRect caption;
  {
    TBitmapCanvas canvas(picture);
    TButtonGlyph glyph;
    caption =
        glyph.DrawContent(canvas.Canvas(), TIntRect{1, 1, 72, 21}, {}, true, true, "Encode", false,
                          TAlignment::taCenter, TButtonLayout::blGlyphLeft, AutoMargin, 4, false, TDs::dsDisabled);
  }
  const TFont font;
  const SIZE extent = TextExtent(font, "Encode");
  EXPECT_EQ(caption,
            TIntRect::FromBounds(1 + (71 - extent.cx + 1) / 2, 1 + (20 - extent.cy + 1) / 2, extent.cx, extent.cy))
      << "centred in the client rectangle";

  TBitmap reference = Blank(73, 22, Backdrop);
  {
    TBitmapCanvas canvas(reference);
    TSelectGuard select(canvas.Handle(), font.Handle());
    SetBkMode(canvas.Handle(), TRANSPARENT);
    struct TPass {
      int Offset;
      TColor Color;
    };
    for (const TPass& pass : {TPass{1, clBtnHighlight}, TPass{0, clBtnShadow}}) {
      RECT r{caption.Left + pass.Offset, caption.Top + pass.Offset, caption.Right + pass.Offset,
             caption.Bottom + pass.Offset};
      SetTextColor(canvas.Handle(), ColorToRGB(pass.Color));
      DrawTextW(canvas.Handle(), L"Encode", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  }
  const TPixels expected(reference);
  int ink = 0;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x) ink += expected.At(x, y) == ColorToRGB(clBtnShadow);
  ASSERT_GT(ink, 10) << "the reference shows the caption";
  ExpectPicture(
      picture, [&](int x, int y) { return expected.At(x, y); }, "Encode caption");
}

// The dropdown arrow: in the font colour, or embossed like the caption when disabled.
TEST_F(GlyphTest, ADisabledDropArrowIsEmbossed) {
  const auto render = [](TDs state) {
    TBitmap picture = Blank(20, 10, Backdrop);
    TBitmapCanvas canvas(picture);
    canvas.Canvas().Font().SetColor(clBlack);
    TButtonGlyph::DrawDropArrow(canvas.Canvas(), 5, 3, state);
    return picture;
  };
  const TPixels normal(render(TDs::dsUp));
  const auto inked = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < normal.Width() && y < normal.Height() && normal.At(x, y) == RGB(0, 0, 0);
  };
  int ink = 0;
  for (int y = 0; y < normal.Height(); ++y)
    for (int x = 0; x < normal.Width(); ++x) ink += inked(x, y);
  ASSERT_GE(ink, 5) << "the arrow drawn in the font colour";
  EXPECT_TRUE(inked(5 + 4, 3) && inked(5 + 8, 3) && inked(5 + 6, 3 + 2)) << "its corners";
  ExpectPicture(
      render(TDs::dsDisabled), [&](int x, int y) { return Embossed(inked, x, y); }, "dropdown arrow");
}

// ---------------------------------------------------------------------------------------------------------
// An outside image list

TEST_F(GlyphTest, AnImageListImageIsDrawnAndDisabledLikeAGlyph) {
  TImageList images(16, 16);
  const TBitmap add = Loaded(L"GLYPH_ADD");
  images.AddMasked(add, add.TransparentColor());
  TButtonGlyph glyph;
  glyph.SetNumGlyphs(3);
  glyph.SetImages(&images);
  EXPECT_EQ(glyph.NumGlyphs(), 1) << "an image list has one picture per image";
  int changes = 0;
  glyph.OnChange = [&] { ++changes; };
  glyph.SetImageIndex(0);
  EXPECT_EQ(changes, 1);

  const auto at = [](const TGlyphArt& art, int x, int y, auto f) {
    const int gx = x - 4, gy = y - 3;
    if (gx < 0 || gy < 0 || gx >= art.Width || gy >= art.Height) return BackdropRGB();
    return f(gx, gy);
  };
  ExpectPicture(
      RenderButton(glyph, TDs::dsUp),
      [&](int x, int y) {
        return at(AddArt, x, y, [](int gx, int gy) { return AddArt.Pixel(gx, gy).value_or(BackdropRGB()); });
      },
      "image list picture");
  const auto dark = [](int x, int y) { return x >= 4 && y >= 3 && x < 20 && y < 19 && AddArt.Dark(x - 4, y - 3); };
  ExpectPicture(
      RenderButton(glyph, TDs::dsDisabled), [&](int x, int y) { return Embossed(dark, x, y); },
      "image list picture disabled");
  glyph.SetOldDisabledStyle(true);
  glyph.DropImages();
  const auto black = [](int x, int y) {
    return x >= 4 && y >= 3 && x < 20 && y < 19 &&
           AddRows[static_cast<size_t>(y - 3)][static_cast<size_t>(x - 4)] == 'K';
  };
  ExpectPicture(
      RenderButton(glyph, TDs::dsDisabled), [&](int x, int y) { return Embossed(black, x, y); },
      "image list picture disabled, old style");

  // A change of the list drops the ready images; an index outside it draws nothing.
  ASSERT_NE(glyph.List(false), nullptr);
  images.AddMasked(add, add.TransparentColor());
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(glyph.List(false), nullptr);
  glyph.SetImageIndex(5);
  ExpectPicture(
      RenderButton(glyph, TDs::dsUp), [](int, int) { return BackdropRGB(); }, "index outside the list");
  glyph.SetImages(nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// Shared lists, slots and resources

TEST_F(GlyphTest, ButtonsWithGlyphsOfOneSizeShareTheirLists) {
  const long before = TGdiCounter::Live();
  {
    TButtonGlyph clear, add, play;
    clear.SetGlyph(Loaded(L"GLYPH_CLEAR"));
    add.SetGlyph(Loaded(L"GLYPH_ADD"));
    play.SetGlyph(Loaded(L"GLYPH_PLAY"));
    for (TButtonGlyph* glyph : {&clear, &add, &play}) {
      RenderButton(*glyph, TDs::dsUp);
      RenderButton(*glyph, TDs::dsDisabled);
    }
    ASSERT_NE(clear.List(true), nullptr);
    EXPECT_EQ(clear.List(true), add.List(true));
    EXPECT_EQ(clear.List(false), add.List(false));
    EXPECT_EQ(clear.List(true)->Width(), 16);
    EXPECT_EQ(clear.List(true)->Height(), 16);
    EXPECT_EQ(clear.List(false)->Width(), 17);
    EXPECT_EQ(clear.List(false)->Height(), 17);
    EXPECT_EQ(clear.List(true)->Count(), 2);
    EXPECT_NE(play.List(true), clear.List(true));
    EXPECT_EQ(TGlyphCache::Instance()->ListCount(), 4);
    EXPECT_TRUE(clear.Glyph().IsDormant()) << "the source sleeps once its images are built";
  }
  EXPECT_EQ(TGdiCounter::Live(), before);
}

TEST_F(GlyphTest, FreedSlotsAreReusedBeforeTheListGrows) {
  auto first = std::make_unique<TButtonGlyph>();
  TButtonGlyph second, third;
  for (TButtonGlyph* glyph : {first.get(), &second, &third}) glyph->SetGlyph(Loaded(L"GLYPH_ADD"));
  EXPECT_EQ(first->EnsureStateImage(TDs::dsUp).Slot, 0);
  EXPECT_EQ(second.EnsureStateImage(TDs::dsUp).Slot, 1);
  TGlyphList* list = second.List(true);
  first.reset();
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(list->ImageCount(), 2);
  const TGlyphSlot reused = third.EnsureStateImage(TDs::dsUp);
  EXPECT_TRUE(reused.Normal);
  EXPECT_EQ(reused.Slot, 0);
  EXPECT_EQ(list->ImageCount(), 2) << "the list grew although a slot was free";
  ExpectPicture(
      RenderButton(third, TDs::dsUp),
      [](int x, int y) {
        if (x < 4 || y < 3 || x >= 20 || y >= 19) return BackdropRGB();
        return AddArt.Pixel(x - 4, y - 3).value_or(BackdropRGB());
      },
      "the reused slot shows the new picture");
}

TEST_F(GlyphTest, RefusedReplacementsLeaveNothingBehind) {
  TGlyphList list(16, 16);
  const TBitmap add = Loaded(L"GLYPH_ADD");
  const int slot = list.AddMaskedImage(add, add.TransparentColor());
  struct TCase {
    const char* Name;
    TBitmap Image;
    int Slot;
    std::string Message;
  };
  const TCase cases[] = {
      {"image smaller than the list's", Loaded(L"GLYPH_PLAY"), slot, "Invalid image size"},
      {"slot beyond the list", add, 7, "Unable to Replace Image"},
      {"slot before the list", add, -1, "Unable to Replace Image"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const long before = TGdiCounter::Live();
    try {
      list.ReplaceMaskedImage(c.Slot, c.Image, clWhite);
      ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_EQ(list.ImageCount(), 1);
    EXPECT_EQ(TGdiCounter::Live(), before);
  }
  // A slot that could not be filled is free again.
  EXPECT_THROW(list.AddMaskedImage(Loaded(L"GLYPH_PLAY"), clWhite), EInvalidOperation);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_FALSE(list.SlotUsed(1));
}

// Building, drawing and dropping every state many times, and rebuilding after a change of the system
// colours (which the rebuilt picture shows), leaves the live GDI object count where it was.
TEST_F(GlyphTest, NoGdiObjectLeaksOverManyCyclesAndAColourChange) {
  const TBitmap add = Loaded(L"GLYPH_ADD"), play = Loaded(L"GLYPH_PLAY");
  const long before = TGdiCounter::Live();
  {
    TButtonGlyph a, b;
    a.SetGlyph(add);
    b.SetGlyph(play);
    TBitmap picture = Blank(23, 22, Backdrop);
    TBitmapCanvas canvas(picture);
    constexpr int Cycles = 10000;
    for (int i = 0; i < Cycles; ++i) {
      TButtonGlyph& glyph = i % 2 ? a : b;
      const TDs state = static_cast<TDs>(i % ButtonDrawStateCount);
      glyph.DrawContent(canvas.Canvas(), FlatClient, {}, true, true, "Add", false, TAlignment::taCenter,
                        TButtonLayout::blGlyphLeft, AutoMargin, 4, i % 3 == 0, state);
      if (i % 7 == 0) glyph.DropImages();
    }
    a.DropImages();
    b.DropImages();
  }
  EXPECT_EQ(TGdiCounter::Live(), before) << "after the cycles";

  const int elements[] = {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
  const COLORREF saved[] = {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT)};
  {
    TButtonGlyph glyph;
    glyph.SetGlyph(play);
    RenderButton(glyph, TDs::dsDisabled);
    const COLORREF changed[] = {RGB(90, 10, 10), RGB(250, 240, 100)};
    ASSERT_TRUE(SetSysColors(2, elements, changed));
    glyph.DropImages(); // what the button does on a system colour change
    ExpectPicture(
        RenderButton(glyph, TDs::dsDisabled),
        [](int x, int y) { return Embossed([](int ix, int iy) { return PlayIsBlack(ix - 6, iy - 6); }, x, y); },
        "rebuilt in the new colours");
    SetSysColors(2, elements, saved);
    glyph.DropImages();
    RenderButton(glyph, TDs::dsDisabled);
  }
  EXPECT_EQ(TGdiCounter::Live(), before) << "after the colour change";
}

} // namespace
