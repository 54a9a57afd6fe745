#!/usr/bin/env bash
# Installs what building, running and testing QuillStack need on Debian 12 / Ubuntu.
# Idempotent: when every package is there it only checks and says so.
set -euo pipefail

PACKAGES=(
  cmake make g++ python3 googletest libgtest-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 libwine fonts-wine
  # FreeSans stands in for MS Sans Serif and WenQuanYi Micro Hei for the CJK characters it lacks
  # (scripts/wine-fonts.sh).
  fonts-freefont-ttf fonts-wqy-microhei
  xvfb xauth x11-utils imagemagick xdotool
)

missing=()
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  echo "bootstrap: all build, run and test packages are installed"
  exit 0
fi

SUDO=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "bootstrap: not root and no sudo; install: ${missing[*]}" >&2; exit 1; }
  SUDO=(sudo)
fi

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
# Only the 64-bit Wine is needed: the program and the tests run as x86_64 (the i686 build is compiled, not run).
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
