#!/usr/bin/env bash
# Runs one Windows executable inside the test session started by wine-session.sh.
#   wine-exec.sh SESSION_DIR PROGRAM.exe [ARGS...]
set -uo pipefail
session=${1:?session folder}
shift
# shellcheck disable=SC1091
source "$session/env"
# Wine may start helper processes (explorer, services) that outlive the program and would keep our output
# pipe open, so the output goes through a file and is shown once the program has ended.
log=$(mktemp)
wine "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
rm -f "$log"
exit $rc
