// The toolbar button's life, its properties, groups and the control messages it answers.
#include "TB97Button.h"

#include "Menu.h"
#include "TB97DropdownList.h"
#include "TB97ToolWindow.h"
#include "Timer.h"
#include "WinControl.h"

namespace qs {

TToolbarButton97::TShared& TToolbarButton97::Shared() {
  static TShared shared;
  return shared;
}

TToolbarButton97::TToolbarButton97(TComponent* owner) : TGraphicControl(owner), FGlyph(this) {
  SetBoundsFields(Left(), Top(), DefaultWidth, DefaultHeight);
  // No csClickEvents: the button decides itself when a press is a click. No csDoubleClicks: its double-click
  // event fires only for a button that is down (see WndProc).
  SetControlStyle(csCaptureMouse | csOpaque);
  SetParentColor(false);
  SetColor(clBtnFace);
  FGlyph.OnChange = [this] { RequestRepaint(true); };
  AddHookClient(HookNotify, THookKinds{THookKind::hkActivateApp, THookKind::hkMouseMove}, false);
  TShared& shared = Shared();
  ++shared.LiveButtons;
  if (!shared.HoverTimer) {
    shared.HoverTimer = new TTimer(nullptr);
    shared.HoverTimer->SetEnabled(false);
    shared.HoverTimer->SetInterval(HoverCheckInterval);
    shared.HoverTimer->SetOnTimer([](TComponent*) { HoverTimerTick(); });
  }
}

TToolbarButton97::~TToolbarButton97() {
  StopHoverTimer();
  DropRepeatTimer();
  FGlyph.OnChange = nullptr;
  RemoveHookClient(HookNotify);
  if (--Shared().LiveButtons == 0) FreeSharedWhenUnused();
}

void TToolbarButton97::Loaded() {
  TGraphicControl::Loaded();
  // The picture shown first is ready before the first paint.
  FGlyph.EnsureStateImage(Enabled() ? TButtonDrawState::dsUp : TButtonDrawState::dsDisabled);
}

void TToolbarButton97::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FDropdownMenu) SetDropdownMenu(nullptr);
  if (component == FGlyph.Images()) SetImages(nullptr);
}

// ---- state

TButtonFacts TToolbarButton97::Facts() const { return TButtonFacts{Enabled(), FDown, FGroupIndex != 0, FInClick}; }

void TToolbarButton97::ApplyEvent(TButtonEvent event) { FDrawState = NextDrawState(FDrawState, event, Facts()); }

void TToolbarButton97::SetDrawState(TButtonDrawState state) {
  if (state == FDrawState) return;
  FDrawState = state;
  RequestRepaint(true);
}

void TToolbarButton97::AnnounceAccessibleChange() {
  if (auto* window = dynamic_cast<TCustomToolWindow97*>(Parent())) window->AnnounceAccessibleChanges();
}

bool TToolbarButton97::HitsMainPart(int x, int y) const {
  return qs::HitsMainPart(TIntPoint{x, y}, TIntSize{ClientWidth(), ClientHeight()}, FDropdownCombo && FHasMenu);
}

// ---- properties

void TToolbarButton97::SetAlignment(TAlignment alignment) {
  if (alignment == FAlignment) return;
  FAlignment = alignment;
  RequestRepaint(true);
}

void TToolbarButton97::SetAllowAllUp(bool allow) {
  if (allow == FAllowAllUp) return;
  FAllowAllUp = allow;
  SyncGroup();
}

void TToolbarButton97::SetDisplayMode(TButtonDisplayMode mode) {
  if (mode == FDisplayMode) return;
  FDisplayMode = mode;
  RequestRepaint(true);
}

void TToolbarButton97::SetDown(bool down) {
  down = EffectiveDown(down, FGroupIndex);
  if (down == FDown || (FDown && !FAllowAllUp)) return;
  FDown = down;
  ApplyEvent(TButtonEvent::beDownApplied);
  RequestRepaint(true);
  if (down) SyncGroup();
}

void TToolbarButton97::SetDropdownArrow(bool arrow) {
  if (arrow == FDropdownArrow) return;
  FDropdownArrow = arrow;
  RequestRepaint(true);
}

void TToolbarButton97::SetDropdownCombo(bool combo) {
  if (combo == FDropdownCombo) return;
  FDropdownCombo = combo;
  // A layout being loaded already holds the width that goes with it.
  if (!IsLoading()) SetWidth(WidthForDropdownCombo(Width(), combo));
  RequestRepaint(true);
}

void TToolbarButton97::SetDropdownMenu(TPopupMenu* menu) {
  if (menu == FDropdownMenu) return;
  // The old menu no longer needs to tell this button it goes.
  if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
  FDropdownMenu = menu;
  FHasMenu = menu != nullptr;
  if (menu) {
    menu->FreeNotification(this);
    // The list's window owns the menu while the button shows it.
    TDropdownList::Instance().AddMenu(menu);
  }
  if (FDropdownArrow) RequestRepaint(true);
}

void TToolbarButton97::SetFlat(bool flat) {
  if (flat == FFlat) return;
  FFlat = flat;
  UpdateOpaqueStyle();
  RequestRepaint(true);
}

void TToolbarButton97::SetGlyph(const TBitmap& glyph) {
  FGlyph.SetGlyph(glyph);
  RequestRepaint(true);
}

void TToolbarButton97::SetGlyphMask(const TBitmap& mask) {
  FGlyph.SetGlyphMask(mask);
  RequestRepaint(true);
}

void TToolbarButton97::SetGroupIndex(int index) {
  if (index == FGroupIndex) return;
  FGroupIndex = index;
  SyncGroup();
}

void TToolbarButton97::SetImageIndex(int index) { FGlyph.SetImageIndex(index); }

void TToolbarButton97::SetImages(TImageList* images) { FGlyph.SetImages(images); }

void TToolbarButton97::SetLayout(TButtonLayout layout) {
  if (layout == FLayout) return;
  FLayout = layout;
  RequestRepaint(true);
}

void TToolbarButton97::SetMargin(int margin) {
  if (!AcceptsMargin(margin) || margin == FMargin) return;
  FMargin = margin;
  RequestRepaint(true);
}

void TToolbarButton97::SetNoBorder(bool noBorder) {
  if (noBorder == FNoBorder) return;
  FNoBorder = noBorder;
  Invalidate();
}

void TToolbarButton97::SetNumGlyphs(int numGlyphs) {
  numGlyphs = ClampNumGlyphs(numGlyphs);
  if (numGlyphs == FGlyph.NumGlyphs()) return;
  FGlyph.SetNumGlyphs(numGlyphs);
  RequestRepaint(true);
}

void TToolbarButton97::SetOldDisabledStyle(bool old) {
  if (old == FOldDisabledStyle) return;
  FOldDisabledStyle = old;
  FGlyph.SetOldDisabledStyle(old);
  FGlyph.DropImages();
  RequestRepaint(true);
}

void TToolbarButton97::SetOpaque(bool opaque) {
  if (opaque == FOpaque) return;
  FOpaque = opaque;
  UpdateOpaqueStyle();
  Invalidate();
}

void TToolbarButton97::SetSpacing(int spacing) {
  if (spacing == FSpacing) return;
  FSpacing = spacing;
  RequestRepaint(true);
}

void TToolbarButton97::SetWordWrap(bool wrap) {
  if (wrap == FWordWrap) return;
  FWordWrap = wrap;
  RequestRepaint(true);
}

void TToolbarButton97::UpdateOpaqueStyle() {
  // Only a flat button that is not opaque lets its toolbar show through; every other paints all its pixels.
  const bool opaque = FOpaque || !FFlat;
  SetControlStyle(opaque ? ControlStyle() | csOpaque : ControlStyle() & ~csOpaque);
}

// ---- groups

void TToolbarButton97::SyncGroup() {
  if (FGroupIndex == 0 || !Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* other = dynamic_cast<TToolbarButton97*>(Parent()->Controls(i));
    if (!other || other == this || other->FGroupIndex != FGroupIndex) continue;
    // The one that was down comes up quietly: no setter, no events.
    if (FDown && other->FDown) {
      other->FDown = false;
      other->FDrawState = NextDrawState(other->FDrawState, TButtonEvent::beReleasedByGroup, other->Facts());
      other->RequestRepaint(true);
    }
    other->FAllowAllUp = FAllowAllUp;
  }
}

// ---- control messages

void TToolbarButton97::WndProc(TMessage& message) {
  switch (message.Msg) {
  case CM_ENABLEDCHANGED:
    TGraphicControl::WndProc(message);
    EnabledChanged();
    return;
  case CM_CANCELMODE:
    CancelMode();
    TGraphicControl::WndProc(message);
    EndCapture();
    return;
  case CM_DIALOGKEY:
    if (HandleDialogKey(message.WParam)) {
      message.Result = 1;
      return;
    }
    break;
  case CM_DIALOGCHAR:
    if (HandleAccelerator(message.WParam)) {
      message.Result = 1;
      return;
    }
    break;
  case WM_LBUTTONDBLCLK: {
    const TComponentWatch watch(this);
    TGraphicControl::WndProc(message);
    DoubleClicked(watch);
    return;
  }
  case CM_FONTCHANGED:
    TGraphicControl::WndProc(message);
    RequestRepaint(true);
    return;
  case CM_SYSCOLORCHANGE:
    TGraphicControl::WndProc(message);
    SysColorChanged();
    return;
  default: break;
  }
  TGraphicControl::WndProc(message);
}

void TToolbarButton97::EnabledChanged() {
  if (!Enabled()) {
    ApplyEvent(TButtonEvent::beDisabled);
    FMouseIn = false;
    FPressed = false;
    StopHoverTimer();
    // Ends a press in progress, and the capture that came with it.
    Perform(CM_CANCELMODE);
  } else {
    ApplyEvent(TButtonEvent::beEnabled);
  }
  RequestRepaint(true);
}

void TToolbarButton97::CancelMode() {
  DropRepeatTimer();
  if (FPressed) {
    FPressed = false;
    HoverEnd();
  }
}

void TToolbarButton97::DoubleClicked(const TComponentWatch& watch) {
  if (watch.Alive() && FDown) DblClick();
}

bool TToolbarButton97::ParentCanFocus() const { return Parent() && Parent()->CanFocus(); }

bool TToolbarButton97::HandleDialogKey(WPARAM key) {
  const bool ours = (key == VK_RETURN && FDefault) || (key == VK_ESCAPE && FCancel);
  const bool shifted = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
  if (!ours || shifted || !ParentCanFocus() || !Enabled() || !Visible()) return false;
  Click();
  return true;
}

bool TToolbarButton97::HandleAccelerator(WPARAM character) {
  const char32_t accelerator = CaptionAccelerator(Caption());
  // Compared as the system compares letters of any script: in upper case.
  const auto upper = [](char32_t c) {
    return c > 0xFFFF ? c : static_cast<char32_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(c))));
  };
  if (accelerator == 0 || upper(accelerator) != upper(static_cast<char32_t>(character))) return false;
  if (!ParentCanFocus() || !Enabled() || !Visible() || FDisplayMode == TButtonDisplayMode::dmGlyphOnly) return false;
  Click();
  return true;
}

void TToolbarButton97::SysColorChanged() {
  TShared& shared = Shared();
  if (shared.CheckerBrush &&
      (GetSysColor(COLOR_BTNFACE) != shared.CheckerFace || GetSysColor(COLOR_BTNHIGHLIGHT) != shared.CheckerHighlight))
    shared.FreeChecker();
  FGlyph.DropImages();
  FGlyph.EnsureStateImage(FDrawState);
  RequestRepaint(false);
}

} // namespace qs
