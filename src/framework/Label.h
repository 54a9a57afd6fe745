#pragma once
// A line (or a wrapped block) of static text drawn on its parent, without a window of its own. An ampersand
// marks the next character as the accelerator and shows it underlined; "&&" shows one ampersand.
#include "GraphicControl.h"

namespace qs {

class TLabel : public TGraphicControl {
public:
  explicit TLabel(TComponent* owner);

  // Fits the label to its text whenever the caption or the font changes. With WordWrap only the height
  // follows: the width is the one the layout gave, and the text wraps within it.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool autoSize);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool wordWrap);
  // A transparent label paints only its text, so whatever its parent drew shows around the glyphs.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool show);

protected:
  void Paint() override;
  void TextChanged() override;
  void FontChanged() override;
  void Loaded() override;

private:
  UINT TextFlags() const;
  // What DrawText is given: an empty caption is measured as one space so that the label keeps a line's
  // height and stays visible to the pointer.
  std::string MeasuredText() const;
  SIZE MeasureText() const;
  void AdjustBounds();
  void DrawCaption(RECT r, TColor color);

  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = true;
  bool FShowAccelChar = true;
};

} // namespace qs
