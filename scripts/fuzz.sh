#!/usr/bin/env bash
# Builds the fuzz targets (the "fuzz" preset: clang, libFuzzer, ASan+UBSan)
# and runs each for the given number of seconds (default 30), starting from
# its seed corpus in fuzz/corpus/ (the bookmark file's also from the browser
# exports in tests/data/bookmarks/). New inputs go to build/fuzz/corpus/, a
# crash or hang to build/fuzz/findings/. KESTRO_FUZZ_JOBS targets run side by
# side (default 1). Exits non-zero when any target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
jobs=${KESTRO_FUZZ_JOBS:-1}
targets=(bookmark_file state_file regedit profile_string pdb favorite_record)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${KESTRO_JOBS:-2}"

out=build/fuzz
mkdir -p "$out/findings" "$out/logs"
# Seeds beyond each target's own: the browser exports the tests use.
extra_seeds() { [ "$1" = bookmark_file ] && echo tests/data/bookmarks; true; }
run() {
  local t=$1 dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
  mkdir -p "$out/corpus/$t"
  # shellcheck disable=SC2046
  if "$out/bin/${t}_fuzzer" "$out/corpus/$t" "fuzz/corpus/$t" $(extra_seeds "$t") "${dict[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$out/findings/$t-" -print_final_stats=1 >"$out/logs/$t.log" 2>&1; then
    printf '%-16s clean: %s\n' "$t" "$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/logs/$t.log" | grep -o '[0-9]*$') executions in ${seconds}s"
  else
    printf '%-16s FAULT: see %s\n' "$t" "$out/logs/$t.log"
    return 1
  fi
}

failed=0
pids=()
for t in "${targets[@]}"; do
  run "$t" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=$((failed + 1))
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || failed=$((failed + 1)); done
echo "fuzz: $((${#targets[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
