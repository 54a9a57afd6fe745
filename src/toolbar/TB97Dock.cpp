#include "TB97Dock.h"

#include "BitmapCanvas.h"
#include "Exception.h"
#include "NonClientDC.h"
#include "TB97ToolWindow.h"

#include <algorithm>

namespace qs {

namespace {

TAlign AlignOf(TDockPosition position) {
  switch (position) {
  case dpTop: return TAlign::alTop;
  case dpBottom: return TAlign::alBottom;
  case dpLeft: return TAlign::alLeft;
  case dpRight: return TAlign::alRight;
  }
  return TAlign::alTop;
}

} // namespace

TDockOrientation DockOrientation(const TDock97* dock) {
  return dock ? DockOrientationOf(dock->Position()) : doFloating;
}

TDock97::TDock97(TComponent* owner) : TCustomControl(owner) {
  SetAlign(AlignOf(FPosition));
  SetColor(clBtnFace);
  FBackgroundLink = FBackground.Subscribe([this] { BackgroundChanged(); });
}

TDock97::~TDock97() {
  Destroying();
  FBackgroundLink.Reset();
  // The bars go with the dock's window; none of them may call back into a dock that is going.
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* bar = dynamic_cast<TCustomToolWindow97*>(Controls(i))) bar->FDockedTo = nullptr;
  FDockedBars.clear();
}

void TDock97::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WinClassName = L"QsDock97";
  // A resize repaints only what the arrangement changes; the tiles must not be redrawn from a new origin.
  params.ClassStyle &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
  params.Style |= WS_CLIPCHILDREN;
}

void TDock97::SetParent(TWinControl* parent) {
  if (dynamic_cast<TCustomToolWindow97*>(parent) || dynamic_cast<TDock97*>(parent))
    throw EInvalidOperation("A TDock97 control cannot be placed inside a tool window or another TDock97");
  TCustomControl::SetParent(parent);
}

void TDock97::SetAllowDrag(bool allow) {
  if (allow == FAllowDrag) return;
  FAllowDrag = allow;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* bar = dynamic_cast<TCustomToolWindow97*>(Controls(i))) bar->FrameChanged();
}

void TDock97::SetBackground(const TBitmap& picture) { FBackground.Assign(picture); }

void TDock97::SetBackgroundOnToolbars(bool on) {
  if (on == FBackgroundOnToolbars) return;
  FBackgroundOnToolbars = on;
  RedrawDockAndBars();
}

void TDock97::SetBackgroundTransparent(bool transparent) {
  if (transparent == FBackgroundTransparent) return;
  FBackgroundTransparent = transparent;
  if (BackgroundUsable()) BackgroundChanged();
}

void TDock97::SetBoundLines(TDockBoundLines lines) {
  if (lines == FBoundLines) return;
  FBoundLines = lines;
  FrameChanged();
}

void TDock97::SetFixAlign(bool fixAlign) {
  if (fixAlign == FFixAlign) return;
  FFixAlign = fixAlign;
  ArrangeBars();
}

void TDock97::SetPosition(TDockPosition position) {
  if (position == FPosition) return;
  if (ControlCount() > 0)
    throw EInvalidOperation("Cannot change Position of a TDock97 if it already contains controls");
  FPosition = position;
  SetAlign(AlignOf(position));
}

void TDock97::Loaded() {
  TCustomControl::Loaded();
  ArrangeBars();
}

void TDock97::AlignControls() { ArrangeBars(); }

// Any change of a child's bounds or visibility re-arranges the rows; the arrangement's own placing of its bars
// comes back here while the arrange counter is held and changes nothing.
void TDock97::AlignControl(TControl*) { ArrangeBars(); }

void TDock97::EndArrange() {
  if (--FArrangeLevel == 0 && FArrangePending) ArrangeBars();
}

TDockBars TDock97::BarRecords() const {
  TDockBars bars;
  bars.reserve(FDockedBars.size());
  const TDockOrientation orientation = DockOrientationOf(FPosition);
  for (size_t i = 0; i < FDockedBars.size(); ++i) {
    TCustomToolWindow97* bar = FDockedBars[i];
    TDockBarLayout record;
    record.Tag = static_cast<int>(i);
    record.DockRow = bar->FDockRow;
    record.DockPos = bar->FDockPos;
    record.FullSize = bar->FFullSize;
    record.Width = bar->Width();
    record.Height = bar->Height();
    record.Thickness = bar->GetDockedThickness(orientation);
    bars.push_back(record);
  }
  return bars;
}

void TDock97::ApplyBarRows(const TDockBars& bars) {
  for (const TDockBarLayout& record : bars) {
    TCustomToolWindow97* bar = FDockedBars.at(static_cast<size_t>(record.Tag));
    bar->FDockRow = record.DockRow;
    bar->FDockPos = record.DockPos;
  }
}

void TDock97::ArrangeBars() {
  if (FArrangeLevel > 0 || IsLoading() || IsDestroying()) {
    FArrangePending = true;
    return;
  }
  ++FArrangeLevel;
  struct TRelease {
    TDock97* Dock;
    ~TRelease() {
      --Dock->FArrangeLevel;
      Dock->FArrangePending = false;
    }
  } release{this};

  if (HandleAllocated())
    SetWindowPos(HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  TDockBars bars = BarRecords();
  const RECT client = ClientRect();
  TDockArrangeParams params;
  params.Vertical = Vertical();
  params.ClientSize = TIntSize{client.right - client.left, client.bottom - client.top};
  params.FixAlign = FFixAlign;
  params.LimitToOneRow = FLimitToOneRow;
  const TDockArrangement arrangement = qs::ArrangeBars(bars, params);

  // The list takes the arranged order; every bar its row, position and bounds.
  std::vector<TCustomToolWindow97*> ordered;
  ordered.reserve(bars.size());
  for (const TDockBarLayout& record : bars) ordered.push_back(FDockedBars.at(static_cast<size_t>(record.Tag)));
  ApplyBarRows(bars);
  FDockedBars = std::move(ordered);
  FRowThicknesses = arrangement.RowThicknesses;
  for (size_t i = 0; i < bars.size(); ++i) {
    TCustomToolWindow97* bar = FDockedBars[i];
    const TIntRect& r = bars[i].Bounds;
    TCounterLock updating(bar->FUpdatingBounds);
    bar->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }
  SetDockSize(DockBoundsAfterArrange(FPosition, ToIntRect(BoundsRect()), params.ClientSize, arrangement));
}

void TDock97::SetDockSize(const TIntRect& bounds) {
  SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

void TDock97::InsertOrRemoveBar(bool inserting, TCustomToolWindow97* bar, bool visible) {
  const auto it = std::find(FDockedBars.begin(), FDockedBars.end(), bar);
  bool changed = false;
  if (inserting) {
    if (it != FDockedBars.end()) FDockedBars.erase(it);
    if (visible) {
      FDockedBars.push_back(bar);
      changed = true;
    }
  } else if (it != FDockedBars.end()) {
    FDockedBars.erase(it);
    changed = true;
  }
  if (!changed) return;
  ArrangeBars();
  bar->ArrangeAndResize();
  if (OnInsertRemoveBar) OnInsertRemoveBar(this, inserting, bar);
}

int TDock97::HighestRow() const { return qs::HighestRow(BarRecords()); }

void TDock97::BuildRowThicknesses() { FRowThicknesses = qs::BuildRowThicknesses(BarRecords()); }

int TDock97::GetRowThickness(int row, const TCustomToolWindow97* bar) const {
  const int barThickness =
      bar ? const_cast<TCustomToolWindow97*>(bar)->GetDockedThickness(DockOrientationOf(FPosition)) : 0;
  return qs::GetRowThickness(FRowThicknesses, row, barThickness);
}

int TDock97::RowAtOffset(int offset) const { return qs::RowAtOffset(FRowThicknesses, HighestRow(), offset); }

TDropRow TDock97::FindDropRow(int offset) const { return qs::FindDropRow(FRowThicknesses, HighestRow(), offset); }

void TDock97::InsertRow(int row) {
  TDockBars bars = BarRecords();
  qs::InsertRow(bars, row);
  ApplyBarRows(bars);
}

int TDock97::CountBarsInRow(int row, const TCustomToolWindow97* exceptBar) const {
  const auto it = std::find(FDockedBars.begin(), FDockedBars.end(), exceptBar);
  const int exceptTag = it == FDockedBars.end() ? NoBar : static_cast<int>(it - FDockedBars.begin());
  return qs::CountBarsInRow(BarRecords(), row, exceptTag);
}

// ---- background

bool TDock97::BackgroundUsable() const { return !FBackground.Empty(); }

const TBitmap& TDock97::BackgroundPicture() {
  if (!FBackgroundTransparent) return FBackground;
  if (!FTransparentCache) {
    // The background with its transparent colour (its bottom-left pixel) replaced by the dock's colour.
    TBitmap cache;
    cache.SetPalette(FBackground.Palette());
    cache.SetBrushColor(Color());
    cache.SetSize(FBackground.Width(), FBackground.Height());
    {
      // The canvas paints with the cache's brush colour, the dock's.
      TBitmapCanvas canvas(cache);
      const RECT whole{0, 0, FBackground.Width(), FBackground.Height()};
      canvas.Canvas().BrushCopy(whole, FBackground, whole, FBackground.TransparentColor());
    }
    FTransparentCache = std::move(cache);
  }
  return *FTransparentCache;
}

void TDock97::DrawBackground(HDC dc, const RECT& clipRect, const RECT& drawRect, const RECT* excludeRect) {
  if (!BackgroundUsable()) return;
  const TBitmap& picture = BackgroundPicture();
  TSavedDC saved(dc);
  IntersectClipRect(dc, clipRect.left, clipRect.top, clipRect.right, clipRect.bottom);
  if (excludeRect) ExcludeClipRect(dc, excludeRect->left, excludeRect->top, excludeRect->right, excludeRect->bottom);
  if (HPALETTE palette = picture.Palette().Handle()) {
    SelectPalette(dc, palette, TRUE);
    RealizePalette(dc);
  }
  TMemoryDC source(dc);
  TSelectGuard select(source.Get(), picture.Handle());
  for (const TIntPoint& at : BackgroundTileOrigins(ToIntRect(drawRect), TIntSize{picture.Width(), picture.Height()}))
    BitBlt(dc, at.X, at.Y, picture.Width(), picture.Height(), source.Get(), 0, 0, SRCCOPY);
}

POINT TDock97::BackgroundOrigin(HWND wnd, bool windowCoordinates) const {
  POINT origin{0, 0};
  if (Parent() && Parent()->HandleAllocated()) ::ClientToScreen(Parent()->HandleIfAllocated(), &origin);
  if (windowCoordinates) {
    RECT window{};
    GetWindowRect(wnd, &window);
    return POINT{origin.x - window.left, origin.y - window.top};
  }
  POINT client{0, 0};
  ::ClientToScreen(wnd, &client);
  return POINT{origin.x - client.x, origin.y - client.y};
}

void TDock97::RedrawDockAndBars() {
  Invalidate();
  for (TCustomToolWindow97* bar : FDockedBars) {
    bar->RedrawNonClient();
    bar->Invalidate();
  }
}

void TDock97::BackgroundChanged() {
  FTransparentCache.reset();
  RedrawDockAndBars();
}

void TDock97::Paint() {
  const RECT client = ClientRect();
  if (!BackgroundUsable() || !HandleAllocated()) {
    Canvas().FillRect(client, Color());
    return;
  }
  const POINT origin = BackgroundOrigin(HandleIfAllocated(), false);
  const RECT drawRect{origin.x, origin.y, client.right, client.bottom};
  DrawBackground(Canvas().Handle(), client, drawRect, nullptr);
}

// ---- frame

void TDock97::PaintNonClient(HDC dc) {
  RECT window{};
  GetWindowRect(HandleIfAllocated(), &window);
  const int right = window.right - window.left, bottom = window.bottom - window.top;
  constexpr int MinFramedSize = 2;
  if (right < MinFramedSize || bottom < MinFramedSize) return;
  TPenHandle shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  TPenHandle highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
  auto line = [dc](HPEN pen, int x1, int y1, int x2, int y2) {
    TSelectGuard select(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
  };
  if (FBoundLines & blTop) line(shadow.Get(), 0, 0, right, 0);
  if (FBoundLines & blLeft) line(shadow.Get(), 0, 0, 0, bottom);
  if (FBoundLines & blBottom) line(highlight.Get(), 0, bottom - 1, right, bottom - 1);
  if (FBoundLines & blRight) line(highlight.Get(), right - 1, 0, right - 1, bottom);
}

void TDock97::WndProc(TMessage& message) {
  switch (message.Msg) {
  case WM_NCCALCSIZE: {
    DefaultHandler(message);
    auto* r = reinterpret_cast<RECT*>(message.LParam);
    const TIntRect client = DockClientWithBoundLines(ToIntRect(*r), FBoundLines & blTop, FBoundLines & blBottom,
                                                     FBoundLines & blLeft, FBoundLines & blRight);
    *r = ToRect(client);
    return;
  }
  case WM_NCPAINT:
    DefaultHandler(message);
    PaintNonClientFromMessage(message);
    return;
  case WM_SIZE:
    TCustomControl::WndProc(message);
    ArrangeBars();
    if (OnResize) OnResize(this);
    return;
  case WM_MOVE:
    TCustomControl::WndProc(message);
    if (BackgroundUsable()) RedrawDockAndBars();
    return;
  case CM_COLORCHANGED:
  case CM_SYSCOLORCHANGE:
    TCustomControl::WndProc(message);
    if (BackgroundUsable()) BackgroundChanged();
    return;
  default: break;
  }
  TCustomControl::WndProc(message);
}

} // namespace qs
