#!/bin/sh
# Windows self-registration under wine: regsvr32 registers Kestro.dll with the
# stand-in Conduit Manager, and regsvr32 /u removes the registration again.
# Usage: regsvr32_test.sh BIN_DIR SOURCE_DIR
set -eu
bin=$1
run="$2/cmake/wine-run.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KESTRO_REGISTRY="$work/registry.reg" KESTRO_HOTSYNC_HOME="$work/home" \
       KESTRO_MESSAGE_LOG="$work/messages.txt" KESTRO_HOST_JOURNAL="$work/journal.txt"
fail() { echo "FAILED: $*"; cat "$work"/*.txt 2>/dev/null; exit 1; }

"$run" regsvr32 /s "$bin/Kestro.dll" || fail "regsvr32 answered $?"
"$run" "$bin/hotsync.exe" conduits | tr -d '\r' > "$work/registered.txt"
grep -q '^Kstr  Kestro  priority 2' "$work/registered.txt" || fail "not registered"
grep -q 'library: .*Kestro\.dll$' "$work/registered.txt" || fail "library path not registered"
grep -q 'directory: Default  info: Kestro Sync' "$work/registered.txt" || fail "directory or info missing"
grep -q '^HsRefreshConduitInfo' "$work/journal.txt" || fail "the host was not asked to reread its conduits"
! grep -q 'CmSetCreatorFile\|CmSetCreatorRemote' "$work/journal.txt" || fail "empty values were registered"

"$run" regsvr32 /s /u "$bin/Kestro.dll" || fail "regsvr32 /u answered $?"
"$run" "$bin/hotsync.exe" conduits | tr -d '\r' > "$work/unregistered.txt"
grep -q 'No conduit is registered' "$work/unregistered.txt" || fail "still registered"
[ ! -s "$work/messages.txt" ] || fail "a message box was shown"
echo "regsvr32 registered and unregistered Kestro.dll"
