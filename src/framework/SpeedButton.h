#pragma once
// A flat windowless button with a glyph and/or a caption: flat until the pointer is over it, raised while
// hovered, sunken while pressed. The disabled look is drawn from the glyph itself (embossed), so no second
// picture is needed.
#include "Bitmap.h"
#include "GraphicControl.h"

namespace qs {

class TSpeedButton : public TGraphicControl {
public:
  explicit TSpeedButton(TComponent* owner);

  TBitmap& Glyph() { return FGlyph; }
  void SetGlyphResource(const wchar_t* name);
  bool MouseInControl() const { return FMouseInControl; }

  enum class TState { bsUp, bsHot, bsDown, bsDisabled };
  TState State() const;

  void WndProc(TMessage& message) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  void PaintGlyph(const RECT& content, bool enabled);
  // White where the glyph shows its transparent colour, black where it draws.
  static void BuildMask(HDC glyphDC, HDC maskDC, int w, int h, COLORREF transparent);
  void PaintCaption(const RECT& content, bool enabled);

  static constexpr int Spacing = 4; // between glyph and caption

  TBitmap FGlyph;
  bool FMouseInControl = false;
  bool FPressed = false;
  bool FPointerInsideWhilePressed = false;
};

} // namespace qs
