#pragma once
// A visible component with a parent, bounds and the common properties of every control. Windowed and
// windowless controls share this interface; messages reach both through WndProc, either from Windows
// (windowed) or routed by the windowed parent (windowless), and control messages through Perform.
#include "AlignLayout.h"
#include "Component.h"
#include "Font.h"
#include "Graphics.h"
#include "Messages.h"

#include <functional>
#include <string>

namespace qs {

class TWinControl;
class TPopupMenu;
class TControl;

// Events are fired after the change they report, with the sending component first.
using TNotifyEvent = std::function<void(TComponent* sender)>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : unsigned {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
  ssDouble = 1u << 6
};
using TShiftState = unsigned;

enum TControlStyleFlag : unsigned {
  // A left press takes the mouse until the button is released, so that the release is seen wherever it happens.
  csCaptureMouse = 1u << 1,
  // A left press and release inside the control fire Click.
  csClickEvents = 1u << 2,
  // A double click fires DblClick.
  csDoubleClicks = 1u << 3,
  // The control paints every pixel of its bounds: its parent does not erase or paint under it, so it never
  // flickers when it repaints.
  csOpaque = 1u << 4,
};

using TMouseEvent = std::function<void(TControl*, TMouseButton, TShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(TControl*, TShiftState, int x, int y)>;

// What a control's hint will show: the text, where, and the control that asked for it.
struct THintInfo {
  TControl* HintControl = nullptr;
  POINT HintPos{};   // screen position of the hint window's top left
  POINT CursorPos{}; // in the hint control's client coordinates
  std::string HintStr;
  TColor HintColor = clInfoBk;
  int HideTimeout = 0;
};

class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  RECT BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  virtual RECT ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  int ClientWidth() const;
  int ClientHeight() const;
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent up to the top-level window.
  virtual bool Showing() const;

  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool enabled);

  const std::string& Caption() const { return FText; }
  void SetCaption(const std::string& text) { SetText(text); }
  virtual std::string Text() const { return FText; }
  virtual void SetText(const std::string& text);

  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool show);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool v);

  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v);

  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool v);

  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);

  // A predefined cursor id (IDC_ARROW, IDC_CROSS, ...) shown over the control.
  LPCWSTR Cursor() const { return FCursor; }
  void SetCursor(LPCWSTR cursor) { FCursor = cursor; }

  unsigned ControlStyle() const { return FControlStyle; }
  void SetControlStyle(unsigned style) { FControlStyle = style; }

  void Invalidate() { InvalidateRect(true); }
  // Asks for a repaint; the background is erased first only when `erase` and the control is not opaque.
  virtual void InvalidateRect(bool erase);
  virtual void Update();
  void Repaint();
  void BringToFront();

  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;
  // The offset of this control's client origin in its nearest windowed ancestor (itself for windowed ones).
  virtual POINT ClientOrigin() const;

  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void WndProc(TMessage& message);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

  virtual void Click();
  virtual void DblClick();

  // The hint shown for this control: its own, or nothing. Controls with parts (toolbar buttons, list rows)
  // can override it.
  virtual std::string GetHintText() const { return FHint; }

  // Draws a windowless control onto its parent's DC (already offset to the control's origin and clipped).
  virtual void PaintControl(HDC) {}
  virtual bool IsWindowed() const { return false; }

protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Takes the parent's font, colour and hint setting where this control follows its parent.
  void InheritFromParent();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DefaultHandler(TMessage& message);
  virtual void FontChanged();
  virtual void ParentChanged() {}
  virtual void TextChanged() { Invalidate(); }
  // Tells the parent that this control moved, resized, or was shown or hidden, so that it can arrange its
  // children again (aligned ones always; a parent that places its children itself decides for the others).
  virtual void RequestAlign();
  // Applies a change of Visible to what is on screen, before CM_VISIBLECHANGED reports it.
  virtual void ApplyVisible() {}
  bool IsClickPending() const { return FClicking; }
  void CancelClick() { FClicking = false; }

  void SetBoundsFields(int left, int top, int width, int height) {
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
  }
  std::string FText;

private:
  friend class TWinControl;
  void SetParentField(TWinControl* parent) { FParent = parent; }
  void HandleMouse(TMessage& message);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = TAlign::alNone;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TFont FFont;
  bool FParentFont = true;
  TColor FColor = clBtnFace;
  bool FParentColor = true;
  TPopupMenu* FPopupMenu = nullptr;
  LPCWSTR FCursor = IDC_ARROW;
  unsigned FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
  bool FClicking = false;
  bool FTakingParentFont = false;
};

TShiftState KeysToShiftState(WPARAM keys);

} // namespace qs
