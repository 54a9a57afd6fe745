// Building the ready image of one draw state: copied from the glyph's own sub-image, or, for the disabled
// state without one, generated from the picture.
#include "TB97ButtonGlyph.h"

#include "BitmapCanvas.h"
#include "TB97GlyphCache.h"

#include <algorithm>
#include <iterator>

namespace qs {

namespace {

constexpr COLORREF NearWhiteTarget = RGB(255, 255, 255);
constexpr COLORREF NearGrayTarget = RGB(128, 128, 128);

TBitmap BlankBitmap(int width, int height, bool monochrome, TColor fill = clWhite) {
  TBitmap bitmap;
  bitmap.SetMonochrome(monochrome);
  bitmap.SetBrushColor(fill);
  bitmap.SetSize(width, height);
  return bitmap;
}

// Copies `area` of `from` to (x, y) of `to` with `rop`. A monochrome source arrives black and white.
void CopyArea(const TBitmap& from, const RECT& area, TBitmap& to, int x, int y, DWORD rop = SRCCOPY) {
  TBitmapCanvas source(from);
  TBitmapCanvas target(to);
  SetTextColor(target.Handle(), ColorToRGB(clBlack));
  SetBkColor(target.Handle(), ColorToRGB(clWhite));
  BitBlt(target.Handle(), x, y, area.right - area.left, area.bottom - area.top, source.Handle(), area.left, area.top,
         rop);
}

// A monochrome bitmap of the source's size: set bits where the source is white.
TBitmap MonochromeCopy(const TBitmap& source) {
  TBitmap copy = source;
  copy.SetBrushColor(clWhite);
  copy.SetMonochrome(true);
  return copy;
}

// Paints `brush` onto `target` at (x, y) through the monochrome `mask` with one of the mask ROPs.
void PaintThroughMask(TBitmap& target, int x, int y, const TBitmap& mask, TColor brush, DWORD rop) {
  TBitmapCanvas source(mask);
  TBitmapCanvas canvas(target);
  TBrushHandle solid(CreateSolidBrush(ColorToRGB(brush)));
  TSelectGuard select(canvas.Handle(), solid.Get());
  SetTextColor(canvas.Handle(), ColorToRGB(clBlack));
  SetBkColor(canvas.Handle(), ColorToRGB(clWhite));
  BitBlt(canvas.Handle(), x, y, mask.Width(), mask.Height(), source.Handle(), 0, 0, rop);
}

} // namespace

struct TButtonGlyph::TWork {
  int State = 0;
  bool HasMask = false;
  TIntSize Image;    // IW x IH, one sub-image
  RECT Source{};     // S: the sub-image in the glyph
  TBitmap GlyphCopy; // the sources are copied so that the originals can sleep again
  TBitmap MaskCopy;
  TBitmap Target;        // the ready image, one pixel larger for the disabled state
  TBitmap ImageListMask; // with Images: the image's own mask
  TBitmap Device;        // the disabled state's device copy D of the picture
};

TIntSize TButtonGlyph::ImageSize() const {
  if (FImages) return TIntSize{FImages->Width(), FImages->Height()};
  return TIntSize{FGlyph.Width() / FNumGlyphs, FGlyph.Height()};
}

TGlyphSlot TButtonGlyph::EnsureStateImage(TButtonDrawState drawState) {
  const int disabled = StateIndex(TButtonDrawState::dsDisabled);
  int state = StateIndex(drawState);
  if (state != disabled && state >= FNumGlyphs) state = StateIndex(TButtonDrawState::dsUp);
  if (FSlots[1][state] != -1) return TGlyphSlot{true, FSlots[1][state]};
  if (FSlots[0][state] != -1) return TGlyphSlot{false, FSlots[0][state]};

  TWork work;
  work.State = state;
  if (!FImages) {
    if (FGlyph.Empty()) return TGlyphSlot{};
    work.HasMask = !FGlyphMask.Empty();
  } else if (FImageIndex < 0 || FImageIndex >= FImages->ImageCount()) {
    return TGlyphSlot{};
  }
  const bool normal = state != disabled;
  work.Image = ImageSize();
  const int extra = normal ? 0 : 1;
  const int targetWidth = work.Image.Width + extra, targetHeight = work.Image.Height + extra;
  if (!FLists[normal]) FLists[normal] = TGlyphCache::Ensure().AcquireList(targetWidth, targetHeight);

  work.GlyphCopy = FGlyph;
  work.MaskCopy = FGlyphMask;
  work.Target = BlankBitmap(targetWidth, targetHeight, false, clBtnFace);
  if (!FImages) work.Target.SetPalette(FGlyph.Palette());
  const int subImage = state < FNumGlyphs ? state : 0;
  work.Source = Rect(subImage * work.Image.Width, 0, (subImage + 1) * work.Image.Width, work.Image.Height);
  if (FImages) {
    work.ImageListMask = BlankBitmap(work.Image.Width, work.Image.Height, true);
    TBitmapCanvas canvas(work.ImageListMask);
    FImages->Draw(canvas.Handle(), 0, 0, FImageIndex, ILD_MASK);
  }

  int slot = -1;
  try {
    slot = normal ? BuildNormalImage(work) : BuildDisabledImage(work);
  } catch (...) {
    // A list this glyph holds no slot in must go back now: once another button frees its last slot there,
    // the cache frees the list.
    if (std::all_of(std::begin(FSlots[normal]), std::end(FSlots[normal]), [](int s) { return s == -1; })) {
      TGlyphCache::Ensure().ReleaseList(FLists[normal]);
      FLists[normal] = nullptr;
    }
    throw;
  }
  FSlots[normal][state] = slot;
  // Many buttons need not keep GDI bitmaps for pictures that are drawn from the lists from now on.
  if (!FGlyph.Empty()) FGlyph.Dormant();
  if (!FGlyphMask.Empty()) FGlyphMask.Dormant();
  return TGlyphSlot{normal, slot};
}

int TButtonGlyph::BuildNormalImage(TWork& work) {
  TGlyphList& list = *FLists[1];
  if (FImages) {
    {
      TBitmapCanvas canvas(work.Target);
      FImages->Draw(canvas.Handle(), 0, 0, FImageIndex, ILD_NORMAL);
    }
    return list.AddImage(work.Target, &work.ImageListMask);
  }
  CopyArea(work.GlyphCopy, work.Source, work.Target, 0, 0);
  if (!work.HasMask) return list.AddMaskedImage(work.Target, FTransparentColor);
  TBitmap mask = BlankBitmap(work.Target.Width(), work.Target.Height(), true);
  CopyArea(work.MaskCopy, work.Source, mask, 0, 0);
  return list.AddImage(work.Target, &mask);
}

int TButtonGlyph::BuildDisabledImage(TWork& work) {
  if (FImages) {
    work.Device = BlankBitmap(work.Image.Width, work.Image.Height, false);
    TBitmapCanvas canvas(work.Device);
    FImages->Draw(canvas.Handle(), 0, 0, FImageIndex, ILD_NORMAL);
  } else {
    work.Device = work.GlyphCopy.DeviceCopy();
  }
  return FNumGlyphs > 1 ? BuildOwnDisabledImage(work) : BuildGeneratedDisabledImage(work);
}

// The glyph's own disabled picture (sub-image 1): its white shows as the highlight colour, its mid-grey as
// the shadow colour, and its transparent pixels (plus the extra row and column) stay transparent.
int TButtonGlyph::BuildOwnDisabledImage(TWork& work) {
  const TBitmap& device = work.Device;
  const int w = work.Image.Width, h = work.Image.Height;
  CopyArea(device, work.Source, work.Target, 0, 0);
  COLORREF nearWhite, nearGray;
  {
    TBitmapCanvas glyph(work.GlyphCopy);
    nearWhite = GetNearestColor(glyph.Handle(), NearWhiteTarget);
    nearGray = GetNearestColor(glyph.Handle(), NearGrayTarget);
  }
  PaintThroughMask(work.Target, 0, 0, device.ColorMask(work.Source, {static_cast<TColor>(nearWhite)}), clBtnHighlight,
                   RopBrushWhereMaskSet);
  PaintThroughMask(work.Target, 0, 0, device.ColorMask(work.Source, {static_cast<TColor>(nearGray)}), clBtnShadow,
                   RopBrushWhereMaskSet);
  TBitmap mask;
  if (work.HasMask) {
    mask = BlankBitmap(w, h, true);
    CopyArea(work.MaskCopy, work.Source, mask, 0, 0);
  } else {
    mask = device.ColorMask(work.Source, {FTransparentColor});
  }
  mask.SetSize(w + 1, h + 1);
  {
    TBitmapCanvas canvas(mask);
    canvas.Canvas().SetPenColor(clWhite);
    const POINT edge[] = {{0, h}, {w, h}, {w, -1}}; // the new bottom row and right column
    canvas.Canvas().Polyline(edge, 3);
  }
  return FLists[0]->AddImage(work.Target, &mask);
}

// The disabled picture generated from the only one there is: the shape embossed, in the shadow colour with
// a highlight one pixel right and down. The new style embosses every pixel that is not white, silver or
// transparent; the old style only the black ones.
int TButtonGlyph::BuildGeneratedDisabledImage(TWork& work) {
  const TBitmap& device = work.Device;
  const RECT whole = Rect(0, 0, work.Image.Width, work.Image.Height);
  TBitmap mask;
  if (FOldDisabledStyle) {
    if (FImages) {
      mask = BlankBitmap(work.Image.Width, work.Image.Height, false);
      TBitmapCanvas canvas(mask);
      FImages->Draw(canvas.Handle(), 0, 0, FImageIndex, ILD_TRANSPARENT);
    } else {
      mask = device;
      if (work.HasMask) CopyArea(MonochromeCopy(work.MaskCopy), work.Source, mask, 0, 0, SRCPAINT);
    }
    mask.SetBrushColor(clBlack);
    mask.SetMonochrome(true);
  } else if (!work.HasMask && !FImages) {
    mask = device.ColorMask(whole, {FTransparentColor, clWhite, clSilver});
  } else {
    mask = device.ColorMask(work.Source, {clWhite, clSilver});
    CopyArea(MonochromeCopy(FImages ? work.ImageListMask : work.MaskCopy), work.Source, mask, 0, 0, SRCPAINT);
  }

  {
    TBitmapCanvas canvas(work.Target);
    canvas.Canvas().FillRect(Rect(0, 0, work.Target.Width(), work.Target.Height()), clBtnFace);
  }
  const DWORD rop = FOldDisabledStyle ? RopBrushWhereMaskSet : RopBrushWhereMaskClear;
  PaintThroughMask(work.Target, 1, 1, mask, clBtnHighlight, rop);
  PaintThroughMask(work.Target, 0, 0, mask, clBtnShadow, rop);
  return FLists[0]->AddMaskedImage(work.Target, clBtnFace);
}

} // namespace qs
