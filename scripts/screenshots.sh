#!/usr/bin/env bash
# Renders the three pages of QuillStack's main window to docs/screenshots/{files,settings,about}.png, and the
# toolbar with a button hot and one pressed (toolbar-hot.png, toolbar-pressed.png), and the first page with its
# toolbar dragged to the left dock and out to float (toolbar-left.png, toolbar-floating.png).
# The program runs in a throwaway Wine session (virtual display, fresh prefix, so every setting has its default);
# the pages are switched by clicking their tab headers with xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

caption="QuillStack V3"
client_width=482
client_height=313
# Tab headers sit at the top left of the client area: "Files to encode", "Settings", "About".
# A point a little inside each header's left part, so small width differences still hit the right tab.
tab_x=(20 115 172)
tab_y=10
out="$root/docs/screenshots"
work="$root/build/screenshots"
session="$work/session"
exe="$root/build/win64/QuillStack.exe"

bash scripts/bootstrap.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target QuillStack

mkdir -p "$out" "$work"
trap 'bash scripts/wine-session.sh stop "$session" >/dev/null' EXIT
# A display number left from an earlier session in this folder could be read before Xvfb writes the new one.
rm -f "$session/display"
bash scripts/wine-session.sh start "$session"
# shellcheck disable=SC1091
source "$session/env"

# With no window manager on the virtual display Wine draws the caption and borders itself, so the
# screenshots show the whole window as on Windows.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1

log="$work/screenshots.log"
wine "$exe" >"$log" 2>&1 </dev/null &
wine_pid=$!

# shellcheck source=scripts/x-window.sh
source scripts/x-window.sh

window=""
for _ in $(seq 120); do
  window=$(find_window "$caption")
  [[ -n "$window" ]] && break
  kill -0 "$wine_pid" 2>/dev/null || break
  sleep 0.25
done
if [[ -z "$window" ]]; then
  echo "screenshots: the window \"$caption\" did not appear; program output:" >&2
  cat "$log" >&2
  exit 1
fi

# Window geometry on the display, and where the client area starts inside it (the frame Wine drew).
info=$(xwininfo -id "$window")
win_x=$(awk '/Absolute upper-left X:/ { print $4 }' <<<"$info")
win_y=$(awk '/Absolute upper-left Y:/ { print $4 }' <<<"$info")
win_w=$(awk '/^ *Width:/ { print $2 }' <<<"$info")
win_h=$(awk '/^ *Height:/ { print $2 }' <<<"$info")
border=$(((win_w - client_width) / 2))
client_x=$((win_x + border))
client_y=$((win_y + win_h - border - client_height))
if ((border < 0 || client_y < win_y)); then
  echo "screenshots: window is ${win_w}x${win_h}, smaller than the ${client_width}x${client_height} client area" >&2
  exit 1
fi

capture() {
  sleep 1 # let the page finish painting
  # No time stamps in the file: the same picture gives the same bytes, so git sees real changes only.
  import -window "$window" -strip -define png:exclude-chunks=date,time "$work/$1.png"
}

# The pointer waits outside the window so that no hint or hot tracking shows in the pictures.
park_pointer() { xdotool mousemove "$((win_x + win_w + 40))" "$((win_y + win_h + 40))"; }

show_page() {
  xdotool mousemove "$((client_x + tab_x[$1]))" "$((client_y + tab_y))" click 1
  park_pointer
}

# Wine learns where the pointer is only from events on its own windows, so the program may believe it is still
# in the middle of the screen, over the list, and show a hint. A move onto the empty strip right of the tabs,
# then away, tells it otherwise. The first page is the one shown at start; it is not clicked, so no focus
# rectangle is drawn on its tab.
xdotool mousemove "$((client_x + client_width - 8))" "$((client_y + 4))"
sleep 0.5
park_pointer
capture files

# The toolbar's buttons under the pointer, cropped from the screen (a hint window over the program shows as it
# is): "Add file" hot with its raised border, then "Delete" held down, its border sunken and its picture one
# pixel right and down; released away from it, so nothing is clicked.
toolbar_crop="240x80"
button_y=$((24 + 11))
capture_toolbar() {
  sleep 1
  import -window root -crop "${toolbar_crop}+${client_x}+${client_y}" +repage -strip \
    -define png:exclude-chunks=date,time "$work/$1.png"
}
xdotool mousemove "$((client_x + 4 + 23 + 11))" "$((client_y + button_y))"
capture_toolbar toolbar-hot
xdotool mousemove "$((client_x + 4 + 52 + 11))" "$((client_y + button_y))" mousedown 1
capture_toolbar toolbar-pressed
park_pointer
xdotool mouseup 1
show_page 1
capture settings
show_page 2
capture about

# The toolbar dragged by its handle as a person drags it: into the left dock, then out over the list to float.
# Client coordinates: the page starts at (4, 24); the handle is at the docked toolbar's left end (top end when
# docked at the side).
drag() {
  xdotool mousemove "$((client_x + $1))" "$((client_y + $2))" mousedown 1
  sleep 0.3
  xdotool mousemove "$((client_x + $1 + 4))" "$((client_y + $2 + 4))"
  sleep 0.3
  xdotool mousemove "$((client_x + $3))" "$((client_y + $4))"
  sleep 0.3
  xdotool mouseup 1
  park_pointer
}
show_page 0
drag 9 36 4 170
capture toolbar-left
drag 16 29 250 190
sleep 1
# The floating toolbar is a window of its own over the main window: the picture is taken from the screen.
import -window root -crop "${win_w}x${win_h}+${win_x}+${win_y}" -strip -define png:exclude-chunks=date,time \
  "$work/toolbar-floating.png"

# Three different pictures prove that the clicks switched the pages; only then are the old ones replaced.
differ() { [[ $(compare -metric AE "$1" "$2" null: 2>&1 || true) != 0 ]]; }
if ! differ "$work/files.png" "$work/settings.png" || ! differ "$work/settings.png" "$work/about.png" ||
  ! differ "$work/toolbar-hot.png" "$work/toolbar-pressed.png" ||
  ! differ "$work/files.png" "$work/toolbar-left.png" || ! differ "$work/toolbar-left.png" "$work/toolbar-floating.png"; then
  echo "screenshots: the pictures did not change between captures (tabs or drag handle not where expected?);" \
    "see $work/*.png" >&2
  exit 1
fi
for page in files settings about toolbar-hot toolbar-pressed toolbar-left toolbar-floating; do
  cp "$work/$page.png" "$out/$page.png"
  echo "$out/$page.png"
done
