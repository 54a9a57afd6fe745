#pragma once
// A toolbar separator: a gap between groups of buttons with an etched line across the line of buttons, a wrap
// point for a floating toolbar, and a place a press on starts dragging the toolbar.
#include "GraphicControl.h"
#include "TB97TlbrLayout.h"

namespace qs {

class TToolbarSep97 : public TGraphicControl {
public:
  static constexpr int DefaultSize = DefaultSeparatorSize;

  explicit TToolbarSep97(TComponent* owner);

  bool Blank() const { return FBlank; }
  void SetBlank(bool blank);
  // The gap along the line of a horizontal (or floating) toolbar, and of a vertical one; at least 1.
  int SizeHorz() const { return FSizeHorz; }
  void SetSizeHorz(int size);
  int SizeVert() const { return FSizeVert; }
  void SetSizeVert(int size);

  // Only a toolbar (or no parent) may hold a separator.
  void SetParent(TWinControl* parent) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  void SizeChanged();

  bool FBlank = false;
  int FSizeHorz = DefaultSize;
  int FSizeVert = DefaultSize;
};

} // namespace qs
