// The framework's standard controls on real windows: sizes, painted pixels, clicks routed to windowless
// controls, state kept across window creation, and no GDI object left behind.
#include "Bitmap.h"
#include "Button.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "Exception.h"
#include "Form.h"
#include "GroupBox.h"
#include "Image.h"
#include "ImageList.h"
#include "Label.h"
#include "PageControl.h"
#include "QsTest.h"
#include "TabSheet.h"
#include "Unicode.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// RECTs compared and printed in failure messages (global, where lookup for RECT finds them).
static bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
static std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

using namespace qs;
using namespace qs::test;

namespace {

constexpr int FormWidth = 420;
constexpr int FormHeight = 320;
// Colours that no system colour and no picture used here has, so a probe cannot match by accident.
constexpr TColor Backdrop = 0x00D0B090;
constexpr TColor Ink = clRed;

// Creates a control owned by `owner` and placed in `parent`, as a form's layout does.
template <typename T>
T* Place(TComponent* owner, TWinControl* parent, int left, int top, int width, int height) {
  auto* control = new T(owner);
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  return control;
}

RECT ClientRectOf(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  return r;
}

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::string WindowText(HWND wnd) {
  wchar_t buffer[256] = {};
  GetWindowTextW(wnd, buffer, 256);
  return Narrow(buffer);
}

// A press at `down` and a release at `up` (client coordinates of `wnd`), through the message loop.
void ClickAt(HWND wnd, POINT down, POINT up) {
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
  PumpMessages();
}
void ClickAt(HWND wnd, POINT p) { ClickAt(wnd, p, p); }

// The text extent in `font` as GetTextExtentPoint32 measures it: the reference the labels are checked against.
SIZE TextExtent(const TFont& font, const std::string& text) {
  TWindowDC screen(nullptr);
  TSelectGuard select(screen.Get(), font.Handle());
  const std::wstring w = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(screen.Get(), w.c_str(), static_cast<int>(w.size()), &size);
  return size;
}

// What a custom control paints (itself, then its windowless children), read back from a memory bitmap.
class TRendering {
public:
  explicit TRendering(TCustomControl& control, TColor dcText = clBlack) {
    const RECT client = control.ClientRect();
    TWindowDC screen(nullptr);
    FBitmap.Reset(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    FSelect.emplace(FDC.Get(), FBitmap.Get());
    // A DC is not guaranteed to arrive with black text: painting must set what it relies on.
    SetTextColor(FDC.Get(), ColorToRGB(dcText));
    control.PaintTo(FDC.Get(), client);
  }
  COLORREF At(int x, int y) const { return GetPixel(FDC.Get(), x, y); }
  COLORREF At(POINT p) const { return At(p.x, p.y); }
  int Count(const RECT& r, TColor color) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) == ColorToRGB(color);
    return n;
  }

private:
  TMemoryDC FDC{nullptr};
  TBitmapHandle FBitmap;
  std::optional<TSelectGuard> FSelect;
};

// A shown form in a known colour, deleted at the end of the test.
class FormTest : public ::testing::Test {
protected:
  void SetUp() override {
    FForm = new TForm(Application);
    FForm->SetBorderStyle(TFormBorderStyle::bsSingle);
    FForm->SetClientSize(FormWidth, FormHeight);
    FForm->SetColor(Backdrop);
  }
  void TearDown() override { delete FForm; }
  void ShowForm() {
    FForm->Show();
    PumpMessages();
  }

  TForm* FForm = nullptr;
};

// ---------------------------------------------------------------------------------------------------------
// TLabel

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
  source.OnChange = [&] { ++sourceChanges; };

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
  EXPECT_EQ(list.Count(), 2);

  // A wide picture gives one image per list width; its masked pixels are left as they were.
  TBitmap banner;
  banner.LoadFromResourceName(L"BANNER");
  EXPECT_EQ(list.AddMasked(banner, banner.TransparentColor()), 2);
  EXPECT_EQ(list.Count(), 2 + 362 / 16);
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
  EXPECT_EQ(list.Count(), 0);
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
