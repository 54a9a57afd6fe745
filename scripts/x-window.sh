# Sourced by run.sh and screenshots.sh: finding the program's window on the X display.

# Prints the X id of the viewable top-level window titled exactly $1, or nothing.
find_window() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | awk -v c="\"$1\":" 'index($0, c) { print $1 }'); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      echo "$id"
      return 0
    fi
  done
  return 0
}
