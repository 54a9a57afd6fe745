#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test (native, then under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh
jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
# The 32-bit build is compiled, not run: it keeps the code 32-bit clean.
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
ctest --preset native -j "$jobs"
ctest --preset win64
