#!/usr/bin/env bash
# Runs the property test of two-way HotSyncs over many seeds and reports each
# kind of failure once, as a minimal reproducible seed: the seed with the
# smallest sizes (items, depth, edits) that still show the same kind of
# violation, the command that replays it, and its scenario in readable form.
#
#   scripts/property-seeds.sh [COUNT [FIRST]]     default: 5000 seeds from 1
#
# Environment: BUILD (default build/debug), JOBS (default 2), STORES (default
# "FavoritesFolder BookmarkFile"), STORY=0 to leave the scenarios out.
set -euo pipefail

count=${1:-5000}
first=${2:-1}
build=${BUILD:-build/debug}
jobs=${JOBS:-2}
stores=${STORES:-FavoritesFolder BookmarkFile}
program="$build/bin/property_sync_test"
[[ -x $program ]] || { echo "no $program: build it first (cmake --build --preset debug)" >&2; exit 2; }
# Desktop changes are flushed to disk; in memory the flushes cost nothing.
[[ -d /dev/shm ]] && export TMPDIR=/dev/shm
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chunk=100

# The failure lines of one run: "kind<TAB>the whole line".
failures() {
  grep -o 'PROPERTY FAILURE .*' | sed -E 's/^PROPERTY FAILURE (seed [^:]*): ([^:]*):/\2\t&/'
}

for store in $stores; do
  for ((start = first; start < first + count; start += chunk)); do
    n=$((first + count - start < chunk ? first + count - start : chunk))
    echo "$store $start $n"
  done
done | xargs -P "$jobs" -L 1 bash -c '
  KESTRO_PROPERTY_FIRST_SEED=$1 KESTRO_PROPERTY_SEEDS=$2 "'"$program"'" --gtest_filter=PropertySync.$0 \
    >"'"$work"'/$0-$1.out" 2>&1 || true'

# A replay of one seed at fixed sizes; true when it shows this kind.
replay() {  # store seed items depth edits
  KESTRO_PROPERTY_SEED=$2 KESTRO_PROPERTY_ITEMS=$3 KESTRO_PROPERTY_DEPTH=$4 KESTRO_PROPERTY_EDITS=$5 \
    "$program" --gtest_filter="PropertySync.$1" 2>&1 </dev/null || true
}
shows() {  # store kind seed items depth edits
  replay "$1" "$3" "$4" "$5" "$6" | { failures || true; } | cut -f1 | grep -cxF "$2" >/dev/null
}

total=0
for store in $stores; do
  cat "$work/$store"-*.out | failures >"$work/$store.failures" || true
  seeds=$({ grep -o 'seed [0-9]*' "$work/$store.failures" || true; } | sort -u | wc -l)
  total=$((total + seeds))
  echo "== $store: $seeds of $count seeds broke a property"
  cut -f1 "$work/$store.failures" | sort | uniq -c | sort -rn | while read -r times kind; do
    line=$(grep -m1 -P "^\Q$kind\E\t" "$work/$store.failures" | cut -f2)
    read -r seed items depth edits < <(sed -E 's/.*seed ([0-9]+), .*items ([0-9]+), depth ([0-9]+), edits ([0-9]+).*/\1 \2 \3 \4/' <<<"$line")
    # Shrink one size at a time, keeping the smallest value that still fails.
    for size in items depth edits; do
      case $size in
        items) ladder="1 2 3 4 6 8 12 16 24 32 48 64 96 128 192 256 384 512 768 1024 1536" ;;
        depth) ladder="1 2 3 4" ;;
        edits) ladder="1 2 3 4 6 8 12 16 24 32" ;;
      esac
      for value in $ladder; do
        ((value < ${!size})) || break
        declare "try_$size=$value"
        if shows "$store" "$kind" "$seed" "${try_items:-$items}" "${try_depth:-$depth}" "${try_edits:-$edits}"; then
          declare "$size=$value"
          break
        fi
      done
      unset try_items try_depth try_edits
    done
    replay="KESTRO_PROPERTY_SEED=$seed KESTRO_PROPERTY_ITEMS=$items KESTRO_PROPERTY_DEPTH=$depth KESTRO_PROPERTY_EDITS=$edits $program --gtest_filter=PropertySync.$store"
    echo
    echo "-- $kind: $times seeds, first $line"
    echo "   minimal: seed $seed, items $items, depth $depth, edits $edits"
    echo "   replay:  $replay"
    if [[ ${STORY:-1} != 0 ]]; then
      replay "$store" "$seed" "$items" "$depth" "$edits" |
        awk '/^seed /{on=1} on && /^Violations:/{print; tail=1; next} tail && !/^  /{exit} on' | sed 's/^/   | /'
    fi
  done
done
echo
echo "$total seeds broke a property ($count seeds per store: $stores)"
((total == 0))
