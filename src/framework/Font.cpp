#include "Font.h"

#include "Handles.h"
#include "Unicode.h"

#include <cwchar>

namespace qs {

void TFont::Assign(const TFont& other) {
  if (SameAs(other) && FColor == other.FColor) return;
  FName = other.FName;
  FHeight = other.FHeight;
  FStyle = other.FStyle;
  FColor = other.FColor;
  FCharset = other.FCharset;
  Changed();
}

bool TFont::SameAs(const TFont& other) const {
  return FName == other.FName && FHeight == other.FHeight && FStyle == other.FStyle && FCharset == other.FCharset;
}

void TFont::SetName(const std::string& name) {
  if (name == FName) return;
  FName = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == FHeight) return;
  FHeight = height;
  Changed();
}

void TFont::SetStyle(unsigned style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  // The GDI font does not carry the colour; only listeners need to hear of it.
  if (OnChange) OnChange();
}

void TFont::SetCharset(BYTE charset) {
  if (charset == FCharset) return;
  FCharset = charset;
  Changed();
}

void TFont::Changed() {
  FHandle.Reset();
  if (OnChange) OnChange();
}

HFONT TFont::Handle() const {
  if (!FHandle) {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (FStyle & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (FStyle & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = FCharset;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = Widen(FName);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    FHandle.Reset(CreateFontIndirectW(&lf));
  }
  return FHandle.Get();
}

int TFont::LineHeight() const {
  TWindowDC screen(nullptr);
  TSelectGuard select(screen.Get(), Handle());
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.Get(), &metrics);
  return metrics.tmHeight;
}

} // namespace qs
