#pragma once
// One drag of one tool window, from the press to the drop: while the left button is held the outline shows
// where the window would go (the docked shape over a dock that takes it, the floating shape elsewhere); on
// release the window docks into a row or floats at the outline. Ctrl keeps it from docking, Escape cancels.
#include "TB97DragLayout.h"
#include "TB97Outline.h"

#include <windows.h>

#include <vector>

namespace qs {

class TCustomToolWindow97;
class TDock97;
class TWinControl;

class TDragLoop {
public:
  // x, y: the press in the window's client coordinates (negative over the handle or the frame).
  TDragLoop(TCustomToolWindow97& window, int x, int y);

  // Takes the mouse and runs until the button is released or the drag is cancelled; then drops.
  void Run();
  // The cursor moved (or Ctrl changed): finds the target and moves the outline.
  void MouseMoved();

  // The docks that may take the window, in the order their zones are tried.
  TDock97* Target() const { return FTarget; }
  const TIntRect& OutlineRect() const { return FOutlineRect; }

private:
  struct TSizeRecord {
    TDock97* Dock; // none: the floating shape
    TIntSize Size; // whole-window pixels
  };

  void Collect(TWinControl* control);
  void MakeSizeRecords();
  const TSizeRecord& SizeOf(TDock97* dock) const;
  // True when the loop ends.
  bool Handle(const MSG& msg, bool& accepted);
  void Drop();

  TCustomToolWindow97& FWindow;
  TDragGrab FGrab;
  bool FNoDock = false;
  std::vector<TDock97*> FDocks;
  std::vector<TSizeRecord> FSizes;
  TDock97* FTarget = nullptr;
  TIntRect FOutlineRect;
  TOutlineWindow FOutline;
};

} // namespace qs
