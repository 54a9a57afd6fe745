#pragma once
// The process-wide set of shared glyph lists, one per image size, so that buttons whose pictures have the
// same size share one system image list. It exists while any button glyph does, and a list leaves it when
// its last used slot is given back.
#include "TB97GlyphList.h"

#include <memory>
#include <vector>

namespace qs {

class TGlyphCache {
public:
  // The list of exactly that image size (the newest such, should there be more), made when there is none.
  TGlyphList* AcquireList(int width, int height);
  // Frees the list when no slot of it is used any more.
  void ReleaseList(TGlyphList* list);
  bool IsEmpty() const { return FLists.empty(); }
  int ListCount() const { return static_cast<int>(FLists.size()); }

  // The one cache of the process: null before the first button glyph and after the last one has gone.
  static TGlyphCache* Instance() { return FInstance.get(); }
  static TGlyphCache& Ensure();
  // Frees the cache when it holds no list.
  static void FreeIfEmpty();

private:
  std::vector<std::unique_ptr<TGlyphList>> FLists;

  static std::unique_ptr<TGlyphCache> FInstance;
};

} // namespace qs
