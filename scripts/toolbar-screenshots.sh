#!/usr/bin/env bash
# Pictures of the main window's toolbar in the states of its buttons, for looking at after a change of their
# drawing: build/screenshots/toolbar-{rest,hot,pressed}.png (not committed).
#   rest     the pointer away: no frame anywhere, Encode disabled with its embossed caption
#   hot      the pointer over "Add file": its raised border
#   pressed  the left button held on "Delete": its sunken border and the picture one pixel right and down
# Like scripts/screenshots.sh: a throwaway Wine session, the program started in it, xdotool for the pointer.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

caption="QuillStack V3"
client_width=482
client_height=313
# Centres of the buttons in the client area: the toolbar sits at the top of the first page, below the tabs.
tab_sheet_x=4
tab_sheet_y=24
button_y=$((tab_sheet_y + 11))
add_x=$((tab_sheet_x + 23 + 11))
delete_x=$((tab_sheet_x + 52 + 11))
# What is kept of each picture: the top left of the client area, tabs and toolbar.
crop="240x80"
work="$root/build/screenshots"
session="$work/toolbar-session"
exe="$root/build/win64/QuillStack.exe"

bash scripts/bootstrap.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target QuillStack

mkdir -p "$work"
trap 'bash scripts/wine-session.sh stop "$session" >/dev/null' EXIT
rm -f "$session/display"
bash scripts/wine-session.sh start "$session"
# shellcheck disable=SC1091
source "$session/env"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1

log="$work/toolbar-screenshots.log"
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
  echo "toolbar-screenshots: the window \"$caption\" did not appear; program output:" >&2
  cat "$log" >&2
  exit 1
fi

info=$(xwininfo -id "$window")
win_x=$(awk '/Absolute upper-left X:/ { print $4 }' <<<"$info")
win_y=$(awk '/Absolute upper-left Y:/ { print $4 }' <<<"$info")
win_w=$(awk '/^ *Width:/ { print $2 }' <<<"$info")
win_h=$(awk '/^ *Height:/ { print $2 }' <<<"$info")
border=$(((win_w - client_width) / 2))
client_x=$((win_x + border))
client_y=$((win_y + win_h - border - client_height))

capture() {
  sleep "${settle:-1}"
  # From the whole screen: a hint window over the program shows as it is, not as a hole in the window.
  import -window root -crop "${crop}+${client_x}+${client_y}" +repage -strip \
    -define png:exclude-chunks=date,time "$work/toolbar-$1.png"
  echo "$work/toolbar-$1.png"
}

park_pointer() { xdotool mousemove "$((win_x + win_w + 40))" "$((win_y + win_h + 40))"; }

# Wine learns where the pointer is only from events on its own windows (see scripts/screenshots.sh).
xdotool mousemove "$((client_x + client_width - 8))" "$((client_y + 4))"
sleep 0.5
park_pointer
capture rest
xdotool mousemove "$((client_x + add_x))" "$((client_y + button_y))"
capture hot
xdotool mousemove "$((client_x + delete_x))" "$((client_y + button_y))" mousedown 1
capture pressed
# Released away from the button: no click.
park_pointer
xdotool mouseup 1
