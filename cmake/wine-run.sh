#!/bin/sh
# Runs a Windows test program under wine64 with a prefix of its own beside the
# build tree, quietly. WINEPREFIX may be set by the caller to share one.
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=${KESTRO_WINEPREFIX:-$here/../build/wineprefix}}"
export WINEPREFIX
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
exec "$wine" "$@"
