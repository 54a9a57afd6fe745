// Pictures, image lists and pages on real windows: what they draw, how sheets fill their page control, and no
// GDI object left behind by a form holding every standard control.
#include "Bitmap.h"
#include "Button.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "ControlTestKit.h"
#include "Exception.h"
#include "Form.h"
#include "GroupBox.h"
#include "Image.h"
#include "ImageList.h"
#include "Label.h"
#include "PageControl.h"
#include "TabSheet.h"
#include "Unicode.h"
#include <algorithm>
#include <commctrl.h>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

// TBitmap, TImage, TImageList (pictures from the program's own resources, linked into this test)

TEST(Bitmap, LoadsResourcesKeepingTheirKind) {
  struct Case {
    const wchar_t* Name;
    int Width, Height;
    bool Monochrome;
    TColor Transparent;
  };
  const Case cases[] = {
      {L"GLYPH_ADD", 16, 16, false, 0xFF00FF}, // 16 colours, magenta background
      {L"GLYPH_PLAY", 11, 11, true, clWhite},  // two colours
      {L"GLYPH_STOP", 12, 13, true, clWhite},
      {L"BANNER", 362, 56, false, 0x4AB0E2}, // true colour
  };
  for (const Case& c : cases) {
    TBitmap bitmap;
    bitmap.LoadFromResourceName(c.Name);
    const std::string name = Narrow(c.Name);
    EXPECT_EQ(bitmap.Width(), c.Width) << name;
    EXPECT_EQ(bitmap.Height(), c.Height) << name;
    EXPECT_FALSE(bitmap.Empty()) << name;
    EXPECT_EQ(bitmap.Monochrome(), c.Monochrome) << name;
    EXPECT_EQ(bitmap.TransparentColor(), c.Transparent) << name;
    BITMAP info{};
    GetObjectW(bitmap.Handle(), sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel == 1, c.Monochrome) << name;
    DIBSECTION section{};
    const bool isSection = GetObjectW(bitmap.Handle(), sizeof(section), &section) == sizeof(section);
    EXPECT_EQ(isSection, !c.Monochrome) << name << ": colour pictures keep their own pixels as DIB sections";
  }
}

TEST(Bitmap, AMissingResourceFailsAndKeepsThePicture) {
  TBitmap bitmap;
  bitmap.LoadFromResourceName(L"GLYPH_PLAY");
  EXPECT_THROW(bitmap.LoadFromResourceName(L"NO_SUCH_PICTURE"), Exception);
  EXPECT_EQ(bitmap.Width(), 11);
  EXPECT_NE(bitmap.Handle(), nullptr);
}

TEST(Bitmap, APictureMovesWithoutItsOwnersListener) {
  int sourceChanges = 0;
  TBitmap source;
  source.LoadFromResourceName(L"GLYPH_PLAY");
  const TChangeLink link = source.Subscribe([&] { ++sourceChanges; });

  TBitmap moved(std::move(source));
  EXPECT_EQ(moved.Width(), 11);
  EXPECT_TRUE(source.Empty());
  EXPECT_EQ(source.Handle(), nullptr);
  EXPECT_EQ(sourceChanges, 1) << "the source lost its picture";
  moved.LoadFromResourceName(L"GLYPH_STOP");
  EXPECT_EQ(sourceChanges, 1) << "the listener travelled with the picture";
}

class ImageTest : public FormTest {};

TEST_F(ImageTest, DrawsThePictureAtTheTopLeftOrCentred) {
  // Banner pixels: (0, 0) is (16, 38, 74), (361, 0) is (13, 95, 102).
  const COLORREF topLeft = RGB(16, 38, 74), topRight = RGB(13, 95, 102);
  for (bool center : {false, true}) {
    auto* image = Place<TImage>(FForm, FForm, 20, 16, 369, 57);
    image->SetCenter(center);
    image->Picture().LoadFromResourceName(L"BANNER");
    const POINT at = center ? POINT{20 + (369 - 362) / 2, 16 + (57 - 56) / 2} : POINT{20, 16};
    const TRendering picture(*FForm);
    EXPECT_EQ(picture.At(at), topLeft) << "centred " << center;
    EXPECT_EQ(picture.At(at.x + 361, at.y), topRight) << "centred " << center;
    if (center) {
      EXPECT_EQ(picture.At(20, 16), ColorToRGB(Backdrop)) << "the margin of a centred picture";
    }
    delete image;
  }
}

TEST_F(ImageTest, DrawsAMonochromePictureInBlackAndWhite) {
  auto* image = Place<TImage>(FForm, FForm, 10, 10, 11, 11);
  image->Picture().LoadFromResourceName(L"GLYPH_PLAY");
  const TRendering picture(*FForm, Ink);
  EXPECT_EQ(picture.At(10 + 3, 10 + 1), ColorToRGB(clBlack));
  EXPECT_EQ(picture.At(10 + 0, 10 + 0), ColorToRGB(clWhite));
}

TEST(ImageList, AddsMaskedPicturesAndDrawsThemOverTheBackground) {
  TImageList list(16, 16);
  TBitmap add, play;
  add.LoadFromResourceName(L"GLYPH_ADD");
  play.LoadFromResourceName(L"GLYPH_PLAY");
  EXPECT_EQ(list.AddMasked(add, add.TransparentColor()), 0);
  EXPECT_EQ(list.AddMasked(add, add.TransparentColor()), 1) << "the picture was spoilt by the first add";
  EXPECT_EQ(list.ImageCount(), 2);

  // A wide picture gives one image per list width; its masked pixels are left as they were.
  TBitmap banner;
  banner.LoadFromResourceName(L"BANNER");
  EXPECT_EQ(list.AddMasked(banner, banner.TransparentColor()), 2);
  EXPECT_EQ(list.ImageCount(), 2 + 362 / 16);
  EXPECT_EQ(banner.TransparentColor(), 0x4AB0E2) << "adding changed the caller's picture";

  TWindowDC screen(nullptr);
  TMemoryDC dc(screen.Get());
  TBitmapHandle target(CreateCompatibleBitmap(screen.Get(), 16, 16));
  TSelectGuard select(dc.Get(), target.Get());
  struct Probe {
    int X, Y;
    COLORREF Expected;
  };
  const Probe probes[] = {{0, 0, ColorToRGB(Backdrop)}, {1, 0, RGB(0, 0, 0)}, {2, 1, RGB(255, 255, 255)}};
  TCanvas(dc.Get()).FillRect(Rect(0, 0, 16, 16), Backdrop);
  list.Draw(dc.Get(), 0, 0, 1);
  for (const Probe& p : probes) EXPECT_EQ(GetPixel(dc.Get(), p.X, p.Y), p.Expected) << p.X << "," << p.Y;

  TImageList small(11, 11);
  EXPECT_EQ(small.AddMasked(play, play.TransparentColor()), 0);
  TCanvas(dc.Get()).FillRect(Rect(0, 0, 16, 16), Backdrop);
  small.Draw(dc.Get(), 0, 0, 0);
  EXPECT_EQ(GetPixel(dc.Get(), 3, 1), RGB(0, 0, 0)) << "monochrome picture";
  EXPECT_EQ(GetPixel(dc.Get(), 0, 0), ColorToRGB(Backdrop)) << "monochrome picture's white is masked";
}

TEST(ImageList, RefusesUseBeforeCreationAndEmptyPictures) {
  TImageList list;
  TBitmap add;
  add.LoadFromResourceName(L"GLYPH_ADD");
  EXPECT_THROW(list.AddMasked(add, clWhite), EInvalidOperation);
  list.Create(16, 16);
  EXPECT_THROW(list.AddMasked(TBitmap(), clWhite), EInvalidOperation);
  EXPECT_EQ(list.ImageCount(), 0);
}

// ---------------------------------------------------------------------------------------------------------
// TPageControl and TTabSheet

class PageControlTest : public FormTest {
protected:
  static constexpr const char* Captions[] = {"Files to encode", "Settings", "About"};

  void AddSheets() {
    for (const char* caption : Captions) {
      auto* sheet = new TTabSheet(FForm);
      sheet->SetCaption(caption);
      sheet->SetPageControl(FPages);
      FSheets.push_back(sheet);
    }
  }
  void PlacePageControl() {
    FPages = Place<TPageControl>(FForm, FForm, 0, 0, 400, 300);
    FPages->OnChange = [this](TComponent*) { ++FChanges; };
  }
  HWND Tabs() { return FPages->Handle(); }
  // The display area as the tab control itself reports it.
  RECT SystemDisplayRect() {
    RECT r = ClientRectOf(Tabs());
    SendMessageW(Tabs(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  std::string TabText(int index) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(Tabs(), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return Narrow(text);
  }
  // Only `index` shows, every sheet covers the display area, and the selected tab is `index`.
  void ExpectShowing(int index, const std::string& when) {
    const RECT display = SystemDisplayRect();
    EXPECT_EQ(FPages->ActivePageIndex(), index) << when;
    EXPECT_EQ(FPages->ActivePage(), FSheets[static_cast<size_t>(index)]) << when;
    EXPECT_EQ(SendMessageW(Tabs(), TCM_GETCURSEL, 0, 0), index) << when;
    for (size_t i = 0; i < FSheets.size(); ++i) {
      EXPECT_EQ(IsWindowVisible(FSheets[i]->Handle()) != FALSE, static_cast<int>(i) == index)
          << when << ", sheet " << i;
      EXPECT_EQ(FSheets[i]->BoundsRect(), display) << when << ", sheet " << i;
      RECT placed{};
      GetWindowRect(FSheets[i]->Handle(), &placed);
      MapWindowPoints(nullptr, Tabs(), reinterpret_cast<POINT*>(&placed), 2);
      EXPECT_EQ(placed, display) << when << ", sheet " << i << " window";
    }
  }

  TPageControl* FPages = nullptr;
  std::vector<TTabSheet*> FSheets;
  int FChanges = 0;
};

TEST_F(PageControlTest, SheetsFillTheDisplayAreaWhicheverIsMadeFirst) {
  struct Order {
    const char* Name;
    std::function<void()> Build;
  };
  const Order orders[] = {
      {"sheets before any window",
       [this] {
         PlacePageControl();
         AddSheets();
         ShowForm();
       }},
      {"sheets added to a shown page control",
       [this] {
         ShowForm();
         PlacePageControl();
         AddSheets();
       }},
  };
  for (const Order& order : orders) {
    FSheets.clear();
    order.Build();
    ASSERT_EQ(FPages->PageCount(), 3) << order.Name;
    ASSERT_EQ(SendMessageW(Tabs(), TCM_GETITEMCOUNT, 0, 0), 3) << order.Name;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(FPages->Pages(i), FSheets[static_cast<size_t>(i)]) << order.Name;
      EXPECT_EQ(FSheets[static_cast<size_t>(i)]->PageIndex(), i) << order.Name;
      EXPECT_EQ(TabText(i), Captions[i]) << order.Name;
    }
    RECT firstTab{};
    SendMessageW(Tabs(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&firstTab));
    EXPECT_GE(SystemDisplayRect().top, firstTab.bottom) << order.Name << ": sheets would cover the tabs";
    ExpectShowing(0, order.Name);

    FPages->SetBounds(0, 0, 350, 250);
    ExpectShowing(0, std::string(order.Name) + ", resized");
    delete FPages;
  }
}

TEST_F(PageControlTest, PagesAreTheSizeTheLayoutWasMadeFor) {
  // 481 x 313 in the standard font: a 473 x 285 page below tabs of the system's usual height.
  FPages = Place<TPageControl>(FForm, FForm, 0, 0, 481, 313);
  AddSheets();
  ShowForm();
  EXPECT_EQ(FPages->DisplayRect(), Bounds(4, 24, 473, 285));
  EXPECT_EQ(FSheets[0]->BoundsRect(), Bounds(4, 24, 473, 285));

  FPages->Font().SetHeight(-16);
  EXPECT_GT(FSheets[0]->Top(), 24) << "taller text makes taller tabs";
  EXPECT_EQ(FSheets[0]->BoundsRect(), SystemDisplayRect());
}

TEST_F(PageControlTest, TheUsersTabChoiceShowsItsSheetAndFiresOnChange) {
  PlacePageControl();
  AddSheets();
  ShowForm();
  RECT third{};
  SendMessageW(Tabs(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
  ClickAt(Tabs(), Center(third));
  ExpectShowing(2, "click on the third tab");
  EXPECT_EQ(FChanges, 1);

  // What the tab control reports after a keyboard change.
  SendMessageW(Tabs(), TCM_SETCURSEL, 1, 0);
  NMHDR notify{Tabs(), static_cast<UINT_PTR>(GetDlgCtrlID(Tabs())), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(FForm->Handle(), WM_NOTIFY, notify.idFrom, reinterpret_cast<LPARAM>(&notify));
  ExpectShowing(1, "selection change notified");
  EXPECT_EQ(FChanges, 2);
}

TEST_F(PageControlTest, CodeChoosesPagesByIndexOrSheetWithoutOnChange) {
  PlacePageControl();
  AddSheets();
  ShowForm();
  FPages->SetActivePageIndex(2);
  ExpectShowing(2, "SetActivePageIndex(2)");
  FPages->SetActivePage(FSheets[1]);
  ExpectShowing(1, "SetActivePage(second)");
  EXPECT_EQ(FChanges, 0);

  FPages->SetActivePageIndex(7);
  EXPECT_EQ(FPages->ActivePage(), nullptr);
  for (TTabSheet* sheet : FSheets) EXPECT_FALSE(IsWindowVisible(sheet->Handle()));

  auto* stranger = new TTabSheet(FForm);
  EXPECT_THROW(FPages->SetActivePage(stranger), EInvalidOperation);
}

TEST_F(PageControlTest, TabsFollowCaptionsAndRemovedSheets) {
  PlacePageControl();
  AddSheets();
  ShowForm();
  FSheets[1]->SetCaption("Options");
  EXPECT_EQ(TabText(1), "Options");

  FPages->SetActivePageIndex(1);
  delete FSheets[1];
  FSheets.erase(FSheets.begin() + 1);
  ASSERT_EQ(SendMessageW(Tabs(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(TabText(1), "About");
  ExpectShowing(1, "after deleting the active sheet");

  FSheets[1]->SetPageControl(nullptr);
  EXPECT_EQ(FPages->PageCount(), 1);
  EXPECT_EQ(FSheets[1]->Parent(), nullptr);
  FSheets.pop_back();
  ExpectShowing(0, "after taking the active sheet off");
}

// ---------------------------------------------------------------------------------------------------------
// Resources

TEST(ControlResources, AFormWithEveryControlLeavesNoGdiObjectBehind) {
  const long before = TGdiCounter::Live();
  {
    auto* form = new TForm(Application);
    form->SetClientSize(FormWidth, FormHeight);
    auto* pages = Place<TPageControl>(form, form, 0, 0, 400, 300);
    auto* settings = new TTabSheet(form);
    settings->SetPageControl(pages);
    auto* about = new TTabSheet(form);
    about->SetPageControl(pages);
    auto* group = Place<TGroupBox>(form, settings, 8, 8, 380, 57);
    group->SetCaption("Bitrate");
    Place<TLabel>(form, group, 8, 24, 0, 0)->SetCaption("The current bitrate is:");
    Place<TComboBox>(form, group, 120, 24, 121, 21)->SetItems({"32000", "64000"});
    Place<TButton>(form, group, 300, 16, 70, 33)->SetCaption("Rese&t");
    Place<TCheckBox>(form, settings, 8, 80, 200, 17)->SetChecked(true);
    Place<TImage>(form, about, 10, 10, 369, 57)->Picture().LoadFromResourceName(L"BANNER");
    auto* link = Place<TLabel>(form, about, 10, 80, 0, 0);
    link->Font().SetStyle(fsUnderline);
    link->SetCaption("http://www.example.com/");
    link->SetEnabled(false);
    form->Show();
    for (int i = 0; i < 2; ++i) {
      pages->SetActivePageIndex(i);
      UpdateWindow(form->Handle());
      PumpMessages();
    }
    { const TRendering rendering(*group); }
    TImageList list(16, 16);
    TBitmap glyph;
    glyph.LoadFromResourceName(L"GLYPH_ADD");
    list.AddMasked(glyph, glyph.TransparentColor());
    delete form;
  }
  PumpMessages();
  EXPECT_EQ(TGdiCounter::Live(), before);
}

} // namespace
