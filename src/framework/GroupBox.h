#pragma once
// A captioned frame that holds other controls. It paints itself: its colour behind everything, an etched
// frame whose top edge runs through the middle of the caption's line, and the caption cut into that edge.
#include "CustomControl.h"

namespace qs {

class TGroupBox : public TCustomControl {
public:
  // Where the caption starts, from the box's left edge.
  static constexpr int CaptionLeft = 8;

  explicit TGroupBox(TComponent* owner);

  // Where the frame and the caption go in a box of `client` size with a caption line `lineHeight` high and
  // a caption `captionWidth` wide:
  //
  //     ----[ Caption ]--------      <- frame top at the middle of the caption line
  //     |                     |
  //     -----------------------
  static RECT FrameRect(const RECT& client, int lineHeight);
  static RECT CaptionRect(int lineHeight, int captionWidth);

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

private:
  int LineHeight();
};

} // namespace qs
