#include "TB97ButtonGlyph.h"

#include "TB97GlyphCache.h"

namespace qs {

namespace {

// Marks an RGB colour as palette-relative (PALETTERGB): matched to the nearest colour of the palette selected
// where it is used.
constexpr TColor PaletteRelative = 0x02000000;

} // namespace

TButtonGlyph::TButtonGlyph(TComponent* owner) : FOwner(owner) {
  for (auto& list : FSlots)
    for (int& slot : list) slot = -1;
  FGlyphLink = FGlyph.Subscribe([this] { SourceChanged(TSource::Glyph); });
  FGlyphMaskLink = FGlyphMask.Subscribe([this] { SourceChanged(TSource::GlyphMask); });
  TGlyphCache::Ensure();
}

TButtonGlyph::~TButtonGlyph() {
  FGlyphLink.Reset();
  FGlyphMaskLink.Reset();
  FImageChangeLink.Reset();
  DropImages();
  TGlyphCache::FreeIfEmpty();
}

void TButtonGlyph::SetGlyph(const TBitmap& glyph) {
  DropImages();
  FGlyph.Assign(glyph);
  DetectNumGlyphs();
}

void TButtonGlyph::SetGlyphMask(const TBitmap& mask) {
  DropImages();
  FGlyphMask.Assign(mask);
}

void TButtonGlyph::SetNumGlyphs(int n) {
  DropImages();
  FNumGlyphs = FImages || n < 1 || n > MaxNumGlyphs ? 1 : n;
  SourceChanged(TSource::None);
}

void TButtonGlyph::SetImages(TImageList* images) {
  if (images == FImages) return;
  FImageChangeLink.Reset();
  FImages = images;
  if (FImages) {
    FImageChangeLink = FImages->Subscribe([this] { SourceChanged(TSource::Images); });
    if (FOwner) FImages->FreeNotification(FOwner);
  }
  DetectNumGlyphs();
}

void TButtonGlyph::SetImageIndex(int index) {
  if (index == FImageIndex) return;
  FImageIndex = index;
  if (FImages) SourceChanged(TSource::None);
}

void TButtonGlyph::DetectNumGlyphs() {
  const int w = FGlyph.Width(), h = FGlyph.Height();
  if (w != 0 && h != 0 && w % h == 0 && w / h <= MaxNumGlyphs) SetNumGlyphs(w / h);
  else SetNumGlyphs(1);
}

void TButtonGlyph::SourceChanged(TSource sender) {
  if (sender == TSource::Glyph && !FGlyph.Empty())
    FTransparentColor = FGlyph.TransparentColor() | PaletteRelative;
  DropImages();
  if (OnChange) OnChange();
}

void TButtonGlyph::DropImages() {
  for (int list = 0; list < 2; ++list) {
    for (int& slot : FSlots[list]) {
      if (slot != -1 && FLists[list]) FLists[list]->ReleaseSlot(slot);
      slot = -1;
    }
    if (FLists[list]) {
      if (TGlyphCache* cache = TGlyphCache::Instance()) cache->ReleaseList(FLists[list]);
      FLists[list] = nullptr;
    }
  }
}

} // namespace qs
