#pragma once
// The paths of a shell drop, read straight from the DROPFILES block behind its handle in one pass.
//
// DragQueryFileW finds path i by walking the block from its start, so asking it for every path in turn costs
// the square of their number (10,000 paths took over a second that way under Wine). Each path is taken whole,
// whatever its length; the walk stops at the block's end even when the list's closing zero is missing. The
// block stays locked while the reader lives; it does not release the drop.
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace qs {

class TDropBlock {
public:
  explicit TDropBlock(HDROP drop);
  ~TDropBlock();
  TDropBlock(const TDropBlock&) = delete;
  TDropBlock& operator=(const TDropBlock&) = delete;

  // Every path as UTF-8, in the block's order; none when the handle holds no readable block.
  std::vector<std::string> Paths() const;

private:
  HDROP FDrop;
  const DROPFILES* FHeader;
  SIZE_T FSize;
};

} // namespace qs
