// What a toolbar button's picture costs, against a bare ImageList_DrawEx of the same 16 x 16 glyph into the
// same memory DC, measured in the same run:
//   - drawing a ready state image (DrawStateImage: the slot lookup and one image-list call);
//   - DrawContent of a glyph-only 23 x 22 button (layout plus the draw);
//   - building a state image from scratch (DropImages, then the first draw), normal and generated disabled.
// The measurements take turns, round after round, and each figure is the best of its rounds, so that a slow
// moment of the machine (which other work shares) does not fall on one of them only.
#include "BenchKit.h"
#include "Bitmap.h"
#include "BitmapCanvas.h"
#include "ImageList.h"
#include "TB97ButtonGlyph.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <vector>

using namespace qs;
using namespace qs::bench;

namespace {

constexpr int kRepetitions = 5;
constexpr int kDraws = 20000;
constexpr int kBuilds = 500;

} // namespace

int main() {
  TBitmap add;
  add.LoadFromResourceName(L"GLYPH_ADD");
  TBitmap target;
  target.SetSize(23, 22);
  TBitmapCanvas canvas(target);

  TImageList bare(16, 16);
  const int index = bare.AddMasked(add, add.TransparentColor());
  TButtonGlyph glyph;
  glyph.SetGlyph(add);
  const auto rebuild = [&](TButtonDrawState state) {
    glyph.DropImages();
    glyph.DrawStateImage(canvas.Canvas(), TIntPoint{4, 3}, state);
  };
  std::vector<TMeasure> measures = {
      {"bare ImageList_DrawEx", kDraws,
       [&] {
         ImageList_DrawEx(bare.Handle(), index, canvas.Handle(), 4, 3, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
       }},
      {"DrawStateImage, image ready", kDraws,
       [&] {
         glyph.DrawStateImage(canvas.Canvas(), TIntPoint{4, 3}, TButtonDrawState::dsUp);
       }},
      {"DrawContent, glyph-only button", kDraws,
       [&] {
         glyph.DrawContent(canvas.Canvas(), TIntRect{1, 1, 22, 21}, {}, true, false, "", false, TAlignment::taCenter,
                           TButtonLayout::blGlyphLeft, AutoMargin, 4, false, TButtonDrawState::dsUp);
       }},
      {"build + draw, normal image", kBuilds, [&] { rebuild(TButtonDrawState::dsUp); }},
      {"build + draw, generated disabled", kBuilds, [&] { rebuild(TButtonDrawState::dsDisabled); }},
  };
  TimeInTurns(measures, kRepetitions);
  std::printf("glyph_bench: 16 x 16 glyph into a memory DC, best of %d rounds\n", kRepetitions);
  PrintAgainstFirst(measures);
  return 0;
}
