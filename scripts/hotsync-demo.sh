#!/usr/bin/env bash
# The main job: a HotSync of the bundled sample handheld and favourites.
#
#   scripts/hotsync-demo.sh              Internet Explorer favourites folder
#   scripts/hotsync-demo.sh --netscape   Netscape bookmark file
#
# Builds Kestro and its stand-in HotSync host if needed, copies samples/ to a
# scratch folder (the samples themselves are never changed), points the
# settings at the copy, runs one two-way HotSync through the hotsync program,
# then shows the HotSync log, the handheld's KestroDB as a tree and the
# desktop favourites. The scratch folder is kept and named at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

browser=0
case "${1:-}" in
  "") ;;
  --netscape) browser=1 ;;
  -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
  *) echo "usage: $0 [--netscape]" >&2; exit 2 ;;
esac

./scripts/install-deps.sh
cmake --preset debug >/dev/null
cmake --build --preset debug -j 2 --target Kestro hotsync sync20 condmgr userdata hslog20 hsapi instaide
bin="$PWD/build/debug/bin"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/kestro-demo.XXXXXX")"
cp -R samples/Favorites samples/bookmarks.htm "$scratch/"
mkdir -p "$scratch/handheld"
cp samples/handheld/KestroDB.pdb "$scratch/handheld/"

# Everything the host and the conduit keep goes into the scratch folder: the
# settings (registry), the HotSync users and their log, the simulated
# handheld, and the state file (it lives beside the host program).
export KESTRO_REGISTRY="$scratch/registry.reg"
export KESTRO_HOTSYNC_HOME="$scratch/hotsync"
export KESTRO_HANDHELD="$scratch/handheld"
export KESTRO_HOST_FOLDER="$scratch/"
export KESTRO_MESSAGE_LOG="$scratch/messages.txt"
if [ "$browser" = 0 ]; then location="$scratch/Favorites"; else location="$scratch/bookmarks.htm"; fi
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kestro]\r\n"FavoritesPath"="%s"\r\n"BrowserType"=dword:%08x\r\n' \
  "$location" "$browser" > "$KESTRO_REGISTRY"

show_desktop() {
  if [ "$browser" = 0 ]; then
    (cd "$scratch/Favorites" && find . -name '*.url' | sort | while read -r f; do
      printf '  %s  ->  %s\n' "${f#./}" "$(tr -d '\r' < "$f" | sed -n 's/^URL=//p')"
    done)
  else
    tr -d '\r' < "$scratch/bookmarks.htm" | sed 's/^/  /'
  fi
}

echo "== The handheld before the HotSync"
"$bin/hotsync" dump KestroDB
echo
echo "== The desktop before the HotSync ($location)"
show_desktop
echo
echo "== HotSync"
"$bin/hotsync" sync --conduit "$bin/Kestro.so" --type 0
echo
echo "== HotSync log"
"$bin/hotsync" log
echo
echo "== The handheld's KestroDB after the HotSync"
"$bin/hotsync" dump KestroDB
echo
echo "== The desktop after the HotSync"
show_desktop
echo
echo "Scratch copy: $scratch (run the same commands again with the variables above to see a second HotSync change nothing)"
