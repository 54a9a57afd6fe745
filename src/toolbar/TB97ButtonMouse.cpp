// Presses, repeating, the click operation and hover tracking of the toolbar button. One button at a time is
// hot: a shared timer and the message hooks end its hover once the pointer is elsewhere or the application
// loses the activation, so that no border is left standing.
#include "TB97Button.h"

#include "Application.h"
#include "Form.h"
#include "TB97DropdownList.h"
#include "Timer.h"
#include "WinControl.h"

#include <algorithm>
#include <utility>

namespace qs {

namespace {

unsigned TimerInterval(int ms) { return static_cast<unsigned>(std::max(ms, 0)); }

// A timer that may be running its own tick is freed once the message loop is back, otherwise at once.
void FreeTimer(TTimer* timer, bool inItsTick) {
  timer->SetEnabled(false);
  if (inItsTick && Application) timer->Release();
  else delete timer;
}

} // namespace

// ---- presses

void TToolbarButton97::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!Enabled()) {
    TGraphicControl::MouseDown(button, shift, x, y);
    return;
  }
  const TComponentWatch watch(this);
  HoverBegin();
  if (!watch.Alive()) return;
  if (button != TMouseButton::mbLeft) {
    TGraphicControl::MouseDown(button, shift, x, y);
    return;
  }
  try {
    FMenuDown = PressOpensMenu(x, Width(), FHasMenu, FDropdownCombo);
    if (!FDown) {
      ApplyEvent(TButtonEvent::beLeftPress);
      RequestRepaint(true);
    } else if (FAllowAllUp) {
      RequestRepaint(true);
    }
    if (!FMenuDown) FPressed = true;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (watch.Alive() && FMenuDown) {
      Click();
    } else if (watch.Alive() && FRepeating) {
      Click();
      if (watch.Alive()) StartRepeating();
    }
  } catch (...) {
    if (watch.Alive()) FMenuDown = false;
    throw;
  }
  if (watch.Alive()) FMenuDown = false;
}

void TToolbarButton97::MouseMove(TShiftState shift, int x, int y) {
  const TComponentWatch watch(this);
  TGraphicControl::MouseMove(shift, x, y);
  if (!watch.Alive()) return;
  TShared& shared = Shared();
  if (shared.Hot != this && PointerOverThis(ClientToScreen(POINT{x, y}))) {
    if (shared.Hot) shared.Hot->HoverEnd();
    if (!watch.Alive()) return;
    if (FShowBorderWhenInactive || GetActiveWindow()) {
      BecomeHot();
      HoverBegin();
      if (!watch.Alive()) return;
    }
  }
  if (!FPressed) return;
  const bool inside = HitsMainPart(x, y);
  if (inside && FRepeatTimer) FRepeatTimer->SetEnabled(true);
  SetDrawState(
      NextDrawState(FDrawState, inside ? TButtonEvent::bePointerInside : TButtonEvent::bePointerOutside, Facts()));
}

void TToolbarButton97::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  DropRepeatTimer();
  const TComponentWatch watch(this);
  // A right-button release while the left one is held calls the pending click off.
  if (button == TMouseButton::mbRight && Enabled()) {
    FPressed = false;
    HoverEnd();
    if (!watch.Alive()) return;
  }
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!watch.Alive() || button != TMouseButton::mbLeft || !FPressed) return;
  FPressed = false;
  // A repeating button clicked on the press and while held; its release adds nothing.
  if (HitsMainPart(x, y) && !FRepeating) Click();
  else HoverEnd();
}

bool TToolbarButton97::HoldsCapture() const {
  return Parent() && Parent()->CaptureControl() == this && GetCapture() == Parent()->HandleIfAllocated();
}

void TToolbarButton97::EndCapture() {
  if (Parent() && Parent()->CaptureControl() == this) Parent()->SetCaptureControl(nullptr);
}

// ---- repeating

void TToolbarButton97::StartRepeating() {
  if (!FRepeatTimer) FRepeatTimer = new TTimer(nullptr);
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetInterval(TimerInterval(FRepeatDelay));
  FRepeatTimer->SetOnTimer([this](TComponent*) { RepeatTimerTick(); });
  FRepeatTimer->SetEnabled(true);
}

void TToolbarButton97::RepeatTimerTick() {
  if (!FRepeatTimer) return;
  FRepeatTimer->SetInterval(TimerInterval(FRepeatInterval));
  POINT cursor{};
  GetCursorPos(&cursor);
  const POINT p = ScreenToClient(cursor);
  if (!(FRepeating && FPressed && HoldsCapture() && HitsMainPart(p.x, p.y))) {
    // Paused; the pointer coming back inside starts it again.
    FRepeatTimer->SetEnabled(false);
    return;
  }
  const TComponentWatch watch(this);
  FInRepeatTick = true;
  try {
    Click();
  } catch (...) {
    if (watch.Alive()) FInRepeatTick = false;
    throw;
  }
  if (watch.Alive()) FInRepeatTick = false;
}

void TToolbarButton97::DropRepeatTimer() {
  if (TTimer* timer = std::exchange(FRepeatTimer, nullptr)) FreeTimer(timer, FInRepeatTick);
}

// ---- the click operation

void TToolbarButton97::Click() {
  if (FRepeating && !FMenuDown) {
    TGraphicControl::Click();
    return;
  }
  const TComponentWatch watch(this);
  try {
    FInClick = true;
    if (FGroupIndex != 0) SetDown(!FDown);
    ShowPressedDuringClick();
    HoverEnd();
    if (!watch.Alive()) return;
    if (!FHasMenu || (FDropdownCombo && !FMenuDown)) {
      if (TForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
      TGraphicControl::Click();
    } else {
      if (!FDropdownCombo) TGraphicControl::Click();
      if (watch.Alive()) {
        // The menu runs a loop of its own; it must not find the mouse held by the toolbar.
        EndCapture();
        ShowButtonMenu(*this);
      }
    }
  } catch (...) {
    if (watch.Alive()) EndClick();
    throw;
  }
  if (watch.Alive()) EndClick();
}

void TToolbarButton97::ShowPressedDuringClick() {
  const TButtonDrawState pressed = NextDrawState(FDrawState, TButtonEvent::beClickStarts, Facts());
  if (pressed == FDrawState) return;
  FDrawState = pressed;
  RequestRepaint(true);
  // Shown now: a click from the keyboard has had no press to show it, and its handler may take a while.
  if (Parent()) Parent()->Update();
}

void TToolbarButton97::EndClick() {
  FInClick = false;
  ApplyEvent(TButtonEvent::beClickEnds);
  if (IsDestroying()) return;
  RequestRepaint(true);
  RecheckHover();
}

// ---- hovering

TToolbarButton97* TToolbarButton97::HotButton() { return Shared().Hot; }

TTimer* TToolbarButton97::HoverTimer() { return Shared().HoverTimer; }

bool TToolbarButton97::PointerOverThis(POINT screen) const {
  return TApplication::FindControlAtScreen(screen, true) == this;
}

void TToolbarButton97::BecomeHot() {
  TShared& shared = Shared();
  shared.Hot = this;
  if (shared.HoverTimer) shared.HoverTimer->SetEnabled(true);
}

void TToolbarButton97::HoverBegin() {
  if (!Enabled() || FMouseIn) return;
  FMouseIn = true;
  ApplyEvent(TButtonEvent::beHoverBegin);
  const bool hotPicture = NumGlyphs() >= NumGlyphsWithHotPicture;
  if (FFlat || hotPicture) RequestRepaint(FDown || hotPicture);
  else AnnounceAccessibleChange();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TToolbarButton97::HoverEnd() {
  if (!Enabled() || !FMouseIn || FPressed) return;
  FMouseIn = false;
  StopHoverTimer();
  const TButtonDrawState before = FDrawState;
  ApplyEvent(TButtonEvent::beHoverEnd);
  // A raised button without a hot picture looks the same hot or not.
  if (FFlat || NumGlyphs() >= NumGlyphsWithHotPicture) RequestRepaint(true);
  else if (FDrawState != before && before != TButtonDrawState::dsMouseIn) RequestRepaint(true);
  else AnnounceAccessibleChange();
  if (OnMouseExit) OnMouseExit(this);
}

void TToolbarButton97::StopHoverTimer() {
  TShared& shared = Shared();
  if (shared.Hot != this) return;
  if (shared.HoverTimer) shared.HoverTimer->SetEnabled(false);
  shared.Hot = nullptr;
}

void TToolbarButton97::RecheckHover() {
  if (!Enabled()) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (PointerOverThis(cursor)) {
    // Hot again after its click: tracked like a button the pointer came to, so that its border goes when
    // the pointer leaves, even without passing over the button again first.
    TShared& shared = Shared();
    if (shared.Hot != this) {
      const TComponentWatch watch(this);
      if (shared.Hot) shared.Hot->HoverEnd();
      if (!watch.Alive()) return;
      BecomeHot();
    }
    FMouseIn = false;
    HoverBegin();
  } else {
    FMouseIn = true;
    HoverEnd();
  }
}

void TToolbarButton97::HoverTimerTick() {
  TShared& shared = Shared();
  if (!shared.Hot) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (shared.Hot->PointerOverThis(cursor)) return;
  shared.InHoverTick = true;
  try {
    shared.Hot->HoverEnd();
  } catch (...) {
    shared.InHoverTick = false;
    throw;
  }
  shared.InHoverTick = false;
}

void TToolbarButton97::HookNotify(THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam) {
  TToolbarButton97* hot = Shared().Hot;
  if (!hot) return;
  if (kind == THookKind::hkActivateApp) {
    if (wParam == 0 && !hot->FShowBorderWhenInactive) hot->HoverEnd();
  } else if (kind == THookKind::hkMouseMove) {
    // Where this move puts the pointer, which the cursor position may not show yet.
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(wnd, &p);
    if (!hot->PointerOverThis(p)) hot->HoverEnd();
  }
}

void TToolbarButton97::FreeSharedWhenUnused() {
  TShared& shared = Shared();
  shared.FreeChecker();
  shared.FreeOffscreen();
  shared.Hot = nullptr;
  if (TTimer* timer = std::exchange(shared.HoverTimer, nullptr)) FreeTimer(timer, shared.InHoverTick);
}

} // namespace qs
