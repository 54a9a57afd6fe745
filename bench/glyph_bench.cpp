// What a toolbar button's picture costs, against a bare ImageList_DrawEx of the same 16 x 16 glyph into the
// same memory DC, measured in the same run:
//   - drawing a ready state image (DrawStateImage: the slot lookup and one image-list call);
//   - DrawContent of a glyph-only 23 x 22 button (layout plus the draw);
//   - building a state image from scratch (DropImages, then the first draw), normal and generated disabled.
// The measurements take turns, round after round, and each figure is the best of its rounds, so that a slow
// moment of the machine (which other work shares) does not fall on one of them only.
#include "Bitmap.h"
#include "BitmapCanvas.h"
#include "ImageList.h"
#include "TB97ButtonGlyph.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace qs;

namespace {

constexpr int kRepetitions = 5;
constexpr int kDraws = 20000;
constexpr int kBuilds = 500;

using TClock = std::chrono::steady_clock;

struct TMeasure {
  int Count;
  std::function<void()> Work;
  double Best = 0; // microseconds per call
};

void Measure(std::vector<TMeasure>& measures) {
  for (int r = 0; r < kRepetitions; ++r)
    for (TMeasure& m : measures) {
      const auto start = TClock::now();
      for (int i = 0; i < m.Count; ++i) m.Work();
      const double us = std::chrono::duration<double, std::micro>(TClock::now() - start).count() / m.Count;
      m.Best = r == 0 ? us : std::min(m.Best, us);
    }
}

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
      {kDraws,
       [&] {
         ImageList_DrawEx(bare.Handle(), index, canvas.Handle(), 4, 3, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
       }},
      {kDraws,
       [&] {
         glyph.DrawStateImage(canvas.Canvas(), TIntPoint{4, 3}, TButtonDrawState::dsUp);
       }},
      {kDraws,
       [&] {
         glyph.DrawContent(canvas.Canvas(), TIntRect{1, 1, 22, 21}, {}, true, false, "", false, TAlignment::taCenter,
                           TButtonLayout::blGlyphLeft, AutoMargin, 4, false, TButtonDrawState::dsUp);
       }},
      {kBuilds, [&] { rebuild(TButtonDrawState::dsUp); }},
      {kBuilds, [&] { rebuild(TButtonDrawState::dsDisabled); }},
  };
  Measure(measures);
  const double baseline = measures[0].Best, ready = measures[1].Best, content = measures[2].Best;
  const double buildUp = measures[3].Best, buildDisabled = measures[4].Best;

  std::printf("glyph_bench: 16 x 16 glyph into a memory DC, best of %d rounds\n", kRepetitions);
  std::printf("  bare ImageList_DrawEx             %8.2f us  (baseline)\n", baseline);
  std::printf("  DrawStateImage, image ready       %8.2f us  %6.2f x baseline\n", ready, ready / baseline);
  std::printf("  DrawContent, glyph-only button    %8.2f us  %6.2f x baseline\n", content, content / baseline);
  std::printf("  build + draw, normal image        %8.2f us  %6.1f x baseline\n", buildUp, buildUp / baseline);
  std::printf("  build + draw, generated disabled  %8.2f us  %6.1f x baseline\n", buildDisabled,
              buildDisabled / baseline);
  return 0;
}
