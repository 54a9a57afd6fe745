#include "TB97GlyphCache.h"

#include <algorithm>

namespace qs {

std::unique_ptr<TGlyphCache> TGlyphCache::FInstance;

TGlyphList* TGlyphCache::AcquireList(int width, int height) {
  for (auto it = FLists.rbegin(); it != FLists.rend(); ++it)
    if ((*it)->Width() == width && (*it)->Height() == height) return it->get();
  FLists.push_back(std::make_unique<TGlyphList>(width, height));
  return FLists.back().get();
}

void TGlyphCache::ReleaseList(TGlyphList* list) {
  if (!list || list->Count() != 0) return;
  std::erase_if(FLists, [list](const std::unique_ptr<TGlyphList>& held) { return held.get() == list; });
}

TGlyphCache& TGlyphCache::Ensure() {
  if (!FInstance) FInstance = std::make_unique<TGlyphCache>();
  return *FInstance;
}

void TGlyphCache::FreeIfEmpty() {
  if (FInstance && FInstance->IsEmpty()) FInstance.reset();
}

} // namespace qs
