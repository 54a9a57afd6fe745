#pragma once
// A control with a window of its own, created on demand. Its window procedure is the virtual WndProc; it
// routes mouse input to the windowless children under the pointer (or to the one that holds the capture while
// a button is pressed), paints them after itself, and reflects child notifications back to the child that
// sent them. The class is split into files by concern:
//   WinControl.cpp          life, window creation and destruction, bounds, visibility, text, focus
//   WinControlWindows.cpp   window classes, the window-to-control map, the window procedure
//   WinControlChildren.cpp  the child list, Z-order, hit testing, painting and broadcasting to children
//   WinControlAlign.cpp     alignment of children (the arithmetic is AlignLayout.cpp)
//   WinControlMouse.cpp     mouse routing to windowless children, capture, cursors, context menus
//   WinControlMessages.cpp  the message switch, reflection and the default handling
#include "Control.h"

#include <functional>
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

// Told after a control's window was made (created true) and before it goes (created false), recreations
// included, so that whoever hooks the window can follow it.
using TWindowListener = std::function<void(HWND wnd, bool created)>;

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }

  HWND Handle();
  HWND HandleIfAllocated() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and makes a new one with the current creation parameters (styles, parent).
  void RecreateWnd();
  // Has the window work out its non-client area again and repaint its frame (after a change of what the frame
  // looks like or how thick it is).
  void FrameChanged();
  // For a control whose parent is not a framework control (a window of another program or a plain HWND).
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND wnd) { FParentWindow = wnd; }

  // The control that owns a window handle, or null when the window is not one of ours.
  static TWinControl* FindControl(HWND wnd);

  void AddWindowListener(TComponent* listener, TWindowListener onWindow);
  void RemoveWindowListener(TComponent* listener);

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
  int IndexOfControl(const TControl* control) const;
  // The child whose bounds contain `p` (client coordinates), topmost first; disabled children only when
  // asked for (hints and the toolbar's drag handling need them), windowed children only when asked for.
  TControl* ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls = false) const;
  // Sends `message` to every child, windowed or not, until one answers with a non-zero result.
  void Broadcast(TMessage& message);

  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  void SetClientSize(int width, int height);
  POINT ClientOrigin() const override;
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

  // Alignment of the children. While disabled, requests are remembered and run once when it is enabled again.
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void Realign();
  // A child moved, resized or changed visibility (null: the client area changed). Realigns when an aligned
  // child is concerned; controls that place their children themselves override it.
  virtual void AlignControl(TControl* control);

  // Paints the visible windowless children that meet `update` onto `dc` (the window's client DC).
  void PaintControls(HDC dc, const RECT& update);
  // Draws the window's frame (its non-client area) on `dc`, a DC of the whole window; the default draws
  // nothing. WM_NCPAINT of controls that draw their own frame and pixel tests both come here.
  virtual void PaintNonClient(HDC dc) { (void)dc; }

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
  // One alignment pass over the children; overridden by controls that place their children themselves.
  virtual void AlignControls();
  void DefaultHandler(TMessage& message) override;
  void FontChanged() override;
  void ApplyVisible() override;
  void UpdateBoundsFromWindow();
  WNDPROC DefWndProc() const { return FDefWndProc; }
  // WM_NCPAINT for controls that draw their own frame: the window DC clipped to the message's update region,
  // handed to PaintNonClient.
  void PaintNonClientFromMessage(const TMessage& message);

private:
  friend class TControl;
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  // The child list is edited only through TControl::SetParent.
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void SetChildZOrder(TControl* control, bool toTop);
  void Bind(HWND wnd);
  void Unbind();
  void NotifyWindowListeners(HWND wnd, bool created);
  // A pass now, or once the running pass is over (null requester: the client area changed).
  void RequestAlignPass(TControl* requester);
  void RunAlignPasses();
  bool RouteMouseToChild(TMessage& message);
  void CaptureOwnClick(const TMessage& message);
  bool HandleSetCursor(TMessage& message);
  bool HandleContextMenu(TMessage& message);
  void ReflectToChild(TMessage& message, HWND child, UINT reflected);
  void BroadcastToChildren(UINT msg);
  void ShowingChanged();
  void CreateChildHandles();

  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = DefWindowProcW;
  std::vector<TControl*> FControls;
  TControl* FCaptureControl = nullptr;
  struct TListenerEntry {
    TComponent* Listener;
    TWindowListener OnWindow;
  };
  std::vector<TListenerEntry> FWindowListeners;
  int FAlignLevel = 0;
  bool FAlignPending = false;
  // The child the running pass is placing: its own request to be aligned is the pass's echo, not a new one.
  TControl* FAligningChild = nullptr;
  bool FLastAlignPass = false;
  bool FRecreating = false;
  // Set while this control gives up the capture of its own press, so that the release does not cancel it.
  bool FReleasingOwnCapture = false;
};

} // namespace qs
