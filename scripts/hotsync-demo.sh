#!/usr/bin/env bash
# The main job: builds Kestro and its stand-in HotSync host if needed, then
# runs a HotSync of the conduit. (This first version asks the conduit for its
# name, version and information and runs a HotSync with sync type 0.)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset debug >/dev/null
cmake --build --preset debug -j 2 --target Kestro hotsync sync20 condmgr userdata hslog20 hsapi instaide
./build/debug/bin/hotsync
