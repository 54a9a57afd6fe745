#pragma once
// A font description and its GDI font, created when first needed and dropped on every change.
#include "Graphics.h"
#include "Handles.h"

#include <functional>
#include <string>

namespace qs {

enum TFontStyle : unsigned { fsBold = 1u << 0, fsItalic = 1u << 1, fsUnderline = 1u << 2, fsStrikeOut = 1u << 3 };

class TFont {
public:
  static constexpr const char* DefaultName = "MS Sans Serif";
  static constexpr int DefaultHeight = -11; // 8 pt at 96 dpi

  TFont() = default;
  TFont(const TFont& other) { Assign(other); }
  TFont& operator=(const TFont& other) {
    Assign(other);
    return *this;
  }

  void Assign(const TFont& other);
  bool SameAs(const TFont& other) const;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& name);
  int Height() const { return FHeight; }
  void SetHeight(int height);
  unsigned Style() const { return FStyle; }
  void SetStyle(unsigned style);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  BYTE Charset() const { return FCharset; }
  void SetCharset(BYTE charset);

  HFONT Handle() const;
  // The height of a line of text in this font on the screen (the text metrics' tmHeight).
  int LineHeight() const;
  std::function<void()> OnChange;

private:
  void Changed();

  std::string FName = DefaultName;
  int FHeight = DefaultHeight;
  unsigned FStyle = 0;
  TColor FColor = clWindowText;
  BYTE FCharset = DEFAULT_CHARSET;
  mutable TFontHandle FHandle;
};

} // namespace qs
