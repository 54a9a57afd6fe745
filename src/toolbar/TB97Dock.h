#pragma once
// A dock: a windowed control aligned to one edge of its parent that holds tool windows in rows, sizes itself to
// them, paints an optional tiled background its bars can share, draws optional bound lines, and is the target
// the drag loop asks about. An empty dock takes no room at run time (one pixel with FixAlign).
#include "Bitmap.h"
#include "CustomControl.h"
#include "TB97DockLayout.h"

#include <functional>
#include <optional>
#include <vector>

namespace qs {

class TCustomToolWindow97;

enum TDockBoundLinesValue : unsigned { blTop = 1u << 0, blBottom = 1u << 1, blLeft = 1u << 2, blRight = 1u << 3 };
using TDockBoundLines = unsigned;

// DockOrientation of a dock reference: floating (none), horizontal or vertical.
class TDock97;
TDockOrientation DockOrientation(const TDock97* dock);

using TInsertRemoveEvent = std::function<void(TComponent* sender, bool inserting, TCustomToolWindow97* bar)>;
using TRequestDockEvent = std::function<void(TComponent* sender, TCustomToolWindow97* bar, bool& accept)>;

class TDock97 : public TCustomControl {
public:
  // Stored size of an empty dock in a form's layout; it takes no room once the program runs.
  static constexpr int DesignThickness = 9;

  explicit TDock97(TComponent* owner);
  ~TDock97() override;

  bool AllowDrag() const { return FAllowDrag; }
  void SetAllowDrag(bool allow);
  // The tiled background (a copy is kept). An empty picture means none.
  const TBitmap& Background() const { return FBackground; }
  void SetBackground(const TBitmap& picture);
  bool BackgroundOnToolbars() const { return FBackgroundOnToolbars; }
  void SetBackgroundOnToolbars(bool on);
  bool BackgroundTransparent() const { return FBackgroundTransparent; }
  void SetBackgroundTransparent(bool transparent);
  TDockBoundLines BoundLines() const { return FBoundLines; }
  void SetBoundLines(TDockBoundLines lines);
  bool FixAlign() const { return FFixAlign; }
  void SetFixAlign(bool fixAlign);
  bool LimitToOneRow() const { return FLimitToOneRow; }
  void SetLimitToOneRow(bool limit) { FLimitToOneRow = limit; }
  TDockPosition Position() const { return FPosition; }
  // Refused while the dock holds any control: its bars are laid out for the old edge.
  void SetPosition(TDockPosition position);

  TInsertRemoveEvent OnInsertRemoveBar;
  TRequestDockEvent OnRequestDock;
  TNotifyEvent OnResize;

  // The tool windows docked here that take part in the arrangement, in their arranged order.
  const std::vector<TCustomToolWindow97*>& DockedBars() const { return FDockedBars; }

  void ArrangeBars();
  void BeginArrange() { ++FArrangeLevel; }
  void EndArrange();
  void InsertOrRemoveBar(bool inserting, TCustomToolWindow97* bar, bool visible);
  int HighestRow() const;
  void BuildRowThicknesses();
  const std::vector<int>& RowThicknesses() const { return FRowThicknesses; }
  // The stored thickness of `row`; past the stored rows, `bar`'s own docked thickness (0 without a bar).
  int GetRowThickness(int row, const TCustomToolWindow97* bar) const;
  int RowAtOffset(int offset) const;
  TDropRow FindDropRow(int offset) const;
  void InsertRow(int row);
  int CountBarsInRow(int row, const TCustomToolWindow97* exceptBar) const;
  // The bars' placement as the arrangement code sees it (Tag = index in DockedBars).
  TDockBars BarRecords() const;
  // Writes rows (and positions) changed by the arrangement code back to the bars.
  void ApplyBarRows(const TDockBars& bars);

  // Tiles the background over drawRect (whose top-left is the dock parent's client origin in dc's
  // coordinates), clipped to clipRect, leaving out excludeRect when given.
  void DrawBackground(HDC dc, const RECT& clipRect, const RECT& drawRect, const RECT* excludeRect);
  bool BackgroundUsable() const;
  void RedrawDockAndBars();
  void BackgroundChanged();
  // Where DrawBackground's drawRect starts for a DC of `wnd` (the dock or one of its bars): the dock parent's
  // client origin in that window's client (or, with windowCoordinates, window) coordinates.
  POINT BackgroundOrigin(HWND wnd, bool windowCoordinates) const;

  void SetParent(TWinControl* parent) override;
  void AlignControl(TControl* control) override;
  void PaintNonClient(HDC dc) override;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void Loaded() override;
  void AlignControls() override;
  void Paint() override;

private:
  bool Vertical() const { return IsVerticalDock(FPosition); }
  void SetDockSize(const TIntRect& bounds);
  const TBitmap& BackgroundPicture();

  bool FAllowDrag = true;
  TBitmap FBackground;
  TChangeLink FBackgroundLink;
  // The background with its transparent colour replaced by the dock's colour, made on first use.
  std::optional<TBitmap> FTransparentCache;
  bool FBackgroundOnToolbars = true;
  bool FBackgroundTransparent = false;
  TDockBoundLines FBoundLines = 0;
  bool FFixAlign = false;
  bool FLimitToOneRow = false;
  TDockPosition FPosition = dpTop;
  std::vector<TCustomToolWindow97*> FDockedBars;
  std::vector<int> FRowThicknesses;
  int FArrangeLevel = 0;
  bool FArrangePending = false;
};

} // namespace qs
