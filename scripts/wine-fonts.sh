#!/usr/bin/env bash
# Sourced by the scripts that make a Wine prefix for QuillStack (test session, `make run`, screenshots), with
# WINEPREFIX and the Wine environment set.
#
# The program's font is "MS Sans Serif" 8 pt. Debian's Wine loads none of the fonts of fonts-wine by itself, so
# the name falls back to DejaVu Sans, which is so much wider that labels run into their neighbours. FreeSans (GNU
# FreeFont) lays out text almost as Windows' MS Sans Serif does (measured at 11 px: "AAC files are saved to:" is
# 108 px wide against Windows' 107, inside the 112 the layout leaves; "File location:" 60 against 59, of 64), and
# Wine draws every glyph inside those widths. Arial's look-alikes were measured too: Liberation Sans inks up to
# six pixels past its measured width, so the labels' own bounds cut letters off ("Additiona"), and Wine ignores
# the font link of Arimo. FreeSans is a scalable font, so Wine links the characters it lacks (Japanese, Korean,
# Chinese) to WenQuanYi Micro Hei instead of drawing boxes; Wine links only scalable fonts, which is why the bitmap
# MS Sans Serif of fonts-wine is no option.

qs_font_settings_version=5

qs_apply_wine_fonts() {
  local stamp="$WINEPREFIX/.quillstack-fonts"
  [[ "$(cat "$stamp" 2>/dev/null)" == "$qs_font_settings_version" ]] && return 0
  local nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
  wine reg add "$nt\\FontSubstitutes" /v "MS Sans Serif" /t REG_SZ /d "FreeSans" /f >/dev/null 2>&1
  # Font links are looked up under the name of the face actually chosen, after substitution.
  wine reg add "$nt\\FontLink\\SystemLink" /v "FreeSans" /t REG_MULTI_SZ \
    /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
  # Edit controls lay text out with Uniscribe, which does not follow font links: for Chinese characters and
  # Japanese kana it falls back to SimSun by name (Hangul finds a font by itself).
  wine reg add "$nt\\FontSubstitutes" /v "SimSun" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  # The close button of a floating toolbar and the window captions are drawn with the symbol font Marlett; without
  # it they show letters ("r" for the cross). A font in the prefix's Fonts folder is always loaded.
  if [[ -f /usr/share/wine/fonts/marlett.ttf ]]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  echo "$qs_font_settings_version" >"$stamp"
}
