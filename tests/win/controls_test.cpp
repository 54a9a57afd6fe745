// The framework's text and button controls on real windows: sizes, painted pixels, clicks routed to windowless
// controls, keyboard reach, and state kept across window creation.
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

class LabelTest : public FormTest {};

TEST_F(LabelTest, AutoSizeFitsTheDisplayedText) {
  struct Case {
    const char* Caption;
    bool ShowAccelChar;
    const char* Displayed; // what the label must be as wide as
  };
  const Case cases[] = {
      {"File location:", true, "File location:"},
      {"C&hange", true, "Change"}, // the prefix takes no room
      {"Fish && Chips", true, "Fish & Chips"},
      {"C&hange", false, "C&hange"}, // shown as it is
      {"", true, " "},               // an empty label keeps a line's height
  };
  for (const Case& c : cases) {
    auto* label = Place<TLabel>(FForm, FForm, 10, 10, 0, 0);
    label->SetShowAccelChar(c.ShowAccelChar);
    label->SetCaption("a caption before");
    label->SetCaption(c.Caption);
    const SIZE expected = TextExtent(label->Font(), c.Displayed);
    EXPECT_EQ(label->Width(), expected.cx) << c.Caption;
    EXPECT_EQ(label->Height(), expected.cy) << c.Caption;
    EXPECT_EQ(label->Left(), 10) << c.Caption;
    delete label;
  }
}

TEST_F(LabelTest, AutoSizeFollowsFontChangesOfItsOwnAndOfItsParent) {
  auto* label = Place<TLabel>(FForm, FForm, 10, 10, 0, 0);
  label->SetCaption("QuillStack v3");
  const SIZE plain{label->Width(), label->Height()};

  label->Font().SetHeight(-13);
  label->Font().SetStyle(fsBold);
  EXPECT_EQ(label->Width(), TextExtent(label->Font(), "QuillStack v3").cx);
  EXPECT_GT(label->Width(), plain.cx);
  EXPECT_GT(label->Height(), plain.cy);

  auto* follower = Place<TLabel>(FForm, FForm, 10, 40, 0, 0);
  follower->SetCaption("QuillStack v3");
  FForm->Font().SetHeight(-16);
  EXPECT_EQ(follower->Height(), TextExtent(FForm->Font(), "QuillStack v3").cy);
  EXPECT_GT(follower->Height(), plain.cy);
}

TEST_F(LabelTest, KeepsTheBoundsItWasGivenWhenNotSizingItself) {
  auto* fixed = Place<TLabel>(FForm, FForm, 80, 24, 289, 17);
  fixed->SetAutoSize(false);
  fixed->SetCaption("Unknown");
  fixed->Font().SetStyle(fsBold);
  EXPECT_EQ(fixed->BoundsRect(), Bounds(80, 24, 289, 17));

  // Setting a property to the value it has must not re-fit a label whose bounds were set by hand.
  auto* sized = Place<TLabel>(FForm, FForm, 10, 10, 0, 0);
  sized->SetCaption("Email:");
  sized->SetBounds(10, 10, 200, 30);
  sized->SetAutoSize(true);
  sized->SetWordWrap(false);
  sized->SetShowAccelChar(true);
  sized->SetCaption("Email:");
  EXPECT_EQ(sized->BoundsRect(), Bounds(10, 10, 200, 30));
}

TEST_F(LabelTest, WordWrapKeepsTheWidthAndGrowsTheHeight) {
  auto* label = Place<TLabel>(FForm, FForm, 32, 144, 150, 0);
  label->SetWordWrap(true);
  label->SetCaption("This has been written as a quick and easy way to organise multiple files.");
  const int line = TextExtent(label->Font(), "T").cy;
  EXPECT_EQ(label->Width(), 150);
  EXPECT_GE(label->Height(), 3 * line);
  EXPECT_EQ(label->Height() % line, 0);
}

TEST_F(LabelTest, PaintsItsTextInTheFontColourAndOnlyBehindItWhenOpaque) {
  struct Case {
    const char* Name;
    bool Transparent;
    bool Enabled;
    int InkPixels;    // > 0: some; 0: none
    TColor Behind;    // at the label's bottom-right corner, clear of the glyphs
    int ShadowPixels; // > 0: some; 0: none
  };
  const Case cases[] = {
      {"transparent", true, true, 1, Backdrop, 0},
      {"opaque", false, true, 1, clWhite, 0},
      {"disabled", true, false, 0, Backdrop, 1},
  };
  for (const Case& c : cases) {
    auto* label = Place<TLabel>(FForm, FForm, 20, 20, 0, 0);
    label->SetCaption("Webpage: MMM");
    label->Font().SetColor(Ink);
    label->SetColor(clWhite);
    label->SetTransparent(c.Transparent);
    label->SetEnabled(c.Enabled);
    const RECT r = label->BoundsRect();
    TRendering picture(*FForm);
    EXPECT_EQ(picture.Count(r, Ink) > 0, c.InkPixels > 0) << c.Name;
    EXPECT_EQ(picture.Count(r, clBtnShadow) > 0, c.ShadowPixels > 0) << c.Name;
    EXPECT_EQ(picture.At(r.right - 1, r.bottom - 1), ColorToRGB(c.Behind)) << c.Name;
    EXPECT_EQ(picture.At(r.right + 1, r.top), ColorToRGB(Backdrop)) << c.Name << ": painted outside its bounds";
    delete label;
  }
}

TEST_F(LabelTest, UnderlinesTheAcceleratorAndTheWholeTextForAnUnderlinedFont) {
  // The ink on each row of the label's rectangle.
  auto inkRows = [&](const char* caption, unsigned style) {
    auto* label = Place<TLabel>(FForm, FForm, 20, 20, 0, 0);
    label->Font().SetColor(Ink);
    label->Font().SetStyle(style);
    label->SetCaption(caption);
    const RECT r = label->BoundsRect();
    const TRendering picture(*FForm);
    std::vector<int> rows;
    for (int y = r.top; y < r.bottom; ++y) rows.push_back(picture.Count(Rect(r.left, y, r.right, y + 1), Ink));
    delete label;
    return rows;
  };
  const std::vector<int> plain = inkRows("HHHH", 0);
  const std::vector<int> accel = inkRows("&HHHH", 0);
  const std::vector<int> underlined = inkRows("HHHH", fsUnderline);
  ASSERT_EQ(accel.size(), plain.size());
  const int letter = TextExtent(FForm->Font(), "H").cx, text = TextExtent(FForm->Font(), "HHHH").cx;

  int extraRows = 0;
  for (size_t y = 0; y < plain.size(); ++y) {
    if (accel[y] == plain[y]) continue;
    ++extraRows;
    EXPECT_EQ(plain[y], 0) << "row " << y << ": the accelerator's line crosses the letters";
    EXPECT_LE(accel[y], letter) << "row " << y << ": more than the first letter is underlined";
  }
  EXPECT_EQ(extraRows, 1) << "the accelerator is underlined by one line";
  EXPECT_GE(*std::max_element(underlined.begin(), underlined.end()), text - 1)
      << "an underlined font underlines the whole text";
}

// ---------------------------------------------------------------------------------------------------------
// Windowless controls inside windowed containers: clicks and the pointer shape.

class WindowlessRoutingTest : public FormTest {
protected:
  // A container as the settings and About pages use them.
  struct Container {
    const char* Name;
    std::function<TWinControl*(TForm*)> Make;
  };
  static std::vector<Container> Containers() {
    return {
        {"group box", [](TForm* form) { return Place<TGroupBox>(form, form, 8, 8, 300, 120); }},
        {"tab sheet",
         [](TForm* form) -> TWinControl* {
           auto* pages = Place<TPageControl>(form, form, 0, 0, 360, 240);
           auto* sheet = new TTabSheet(form);
           sheet->SetCaption("About");
           sheet->SetPageControl(pages);
           return sheet;
         }},
    };
  }
  // The container's control that sits on the form.
  TControl* TopOf(TWinControl* container) { return container->Parent() == FForm ? container : container->Parent(); }
};

TEST_F(WindowlessRoutingTest, AClickOnALabelFiresItsOnClickAndNothingElseDoes) {
  for (const Container& c : Containers()) {
    TWinControl* parent = c.Make(FForm);
    auto* label = Place<TLabel>(FForm, parent, 40, 50, 0, 0);
    label->SetCaption("Click to visit");
    int clicks = 0;
    label->OnClick = [&](TComponent* sender) {
      EXPECT_EQ(sender, label);
      ++clicks;
    };
    ShowForm();
    HWND wnd = parent->Handle();
    const POINT on = Center(label->BoundsRect());
    const POINT off{label->Left() + label->Width() + 20, on.y};

    ClickAt(wnd, on);
    EXPECT_EQ(clicks, 1) << c.Name << ": click on the label";
    ClickAt(wnd, off);
    EXPECT_EQ(clicks, 1) << c.Name << ": click beside the label";
    ClickAt(wnd, on, off);
    EXPECT_EQ(clicks, 1) << c.Name << ": pressed on the label, released beside it";
    EXPECT_NE(GetCapture(), wnd) << c.Name << ": the capture outlived the click";
    label->SetEnabled(false);
    ClickAt(wnd, on);
    EXPECT_EQ(clicks, 1) << c.Name << ": click on a disabled label";
    delete TopOf(parent);
  }
}

TEST_F(WindowlessRoutingTest, ThePointerOverALabelTakesTheLabelsCursor) {
  for (const Container& c : Containers()) {
    TWinControl* parent = c.Make(FForm);
    auto* label = Place<TLabel>(FForm, parent, 40, 50, 0, 0);
    label->SetCaption("quillstack@example.com");
    label->SetCursor(IDC_CROSS);
    ShowForm();
    HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);

    const POINT on = label->ClientToScreen(POINT{label->Width() / 2, label->Height() / 2});
    SetCursorPos(on.x, on.y);
    EXPECT_TRUE(PumpUntil([&] { return GetCursor() == cross; }, 2000)) << c.Name;
    const POINT off = parent->ClientToScreen(POINT{label->Left() + label->Width() + 20, label->Top()});
    SetCursorPos(off.x, off.y);
    EXPECT_TRUE(PumpUntil([&] { return GetCursor() == arrow; }, 2000)) << c.Name;
    delete TopOf(parent);
  }
}

// ---------------------------------------------------------------------------------------------------------
// TButton and TCheckBox

class ButtonTest : public FormTest {};

TEST_F(ButtonTest, AClickRunsOnClickOnceWhateverDeliversIt) {
  auto* group = Place<TGroupBox>(FForm, FForm, 8, 8, 400, 60);
  auto* button = Place<TButton>(FForm, group, 260, 16, 97, 33);
  button->SetCaption("C&hange");
  int clicks = 0;
  button->OnClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, button);
    ++clicks;
  };
  ShowForm();
  EXPECT_EQ(WindowText(button->Handle()), "C&hange");

  ClickAt(button->Handle(), POINT{10, 10});
  EXPECT_EQ(clicks, 1) << "mouse";
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_EQ(clicks, 2) << "BM_CLICK";
  ClickAt(button->Handle(), POINT{10, 10}, POINT{200, 10});
  EXPECT_EQ(clicks, 2) << "released outside the button";
}

TEST_F(ButtonTest, KeyboardReachesItInsidePagesAndGroups) {
  auto* pages = Place<TPageControl>(FForm, FForm, 0, 0, 400, 300);
  auto* sheet = new TTabSheet(FForm);
  sheet->SetCaption("Settings");
  sheet->SetPageControl(pages);
  auto* group = Place<TGroupBox>(FForm, sheet, 8, 8, 380, 57);
  auto* button = Place<TButton>(FForm, group, 270, 16, 97, 33);
  button->SetCaption("C&hange");
  int clicks = 0;
  button->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();
  pages->SetFocus();

  constexpr LPARAM AltDown = 1 << 29;
  PostMessageW(GetFocus(), WM_SYSCHAR, 'h', AltDown);
  PumpMessages();
  EXPECT_EQ(clicks, 1) << "Alt+H";

  pages->SetFocus();
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
  PumpMessages();
  EXPECT_EQ(GetFocus(), button->Handle()) << "the Tab key does not reach the page's controls";

  auto* other = new TTabSheet(FForm);
  other->SetPageControl(pages);
  pages->SetActivePage(other);
  pages->SetFocus();
  PostMessageW(GetFocus(), WM_SYSCHAR, 'h', AltDown);
  PumpMessages();
  EXPECT_EQ(clicks, 1) << "the button is on a hidden page";
}

class CheckBoxTest : public FormTest {};

TEST_F(CheckBoxTest, KeepsItsStateBeforeDuringAndAfterItsWindow) {
  auto* box = Place<TCheckBox>(FForm, FForm, 8, 24, 300, 17);
  box->SetCaption("Power down Windows 95/98 after encoding has finished");
  int clicks = 0;
  box->OnClick = [&](TComponent*) { ++clicks; };

  box->SetChecked(true);
  EXPECT_TRUE(box->Checked());
  ShowForm();
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED) << "lost when the window was made";

  ClickAt(box->Handle(), POINT{5, 8});
  EXPECT_FALSE(box->Checked()) << "the user's click";
  EXPECT_EQ(clicks, 1);

  box->SetParent(nullptr); // the window goes, the user's choice stays
  EXPECT_FALSE(box->HandleAllocated());
  EXPECT_FALSE(box->Checked());
  box->SetParent(FForm);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED) << "lost when the window was remade";

  box->SetChecked(true);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks, 1) << "setting the state from code is not a click";
}

// ---------------------------------------------------------------------------------------------------------
// TComboBox

class ComboBoxTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    FBox = Place<TComboBox>(FForm, FForm, 120, 24, 121, 21);
    FBox->SetItems(Items);
    FBox->SetText("128000");
    FBox->OnChange = [this](TComponent*) { FChanges.push_back(FBox->Text()); };
  }
  HWND Edit() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(FBox->Handle(), &info);
    return info.hwndItem;
  }
  void Type(const std::string& text) {
    FBox->SetFocus();
    SendMessageW(Edit(), EM_SETSEL, 0, -1);
    for (char ch : text) PostMessageW(Edit(), WM_CHAR, static_cast<WPARAM>(ch), 1);
    PumpMessages();
  }

  const std::vector<std::string> Items{"32000", "40000", "48000",  "56000",  "64000",
                                       "80000", "96000", "112000", "128000", "160000"};
  TComboBox* FBox = nullptr;
  std::vector<std::string> FChanges;
};

TEST_F(ComboBoxTest, ItemsAndTextSetBeforeTheWindowAreInIt) {
  ShowForm();
  HWND wnd = FBox->Handle();
  ASSERT_EQ(SendMessageW(wnd, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(Items.size()));
  for (size_t i = 0; i < Items.size(); ++i) {
    wchar_t item[32] = {};
    SendMessageW(wnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(Narrow(item), Items[i]) << i;
  }
  EXPECT_EQ(WindowText(Edit()), "128000");
  EXPECT_EQ(FBox->Text(), "128000");
  EXPECT_TRUE(FChanges.empty()) << "setting the text from code is not a change";

  FBox->SetItems({"1", "2"});
  EXPECT_EQ(SendMessageW(wnd, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(FBox->Text(), "128000") << "new items do not take the text away";
}

TEST_F(ComboBoxTest, KeepsItsLayoutHeightWhileTheOpenListShowsEightItems) {
  ShowForm();
  EXPECT_EQ(FBox->BoundsRect(), Bounds(120, 24, 121, 21));
  const int itemHeight = static_cast<int>(SendMessageW(FBox->Handle(), CB_GETITEMHEIGHT, 0, 0));
  RECT list{};
  SendMessageW(FBox->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
  EXPECT_GE(list.bottom - list.top, TComboBox::DropDownCount * itemHeight);

  // A layout height other than the system's closed height is kept as given, too.
  FBox->SetBounds(100, 30, 150, 30);
  EXPECT_EQ(FBox->BoundsRect(), Bounds(100, 30, 150, 30));
  RECT closed{};
  GetWindowRect(FBox->Handle(), &closed);
  EXPECT_LT(closed.bottom - closed.top, 30) << "the window is the system's closed height";
  SendMessageW(FBox->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
  EXPECT_GE(list.bottom - list.top, TComboBox::DropDownCount * itemHeight) << "moving shrank the open list";
}

TEST_F(ComboBoxTest, TypingChangesTheTextAndCodeCanPutItBack) {
  ShowForm();
  Type("64");
  EXPECT_EQ(FBox->Text(), "64");
  EXPECT_EQ(FChanges, (std::vector<std::string>{"6", "64"}));

  FBox->SetText("128000");
  EXPECT_EQ(FBox->Text(), "128000") << "the text from before the typing could not be set again";
  EXPECT_EQ(WindowText(Edit()), "128000");
}

TEST_F(ComboBoxTest, ChoosingAnItemMakesItTheTextBeforeOnChangeRuns) {
  ShowForm();
  FBox->SetFocus();
  PostMessageW(Edit(), WM_KEYDOWN, VK_DOWN, 1);
  PumpMessages();
  ASSERT_EQ(FChanges.size(), 1u);
  const auto chosen = SendMessageW(FBox->Handle(), CB_GETCURSEL, 0, 0);
  ASSERT_GE(chosen, 0);
  EXPECT_EQ(FChanges[0], Items[static_cast<size_t>(chosen)]);
  EXPECT_EQ(FBox->Text(), Items[static_cast<size_t>(chosen)]);
}

TEST_F(ComboBoxTest, TextSurvivesARecreatedWindow) {
  ShowForm();
  Type("96000");
  FBox->SetParent(nullptr);
  EXPECT_EQ(FBox->Text(), "96000");
  FBox->SetParent(FForm);
  EXPECT_EQ(WindowText(Edit()), "96000");
  EXPECT_EQ(SendMessageW(FBox->Handle(), CB_GETCOUNT, 0, 0), static_cast<LRESULT>(Items.size()));
}

// ---------------------------------------------------------------------------------------------------------
// TGroupBox

class GroupBoxTest : public FormTest {};

TEST_F(GroupBoxTest, PaintsItsColourAnEtchedFrameAndTheCaptionCutIntoIt) {
  auto* group = Place<TGroupBox>(FForm, FForm, 8, 8, 300, 57);
  group->SetColor(Backdrop);
  group->Font().SetColor(Ink);
  group->SetCaption("Tessera encoder");
  auto* label = Place<TLabel>(FForm, group, 16, 24, 0, 0);
  label->SetCaption("File location:");
  label->Font().SetColor(Ink);
  ShowForm();

  const int line = TextExtent(group->Font(), "0").cy;
  const int frameTop = line / 2 - 1;
  const int captionRight = TGroupBox::CaptionLeft + TextExtent(group->Font(), "Tessera encoder").cx;
  const TRendering picture(*group);
  const COLORREF shadow = ColorToRGB(clBtnShadow), highlight = ColorToRGB(clBtnHighlight);

  // Etched: a shadow line with a highlight line inside it, on every side.
  EXPECT_EQ(picture.At(captionRight + 20, frameTop), shadow) << "top, right of the caption";
  EXPECT_EQ(picture.At(captionRight + 20, frameTop + 1), highlight);
  EXPECT_EQ(picture.At(2, frameTop), shadow) << "top, left of the caption";
  EXPECT_EQ(picture.At(0, 30), shadow) << "left";
  EXPECT_EQ(picture.At(1, 30), highlight);
  EXPECT_EQ(picture.At(298, 30), shadow) << "right";
  EXPECT_EQ(picture.At(299, 30), highlight);
  EXPECT_EQ(picture.At(150, 55), shadow) << "bottom";
  EXPECT_EQ(picture.At(150, 56), highlight);

  EXPECT_EQ(picture.At(150, 2), ColorToRGB(Backdrop)) << "above the frame";
  EXPECT_EQ(picture.At(250, 40), ColorToRGB(Backdrop)) << "inside the frame";
  const RECT caption = Rect(TGroupBox::CaptionLeft, 0, captionRight, line);
  EXPECT_EQ(picture.Count(Rect(caption.left, frameTop, caption.right, frameTop + 1), clBtnShadow), 0)
      << "the frame runs through the caption";
  EXPECT_GT(picture.Count(caption, Ink), 0) << "caption";
  EXPECT_EQ(picture.Count(Rect(0, 0, TGroupBox::CaptionLeft, line), Ink), 0) << "caption starts at its indent";
  EXPECT_GT(picture.Count(label->BoundsRect(), Ink), 0) << "the label inside";
}

// ---------------------------------------------------------------------------------------------------------

} // namespace
