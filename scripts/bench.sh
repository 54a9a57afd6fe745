#!/usr/bin/env bash
# Builds the 64-bit configuration and runs every benchmark (bench/*.cpp, built to build/win64/bench/*.exe) in a
# throwaway Wine session, printing what each one reports. Benchmarks print figures; they never fail a build.
#   bench.sh [NAME...]   runs only the named benchmarks (file names without .exe)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/bootstrap.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"

bench_dir="$root/build/win64/bench"
benches=()
if (($# > 0)); then
  for name in "$@"; do
    [[ -f "$bench_dir/$name.exe" ]] || { echo "bench: no benchmark $bench_dir/$name.exe" >&2; exit 2; }
    benches+=("$bench_dir/$name.exe")
  done
else
  # From the sources, not the build folder, which may still hold the program of a removed benchmark.
  shopt -s nullglob
  for src in bench/*.cpp; do benches+=("$bench_dir/$(basename "$src" .cpp).exe"); done
  shopt -u nullglob
fi
if ((${#benches[@]} == 0)); then
  echo "bench: no benchmarks (bench/*.cpp builds to build/win64/bench/*.exe); nothing to run"
  exit 0
fi

session="$root/build/win64/bench-session"
trap 'bash scripts/wine-session.sh stop "$session" >/dev/null' EXIT
# A display number left from an earlier session in this folder could be read before Xvfb writes the new one.
rm -f "$session/display"
bash scripts/wine-session.sh start "$session"

failed=0
for exe in "${benches[@]}"; do
  echo "== $(basename "$exe" .exe)"
  if ! bash scripts/wine-exec.sh "$session" "$exe"; then
    echo "bench: $(basename "$exe") exited with an error" >&2
    failed=1
  fi
done
exit $failed
