#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit program and starts it under Wine.
#   With $DISPLAY set: QuillStack runs on that display until it is closed; the exit code is the program's.
#   Without a display: QuillStack runs on a virtual display (Xvfb) just long enough to show its main window,
#   which is saved to build/screenshots/run.png; then the program and the display are stopped.
# Wine uses the project-local prefix .wine-run/ (created on first use) unless WINEPREFIX is set.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

caption="QuillStack V3"
exe="$root/build/win64/QuillStack.exe"
shot_dir="$root/build/screenshots"
shot="$shot_dir/run.png"
window_timeout=30

bash scripts/bootstrap.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target QuillStack

export WINEPREFIX="${WINEPREFIX:-$root/.wine-run}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

prepare_prefix() {
  [[ -f "$WINEPREFIX/system.reg" ]] && return 0
  echo "run: creating the Wine prefix $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX"
  WINEARCH=win64 wineboot -i >"$shot_dir/wineboot.log" 2>&1 || {
    echo "run: wineboot failed, see $shot_dir/wineboot.log" >&2
    exit 1
  }
  # wineboot returns before the prefix is fully written; wait for this prefix's wineserver to finish.
  wineserver -w
}

# The fonts that make the text fit and show every script; only in the project's own prefix, never in one the
# user chose.
# shellcheck source=scripts/wine-fonts.sh
source scripts/wine-fonts.sh
prepare_fonts() {
  [[ "$WINEPREFIX" == "$root/.wine-run" ]] && qs_apply_wine_fonts
  return 0
}

mkdir -p "$shot_dir"

if [[ -n "${DISPLAY:-}" ]]; then
  prepare_prefix
  prepare_fonts
  echo "run: starting QuillStack on DISPLAY=$DISPLAY (prefix $WINEPREFIX)"
  # wine returns when the program has ended, with its exit code.
  exec wine "$exe"
fi

# No display: a private Xvfb, the program, one screenshot, then everything this script started is stopped.
work=$(mktemp -d "${TMPDIR:-/tmp}/quillstack-run.XXXXXX")
xvfb_pid=""
wine_started=0

cleanup() {
  if ((wine_started)); then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# -displayfd makes Xvfb pick a free display number and write it to fd 3 once it accepts connections.
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
if [[ ! -s "$work/display" ]]; then
  echo "run: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(tr -d '\n' <"$work/display")"
echo "run: no DISPLAY; using a virtual display $DISPLAY"

wine_started=1
prepare_prefix
prepare_fonts

# The output goes to a file: Wine's helper processes outlive the program and must not hold the caller's stdout.
wine "$exe" >"$shot_dir/run.log" 2>&1 </dev/null &
wine_pid=$!

# shellcheck source=scripts/x-window.sh
source scripts/x-window.sh

window=""
for _ in $(seq $((window_timeout * 4))); do
  window=$(find_window "$caption")
  [[ -n "$window" ]] && break
  if ! kill -0 "$wine_pid" 2>/dev/null; then
    # wine may exit 0 after a start-up failure; either way no window will come.
    echo "run: QuillStack exited before its window \"$caption\" appeared; its output:" >&2
    cat "$shot_dir/run.log" >&2
    exit 1
  fi
  sleep 0.25
done
if [[ -z "$window" ]]; then
  echo "run: the window \"$caption\" did not appear within ${window_timeout}s; program output:" >&2
  cat "$shot_dir/run.log" >&2
  exit 1
fi

# Wine learns where the pointer is only from events on its own windows, so the program may believe it is still
# in the middle of the screen and show a hint there. A move onto the empty strip right of the tabs, then away,
# tells it otherwise; the wait lets the first paint finish.
xdotool mousemove --window "$window" "$(($(xwininfo -id "$window" | awk '/^ *Width:/ { print $2 }') - 8))" 4
sleep 0.5
xdotool mousemove 0 0
sleep 1
rm -f "$shot"
import -window "$window" "$shot"
echo "run: QuillStack started; its main window is saved in:"
echo "$shot"
