#!/usr/bin/env bash
# Sourced by the scripts that make a Wine prefix for QuillStack (test session, `make run`, screenshots), with
# WINEPREFIX and the Wine environment set.
#
# The program's font is "MS Sans Serif" 8 pt. Debian's Wine loads none of the fonts of fonts-wine by itself, so
# the name falls back to DejaVu Sans, which is so much wider that labels run into their neighbours. Liberation
# Sans has Arial's advance widths and so lays out text as Windows' MS Sans Serif does (measured at 11 px:
# "AAC files are saved to:" is 111 px wide against Windows' 107, inside the 112 the layout leaves). It is a
# scalable font, so Wine links the characters it lacks (Japanese, Korean, Chinese) to WenQuanYi Micro Hei
# instead of drawing boxes; Wine links only scalable fonts, which is why the bitmap MS Sans Serif is no option.
# Wine would fall back to Liberation Sans by itself when no font of that name exists, but only as long as no other
# font from its list of defaults is installed; the substitution makes the choice certain.

qs_font_settings_version=1

qs_apply_wine_fonts() {
  local stamp="$WINEPREFIX/.quillstack-fonts"
  [[ "$(cat "$stamp" 2>/dev/null)" == "$qs_font_settings_version" ]] && return 0
  local nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
  wine reg add "$nt\\FontSubstitutes" /v "MS Sans Serif" /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1
  # Font links are looked up under the name of the face actually chosen, after substitution.
  wine reg add "$nt\\FontLink\\SystemLink" /v "Liberation Sans" /t REG_MULTI_SZ \
    /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
  echo "$qs_font_settings_version" >"$stamp"
}
