#pragma once
// A control with a window of its own, created on demand. Its window procedure is the virtual WndProc; it
// routes mouse input to the windowless children under the pointer (or to the one that holds the capture while
// a button is pressed), paints them after itself, and reflects child notifications back to the child that
// sent them.
#include "Control.h"

#include <string>
#include <vector>

namespace qs {

struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  // The window class registered for this control: our own ("QsWindow..."), or a superclass of a system class
  // when SysClassName is set (the system class keeps its own drawing and behaviour).
  std::wstring WinClassName = L"QsWindow";
  std::wstring SysClassName;
  UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }

  HWND Handle();
  HWND HandleIfAllocated() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  void RecreateWnd();
  // For a control whose parent is not a framework control (a window of another program or a plain HWND).
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND wnd) { FParentWindow = wnd; }

  // The control that owns a window handle, or null when the window is not one of ours.
  static TWinControl* FindControl(HWND wnd);

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
  // The child whose bounds contain `p` (client coordinates), topmost first; disabled children only when
  // asked for (hints and the toolbar's drag handling need them), windowed children only when asked for.
  TControl* ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls = false) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void SetChildZOrder(TControl* control, bool toTop);

  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  void SetClientSize(int width, int height);
  POINT ClientOrigin() const override;
  void SetVisible(bool visible) override;
  bool Showing() const override;
  void SetEnabled(bool enabled) override;
  void SetText(const std::string& text) override;
  std::string Text() const override;
  void InvalidateRect(bool erase) override;
  void Update() override;

  void SetFocus();
  bool Focused() const;
  bool CanFocus() const;
  TControl* CaptureControl() const { return FCaptureControl; }
  void SetCaptureControl(TControl* control);

  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void Realign() { AlignControls(); }

  // Paints the visible windowless children that meet `update` onto `dc` (the window's client DC).
  void PaintControls(HDC dc, const RECT& update);

  void WndProc(TMessage& message) override;

protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateHandle();
  virtual void DestroyHandle();
  // Called once the window exists: the place for messages that need a handle (fonts, items, columns).
  virtual void CreateWindowHandleDone() {}
  // Called before the window goes away: the place to keep state that lives in the window (list rows).
  virtual void DestroyWindowHandleStart() {}
  virtual void AdjustClientRect(RECT& rect) const { (void)rect; }
  virtual void AlignControls();
  void DefaultHandler(TMessage& message) override;
  void FontChanged() override;
  void UpdateBoundsFromWindow();
  WNDPROC DefWndProc() const { return FDefWndProc; }

private:
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  void Bind(HWND wnd);
  void Unbind();
  bool RouteMouseToChild(TMessage& message);
  bool HandleSetCursor(TMessage& message);
  void ReflectToChild(TMessage& message, HWND child, UINT reflected);
  void CreateChildHandles();

  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = DefWindowProcW;
  std::vector<TControl*> FControls;
  TControl* FCaptureControl = nullptr;
  int FAlignLevel = 0;
  bool FAlignPending = false;
  bool FRecreating = false;
};

} // namespace qs
