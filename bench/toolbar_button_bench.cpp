// What the main window's toolbar buttons cost to hover and to paint, measured on the real main window:
//   - the pointer crosses the toolbar from left to right, a few pixels at a time, each move posted to the
//     toolbar's window with the cursor really there; every WM_PAINT of the toolbar is examined (which buttons
//     its update region meets, how much of it lies outside the buttons, whether the background was erased),
//     so the figures show how many buttons each change of the hot button repaints;
//   - one hot button's repaint (PaintControl into a memory DC: frame, picture, off-screen bitmap) against a
//     bare DrawEdge plus ImageList_DrawEx of the same ready glyph image into the same DC.
// Timings take turns, round after round, and each figure is the best of its rounds.
#include "BenchKit.h"
#include "TB97Button.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

using namespace qs;
using namespace qs::bench;

namespace {

constexpr int kRounds = 5;
constexpr int kPaints = 20000;
constexpr int kStep = 3; // pixels per pointer move

struct TPaintLog {
  std::vector<TToolbarButton97*> Buttons;
  int Paints = 0;
  int Erases = 0;
  int ButtonsRepainted = 0;
  int MostButtonsInOnePaint = 0;
  // Buttons repainted although they look as at the paint before.
  int NeedlessRepaints = 0;
  std::vector<std::pair<TButtonDrawState, bool>> Looks;
  long BackgroundPixels = 0;
  WNDPROC Original = nullptr;
};
TPaintLog Log;

long RegionArea(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (!GetRegionData(region, size, data)) return 0;
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  long area = 0;
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    area += static_cast<long>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
  return area;
}

// Sees each WM_PAINT of the toolbar before the toolbar does: the update region tells what will be painted.
LRESULT CALLBACK ToolbarProbe(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ERASEBKGND) ++Log.Erases;
  if (msg == WM_PAINT) {
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    if (GetUpdateRgn(wnd, update, FALSE) != NULLREGION) {
      ++Log.Paints;
      int buttons = 0;
      HRGN outside = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(outside, update, nullptr, RGN_COPY);
      for (size_t i = 0; i < Log.Buttons.size(); ++i) {
        TToolbarButton97* b = Log.Buttons[i];
        const RECT r = b->BoundsRect();
        const std::pair<TButtonDrawState, bool> look{b->DrawState(), b->MouseIn()};
        if (RectInRegion(update, &r)) {
          ++buttons;
          if (look == Log.Looks[i]) ++Log.NeedlessRepaints;
        }
        Log.Looks[i] = look;
        HRGN button = CreateRectRgnIndirect(&r);
        CombineRgn(outside, outside, button, RGN_DIFF);
        DeleteObject(button);
      }
      Log.ButtonsRepainted += buttons;
      Log.MostButtonsInOnePaint = std::max(Log.MostButtonsInOnePaint, buttons);
      Log.BackgroundPixels += RegionArea(outside);
      DeleteObject(outside);
    }
    DeleteObject(update);
  }
  return CallWindowProcW(Log.Original, wnd, msg, wParam, lParam);
}

void CrossTheToolbar(TMain& main, TApplication& application) {
  HWND toolbar = main.Toolbar971->Handle();
  Log.Original =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(toolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolbarProbe)));
  Log.Buttons = {main.Newbutton,        main.ToolbarButton972, main.Deletebutton,
                 main.ToolbarButton973, main.ToolbarButton974, main.Encode};
  for (TToolbarButton97* b : Log.Buttons) Log.Looks.emplace_back(b->DrawState(), b->MouseIn());
  const int y = main.Newbutton->Top() + main.Newbutton->Height() / 2;
  const int right = main.Encode->Left() + main.Encode->Width() + 10;
  // Start off the buttons, with everything painted.
  const POINT start = main.Toolbar971->ClientToScreen(POINT{-4, y});
  SetCursorPos(start.x, start.y);
  application.ProcessMessages();
  const TPaintLog before = Log;
  int moves = 0, hotChanges = 0;
  TToolbarButton97* hot = TToolbarButton97::HotButton();
  for (int x = 0; x < right; x += kStep) {
    const POINT s = main.Toolbar971->ClientToScreen(POINT{x, y});
    SetCursorPos(s.x, s.y);
    PostMessageW(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    application.ProcessMessages();
    ++moves;
    if (TToolbarButton97::HotButton() != hot) {
      hot = TToolbarButton97::HotButton();
      ++hotChanges;
    }
  }
  SetWindowLongPtrW(toolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Log.Original));
  const int paints = Log.Paints - before.Paints;
  const int repainted = Log.ButtonsRepainted - before.ButtonsRepainted;
  std::printf("toolbar_button_bench: the pointer crosses the main window's toolbar, %d moves of %d pixels\n", moves,
              kStep);
  std::printf("  changes of the hot button            %6d\n", hotChanges);
  std::printf("  WM_PAINT of the toolbar              %6d\n", paints);
  std::printf("  buttons repainted                    %6d  (%.2f per change of the hot button)\n", repainted,
              hotChanges ? static_cast<double>(repainted) / hotChanges : 0.0);
  std::printf("  most buttons in one paint            %6d\n", Log.MostButtonsInOnePaint);
  std::printf("  buttons repainted with their look unchanged %d\n", Log.NeedlessRepaints - before.NeedlessRepaints);
  std::printf("  toolbar pixels repainted outside the buttons %ld\n", Log.BackgroundPixels - before.BackgroundPixels);
  std::printf("  background erases (WM_ERASEBKGND)    %6d\n", Log.Erases - before.Erases);
}

void TimeOneRepaint(TMain& main, TApplication& application) {
  TToolbarButton97& button = *main.ToolbarButton972;
  // The button hot, as under the pointer: the raised frame and its picture.
  const POINT over = button.ClientToScreen(POINT{11, 11});
  SetCursorPos(over.x, over.y);
  const POINT inToolbar = main.Toolbar971->ScreenToClient(over);
  PostMessageW(main.Toolbar971->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(inToolbar.x, inToolbar.y));
  application.ProcessMessages();
  if (button.DrawState() != TButtonDrawState::dsMouseIn)
    std::fprintf(stderr, "toolbar_button_bench: the button did not become hot\n");

  TWindowDC screen(nullptr);
  TMemoryDC dc(screen.Get());
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), button.Width(), button.Height()));
  TSelectGuard select(dc.Get(), bitmap.Get());
  const TGlyphSlot image = button.ButtonGlyph().EnsureStateImage(TButtonDrawState::dsMouseIn);
  HIMAGELIST list = button.ButtonGlyph().List(image.Normal)->Handle();
  RECT frame{0, 0, button.Width(), button.Height()};
  std::vector<TMeasure> measures = {
      {"bare DrawEdge + ImageList_DrawEx", kPaints,
       [&] {
         RECT r = frame;
         DrawEdge(dc.Get(), &r, BDR_RAISEDINNER, BF_RECT);
         ImageList_DrawEx(list, image.Slot, dc.Get(), 4, 3, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
       }},
      {"button repaint (opaque: off-screen bitmap)", kPaints, [&] { button.PaintControl(dc.Get()); }},
      // Put into the measured style for its batch only, and back.
      {"button repaint (flat, not opaque: direct)", kPaints, [&] { button.PaintControl(dc.Get()); },
       [&](bool on) { button.SetOpaque(!on); }},
  };
  TimeInTurns(measures, kRounds, [&] { application.ProcessMessages(); });
  std::printf("toolbar_button_bench: one hot 23 x 22 button with a 16 x 16 glyph into a memory DC, best of %d "
              "rounds of %d\n",
              kRounds, kPaints);
  PrintAgainstFirst(measures);
}

} // namespace

int main() {
  TApplication application;
  TMain* main = OpenMainWindow(application, "toolbar_button_bench");
  CrossTheToolbar(*main, application);
  TimeOneRepaint(*main, application);
  return 0;
}
