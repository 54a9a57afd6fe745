#!/usr/bin/env bash
# Starts or stops the test session: a virtual X display and a throwaway Wine prefix.
#   wine-session.sh start DIR   writes DIR/env (DISPLAY, WINEPREFIX, ...) for wine-exec.sh
#   wine-session.sh stop DIR    stops this session's wineserver and Xvfb (by PID) and removes the prefix
set -euo pipefail
cmd=${1:?start or stop}
dir=$(realpath -m "${2:?session folder}")
prefix="$dir/prefix"

# The locale is pinned: Wine takes its code pages from it (ANSI 1252 and OEM 437 for C.UTF-8, which every
# Debian has), and the tests of what go.bat may hold depend on the console's code page, not on the host's.
session_locale=C.UTF-8

wine_env() {
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
  export LC_ALL="$session_locale" LANGUAGE=""
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

stop_session() {
  if [[ -d "$prefix" ]]; then
    (wine_env; wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true)
  fi
  if [[ -f "$dir/xvfb.pid" ]]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$dir/xvfb.pid"
  fi
  rm -rf "$prefix" "$dir/env" "$dir/asound.conf"
}

case "$cmd" in
  start)
    stop_session
    mkdir -p "$dir"
    rm -f "$dir/display"
    # -displayfd lets Xvfb choose a free display number and tell us which.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 </dev/null &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do [[ -s "$dir/display" ]] && break; sleep 0.1; done
    [[ -s "$dir/display" ]] || { echo "Xvfb did not start" >&2; cat "$dir/xvfb.log" >&2; exit 1; }
    display=":$(tr -d '\n' <"$dir/display")"
    # Sound goes to ALSA's null device: preview playback really runs (MCI plays, ends and notifies) without a
    # sound card and without a sound on a machine that has one. Wine reads the variable at process start.
    alsa_conf=/usr/share/alsa/alsa.conf
    printf 'pcm.!default { type null }\n' >"$dir/asound.conf"
    export ALSA_CONFIG_PATH="$dir/asound.conf"
    [[ -f "$alsa_conf" ]] && ALSA_CONFIG_PATH="$alsa_conf:$ALSA_CONFIG_PATH"
    wine_env
    export DISPLAY="$display"
    wineboot -i >"$dir/wineboot.log" 2>&1
    # No crash dialog: a crashing test must fail, not wait for a click.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    # No window manager runs on the virtual display: unmanaged windows spare every hidden window a two-second
    # wait for the window manager to confirm it.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    # The fonts `make run` shows, so that the tests measure text as the user sees it.
    # shellcheck source=scripts/wine-fonts.sh
    source "$(dirname "$0")/wine-fonts.sh"
    qs_apply_wine_fonts
    # A persistent wineserver keeps every test executable's start short.
    wineserver -w >/dev/null 2>&1
    wineserver -p >/dev/null 2>&1 </dev/null
    cat >"$dir/env" <<ENV
export DISPLAY='$display'
export WINEPREFIX='$prefix'
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export ALSA_CONFIG_PATH='$ALSA_CONFIG_PATH'
export LC_ALL='$session_locale'
export LANGUAGE=''
# Tests that would skip for want of something this session provides (a sound device, 8.3 names) fail here.
export QS_TEST_SESSION=1
ENV
    echo "wine session ready on DISPLAY=$display, prefix $prefix"
    ;;
  stop)
    stop_session
    echo "wine session stopped"
    ;;
  *)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
