#!/usr/bin/env bash
# Every test: installs what the project needs (Debian packages, when missing),
# then runs the native suite in the debug build, under AddressSanitizer and
# UndefinedBehaviorSanitizer, and in the optimised build users run; the
# Windows x86_64 suite under wine64; and the Windows i686 build (real HotSync
# hosts are 32-bit; built and linked, not run); then every fuzz target for a
# short while (KESTRO_FUZZ_SECONDS, 30 by default).
# Stops at the first failure with a non-zero exit.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${KESTRO_JOBS:-2}
started=$SECONDS

step() { printf '\n==== %s (at %d s) ====\n' "$*" "$((SECONDS - started))"; }

step "installing what is missing"
./scripts/install-deps.sh

for preset in debug asan release; do
  step "native suite ($preset)"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

step "Windows x86_64 suite under wine64"
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 -j "$jobs"
export KESTRO_WINEPREFIX="$PWD/build/mingw64/wineprefix"
# The first start creates the wine prefix; do it once, before tests run side by side.
cmake/wine-run.sh build/mingw64/bin/hotsync.exe --help >/dev/null 2>&1 || true
ctest --preset mingw64 -j "$jobs"

step "Windows i686 build"
cmake --preset mingw32 >/dev/null
cmake --build --preset mingw32 -j "$jobs"

step "fuzz targets, ${KESTRO_FUZZ_SECONDS:-30} s each"
./scripts/fuzz.sh "${KESTRO_FUZZ_SECONDS:-30}"

step "all suites passed"
