#!/usr/bin/env bash
# Installs the Debian packages Kestro builds and tests with, when missing:
# compilers and CMake, GoogleTest and Google Benchmark, the mingw-w64 cross
# compilers, wine64 for the Windows suite, the Perl Palm database modules the
# test tools use, tmux for the terminal UI tests, Xvfb for screenshots,
# GNU time for the whole-process benchmark's peak memory, and clang with its
# libFuzzer runtime for the fuzz targets.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine64
  perl libpalm-perl libpalm-pdb-perl
  tmux xvfb xauth
  time
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
