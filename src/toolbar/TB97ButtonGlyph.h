#pragma once
// The picture half of a toolbar button: its glyph (up to five side-by-side images, one per draw state), an
// optional mask, or an image of an outside image list. It turns these into one ready image per draw state
// in the shared glyph lists, generating the disabled image when the glyph has none, and lays out and draws
// glyph, caption and dropdown arrow inside the rectangle the button hands it.
#include "Bitmap.h"
#include "Canvas.h"
#include "ChangeNotifier.h"
#include "Component.h"
#include "ImageList.h"
#include "TB97CtlsLayout.h"
#include "TB97GlyphList.h"

#include <functional>
#include <string_view>

namespace qs {

// Where a state's ready image is: in the normal list (glyph size) or the disabled list (one pixel wider
// and higher), at Slot; Slot -1 means there is nothing to draw.
struct TGlyphSlot {
  bool Normal = true;
  int Slot = -1;
};

class TButtonGlyph {
public:
  static constexpr int MaxNumGlyphs = 5;

  // `owner` (the button) is the component an outside image list tells when it is destroyed.
  explicit TButtonGlyph(TComponent* owner = nullptr);
  ~TButtonGlyph();
  TButtonGlyph(const TButtonGlyph&) = delete;
  TButtonGlyph& operator=(const TButtonGlyph&) = delete;

  // The source picture. Changing it in place (loading, drawing then Changed()) drops the ready images too;
  // SetGlyph also counts the sub-images.
  const TBitmap& Glyph() const { return FGlyph; }
  TBitmap& Glyph() { return FGlyph; }
  void SetGlyph(const TBitmap& glyph);
  // A monochrome mask laid out like the glyph, set bits transparent.
  const TBitmap& GlyphMask() const { return FGlyphMask; }
  TBitmap& GlyphMask() { return FGlyphMask; }
  void SetGlyphMask(const TBitmap& mask);
  int NumGlyphs() const { return FNumGlyphs; }
  // 1 with Images, or for 0 or more than five; otherwise n.
  void SetNumGlyphs(int n);
  // An outside image list (not owned) whose image ImageIndex is the picture instead of the glyph.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  bool OldDisabledStyle() const { return FOldDisabledStyle; }
  // Store only: the button drops the ready images and repaints.
  void SetOldDisabledStyle(bool old) { FOldDisabledStyle = old; }
  // The glyph's bottom-left pixel as a palette-relative colour: the glyph's transparent colour.

  // Sub-images side by side: as many as the glyph is heights wide, when that is 1 to 5; otherwise 1.
  void DetectNumGlyphs();
  // Gives every ready image back to its list and the lists back to the cache.
  void DropImages();
  // The ready image of `state`, built on first use.
  TGlyphSlot EnsureStateImage(TButtonDrawState state);
  TGlyphList* List(bool normal) const { return FLists[normal ? 1 : 0]; }

  // The ready image of `state` at `position` (a disabled image, one pixel larger, at the same position).
  void DrawStateImage(TCanvas& canvas, TIntPoint position, TButtonDrawState state);
  // Places glyph, caption and arrow inside `client` (Margin and Spacing -1 automatic) and draws those
  // asked for in `state`; returns the caption's rectangle.
  TIntRect DrawContent(TCanvas& canvas, const TIntRect& client, TIntPoint pressOffset, bool drawGlyph, bool drawCaption,
                       std::string_view caption, bool wordWrap, TAlignment alignment, TButtonLayout layout, int margin,
                       int spacing, bool arrow, TButtonDrawState state);
  // The caption in the canvas font's colour; disabled, embossed: highlight one pixel right and down, then
  // shadow in place.
  static void DrawCaptionText(TCanvas& canvas, std::string_view caption, const TIntRect& rect, TButtonDrawState state,
                              TAlignment alignment, bool wordWrap);
  // The dropdown arrow's triangle for an arrow box at (x, y); disabled, embossed like the caption.
  static void DrawDropArrow(TCanvas& canvas, int x, int y, TButtonDrawState state);

  // Fired after any change of the source (the button repaints).
  std::function<void()> OnChange;

private:
  enum class TSource { None, Glyph, GlyphMask, Images };
  struct TWork;

  void SourceChanged(TSource sender);
  TIntSize ImageSize() const;
  TIntSize LaidOutGlyphSize(bool drawGlyph) const;
  int BuildNormalImage(TWork& work);
  int BuildDisabledImage(TWork& work);
  int BuildOwnDisabledImage(TWork& work);
  int BuildGeneratedDisabledImage(TWork& work);

  TBitmap FGlyph;
  TBitmap FGlyphMask;
  TChangeLink FGlyphLink;
  TChangeLink FGlyphMaskLink;
  TComponent* FOwner;
  TGlyphList* FLists[2] = {nullptr, nullptr}; // [0] disabled, [1] normal
  int FImageIndex = -1;
  TImageList* FImages = nullptr;
  TChangeLink FImageChangeLink;
  int FSlots[2][ButtonDrawStateCount];
  TColor FTransparentColor = clNone;
  int FNumGlyphs = 1;
  bool FOldDisabledStyle = false;
};

} // namespace qs
