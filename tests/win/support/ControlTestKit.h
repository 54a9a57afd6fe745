#pragma once
// Shared by the tests of the standard controls: a shown form in a known colour, what a control paints read
// back from a memory bitmap, clicks through the message loop, and text measured independently of the controls.
#include "CustomControl.h"
#include "Form.h"
#include "QsTest.h"
#include "Unicode.h"

#include <optional>
#include <ostream>
#include <string>

// RECTs compared and printed in failure messages (global, where lookup for RECT finds them).
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace qs::test {

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

inline RECT ClientRectOf(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  return r;
}

inline POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

inline std::string WindowText(HWND wnd) {
  wchar_t buffer[256] = {};
  GetWindowTextW(wnd, buffer, 256);
  return Narrow(buffer);
}

// A press at `down` and a release at `up` (client coordinates of `wnd`), through the message loop.
inline void ClickAt(HWND wnd, POINT down, POINT up) {
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
  PumpMessages();
}
inline void ClickAt(HWND wnd, POINT p) { ClickAt(wnd, p, p); }

// The text extent in `font` as GetTextExtentPoint32 measures it: the reference the labels are checked against.
inline SIZE TextExtent(const TFont& font, const std::string& text) {
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

} // namespace qs::test
