#pragma once
// The flat toolbar button: windowless, it paints on its toolbar and shows a glyph and/or a caption, a raised
// border only while the pointer is over it (when Flat), the pressed look while held, can stay down as one of
// a group, repeat while held, and open a dropdown menu from the whole button or from an arrow part of its
// own. The class is split by concern:
//   TB97Button.cpp        life, properties, groups and the control messages
//   TB97ButtonPaint.cpp   the frame, the checker fill and the content, through an off-screen bitmap
//   TB97ButtonMouse.cpp   presses, repeating, the click operation and the process-wide hover tracking
// What may happen to its draw state is TB97ButtonRules; the picture and the content's placement are the
// button's TButtonGlyph.
#include "GraphicControl.h"
#include "TB97ButtonGlyph.h"
#include "TB97ButtonRules.h"
#include "TB97Hooks.h"

#include <cstdint>
#include <optional>

namespace qs {

class TPopupMenu;
class TTimer;

enum class TButtonDisplayMode : std::uint8_t { dmBoth, dmGlyphOnly, dmTextOnly };

class TToolbarButton97 : public TGraphicControl {
public:
  static constexpr int DefaultWidth = 23;
  static constexpr int DefaultHeight = 22;
  static constexpr int DefaultSpacing = 4;
  static constexpr int DefaultRepeatDelay = 400;
  static constexpr int DefaultRepeatInterval = 100;
  // How often the hot button checks that the pointer is still over it.
  static constexpr unsigned HoverCheckInterval = 125;

  explicit TToolbarButton97(TComponent* owner);
  ~TToolbarButton97() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  // A group may have no button down.
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool allow);
  // Escape clicks the button.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool cancel) { FCancel = cancel; }
  // Enter clicks the button.
  bool Default() const { return FDefault; }
  void SetDefault(bool isDefault) { FDefault = isDefault; }
  TButtonDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TButtonDisplayMode mode);
  // Held down; only a button of a group (GroupIndex not 0) can be.
  bool Down() const { return FDown; }
  void SetDown(bool down);
  // The small arrow after glyph and caption of a button with a menu (not a split one).
  bool DropdownArrow() const { return FDropdownArrow; }
  void SetDropdownArrow(bool arrow);
  // A split button: its right 11 pixels open the menu, the rest clicks.
  bool DropdownCombo() const { return FDropdownCombo; }
  void SetDropdownCombo(bool combo);
  // The menu the button opens; not owned.
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* menu);
  // A border only while hot, down or pressed; otherwise always raised.
  bool Flat() const { return FFlat; }
  void SetFlat(bool flat);
  const TBitmap& Glyph() const { return FGlyph.Glyph(); }
  void SetGlyph(const TBitmap& glyph);
  const TBitmap& GlyphMask() const { return FGlyph.GlyphMask(); }
  void SetGlyphMask(const TBitmap& mask);
  // 0: not grouped. Buttons of one parent with the same index are a group: at most one of them is down.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int index);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int context) { FHelpContext = context; }
  int ImageIndex() const { return FGlyph.ImageIndex(); }
  void SetImageIndex(int index);
  TImageList* Images() const { return FGlyph.Images(); }
  void SetImages(TImageList* images);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout layout);
  // -1: automatic; lower values are ignored.
  int Margin() const { return FMargin; }
  void SetMargin(int margin);
  // Given to the parent form when the button is clicked.
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }
  // Never a frame.
  bool NoBorder() const { return FNoBorder; }
  void SetNoBorder(bool noBorder);
  int NumGlyphs() const { return FGlyph.NumGlyphs(); }
  // Kept within 1..5.
  void SetNumGlyphs(int numGlyphs);
  bool OldDisabledStyle() const { return FOldDisabledStyle; }
  void SetOldDisabledStyle(bool old);
  // Paints its background in Color (through an off-screen bitmap); otherwise a flat button lets its
  // toolbar show through.
  bool Opaque() const { return FOpaque; }
  void SetOpaque(bool opaque);
  // Clicks on the press and again while held: after RepeatDelay, then every RepeatInterval milliseconds.
  bool Repeating() const { return FRepeating; }
  void SetRepeating(bool repeating) { FRepeating = repeating; }
  int RepeatDelay() const { return FRepeatDelay; }
  void SetRepeatDelay(int ms) { FRepeatDelay = ms; }
  int RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(int ms) { FRepeatInterval = ms; }
  // Hot also while the application has no active window.
  bool ShowBorderWhenInactive() const { return FShowBorderWhenInactive; }
  void SetShowBorderWhenInactive(bool show) { FShowBorderWhenInactive = show; }
  // Glyph to caption; -1: automatic.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int spacing);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool wrap);

  // Fired when the button becomes hot, and when that ends.
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;

  TButtonDrawState DrawState() const { return FDrawState; }
  // The pointer counts as over the button.
  bool MouseIn() const { return FMouseIn; }
  // The left button went down here and is still held.
  bool Pressed() const { return FPressed; }
  bool HasMenu() const { return FHasMenu; }
  bool InClick() const { return FInClick; }
  // Made by the first repeating press, gone once the press is over.
  TTimer* RepeatTimer() const { return FRepeatTimer; }
  TButtonGlyph& ButtonGlyph() { return FGlyph; }
  // The picture's palette, for whoever realizes palettes for the toolbar.

  // The part of the button that clicks: all of it, less the arrow part of a split button with a menu.
  bool HitsMainPart(int x, int y) const;
  // Repaints without erasing the background first, unless the button lets its toolbar show through and
  // `erase` asks for it.
  void RequestRepaint(bool erase);
  // The click operation: toggles Down in a group, shows the button pressed while OnClick runs, or opens the
  // menu. Reached by the mouse, the accelerator and the Default and Cancel keys.
  void Click() override;

  // The one button the pointer is over, tracked by a shared timer; none when the pointer is elsewhere or the
  // application is inactive.
  static TToolbarButton97* HotButton();
  // The shared timer that ends the hot button's hover; null while no button exists.
  static TTimer* HoverTimer();

  void WndProc(TMessage& message) override;

protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void TextChanged() override { RequestRepaint(true); }

private:
  // What every button shares: the hot button and the timer that follows it, how many buttons live, the
  // checker brush with the colours it was made in, and the off-screen bitmap; all go with the last button.
  struct TShared {
    TToolbarButton97* Hot = nullptr;
    TTimer* HoverTimer = nullptr;
    bool InHoverTick = false;
    int LiveButtons = 0;
    TBitmapHandle CheckerBitmap;
    TBrushHandle CheckerBrush;
    COLORREF CheckerFace = 0;
    COLORREF CheckerHighlight = 0;
    // The off-screen bitmap opaque buttons paint through, kept from one paint to the next (made anew only
    // for a button larger than it): making one costs as much as drawing the glyph.
    std::optional<TMemoryDC> OffscreenDC;
    TBitmapHandle OffscreenBitmap;
    HGDIOBJ OffscreenDefaultBitmap = nullptr;
    TIntSize OffscreenSize;
    std::optional<TCanvas> OffscreenCanvas; // its font too goes with the rest
    void FreeChecker() {
      CheckerBrush.Reset();
      CheckerBitmap.Reset();
    }
    void FreeOffscreen() {
      if (OffscreenDC) SelectObject(OffscreenDC->Get(), OffscreenDefaultBitmap);
      OffscreenBitmap.Reset();
      OffscreenDC.reset();
      OffscreenSize = TIntSize{};
      OffscreenCanvas.reset();
    }
  };
  static TShared& Shared();
  static void HookNotify(THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam);
  static void HoverTimerTick();
  static HBRUSH CheckerBrush();
  // A canvas on the shared off-screen bitmap, at least width x height.
  static TCanvas& OffscreenCanvas(int width, int height);
  static void FreeSharedWhenUnused();

  TButtonFacts Facts() const;
  void ApplyEvent(TButtonEvent event);
  void SetDrawState(TButtonDrawState state);
  // Tells accessibility clients of its tool window when its state (or caption) is not what they were told.
  void AnnounceAccessibleChange();
  void SyncGroup();
  void UpdateOpaqueStyle();
  void PaintFace(TCanvas& canvas);
  void EnabledChanged();
  void CancelMode();
  void SysColorChanged();
  bool ParentCanFocus() const;
  bool HandleDialogKey(WPARAM key);
  bool HandleAccelerator(WPARAM character);
  void DoubleClicked(const TComponentWatch& watch);

  // Presses, repeating, the click operation, hovering.
  void StartRepeating();
  void RepeatTimerTick();
  void DropRepeatTimer();
  bool HoldsCapture() const;
  void EndCapture();
  void ShowPressedDuringClick();
  void EndClick();
  void BecomeHot();
  void HoverBegin();
  void HoverEnd();
  void StopHoverTimer();
  void RecheckHover();
  bool PointerOverThis(POINT screen) const;

  TButtonGlyph FGlyph;
  bool FAllowAllUp = false;
  TAlignment FAlignment = TAlignment::taCenter;
  bool FCancel = false;
  bool FDefault = false;
  TButtonDisplayMode FDisplayMode = TButtonDisplayMode::dmBoth;
  bool FDown = false;
  bool FDropdownArrow = true;
  bool FDropdownCombo = false;
  TPopupMenu* FDropdownMenu = nullptr;
  bool FFlat = true;
  int FGroupIndex = 0;
  int FHelpContext = 0;
  TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
  int FMargin = AutoMargin;
  int FModalResult = 0;
  bool FNoBorder = false;
  bool FOldDisabledStyle = false;
  bool FOpaque = true;
  bool FRepeating = false;
  int FRepeatDelay = DefaultRepeatDelay;
  int FRepeatInterval = DefaultRepeatInterval;
  bool FShowBorderWhenInactive = false;
  int FSpacing = DefaultSpacing;
  bool FWordWrap = false;
  bool FInClick = false;
  bool FMouseIn = false;
  bool FPressed = false;
  bool FMenuDown = false;
  bool FHasMenu = false;
  // Not owned by the button as a component: a click from its own tick may end the press that made it, so
  // it may have to outlive this moment (see DropRepeatTimer).
  TTimer* FRepeatTimer = nullptr;
  bool FInRepeatTick = false;
  TButtonDrawState FDrawState = TButtonDrawState::dsUp;
};

} // namespace qs
