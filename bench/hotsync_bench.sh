#!/usr/bin/env bash
# Whole HotSyncs through the hotsync program of a build (release by default),
# against the simulated handheld and desktop favourites that
# bench/make_favorites.pl makes in a scratch folder:
#
#   bench/hotsync_bench.sh [--runs N] [--build DIR] [--keep] [CASE ...]
#
# --keep leaves the scratch folder for a profiler: each world in it has an
# env.sh that points the host at it (". WORLD/env.sh", then run hotsync sync).
#
# Cases (all by default):
#   steady   a HotSync that changes nothing, 10,000 favourites in 500 folders,
#            bookmark file and favourites folder; with the floor (cat of the
#            file, grep -c of its links) timed in the same run, the ratios to
#            it, the peak memory and the host calls per record
#   first    first HotSyncs: the desktop's 10,000 favourites into an empty
#            handheld, and 10,000 new handheld favourites into an empty
#            bookmark file and an empty favourites folder
#   new-folder  only the last of those, alternating with its floor: the same
#            10,000 .url files (recorded from the HotSync's own output)
#            written by bench/write_files.pl into a new folder in the same
#            place, and the ratio to it; system calls per file with --strace
#   deep     a first HotSync of a bookmark file of folders nested 20,000 deep,
#            and the steady HotSync after it
#   growth   the steady HotSync at 1,000 to 16,000 favourites
#   recovery the recovery file on the steady HotSync of 10,000 favourites: its
#            size (kept by a HotSync that loses its link at its first record
#            write) beside the steady HotSync's times; run it on two builds
#            to compare recovery file formats
#
# Each figure is the median of N runs (default 5) of wall time and of CPU time
# (user + system); the machine may be shared, so medians, not means. Nothing
# here fails on a slow figure: the goal is printed beside it.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
build=build/release
keep=0
trace=0
cases=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    --keep) keep=1; shift ;;
    --strace) trace=1; shift ;;
    -h|--help) sed -n '2,30p' "$0"; exit 0 ;;
    steady|first|new-folder|deep|growth|recovery) cases+=("$1"); shift ;;
    *) echo "usage: $0 [--runs N] [--build DIR] [--keep] [--strace] [steady|first|new-folder|deep|growth|recovery ...]" >&2; exit 2 ;;
  esac
done
[ ${#cases[@]} -gt 0 ] || cases=(steady first deep growth recovery)

case "$build" in /*) bin="$build/bin" ;; *) bin="$PWD/$build/bin" ;; esac
conduit="$bin/Kestro.so"
[ -x "$bin/hotsync" ] && [ -f "$conduit" ] || {
  echo "no hotsync or Kestro.so in $bin: cmake --preset release && cmake --build --preset release" >&2
  exit 2
}
make_favorites() { perl bench/make_favorites.pl "$@"; }
scratch="$(mktemp -d "${TMPDIR:-/tmp}/kestro-hotsync-bench.XXXXXX")"
if [ "$keep" = 1 ]; then trap 'echo "kept: $scratch"' EXIT; else trap 'rm -rf "$scratch"' EXIT; fi

# Moves a file or folder the benchmark is done with out of the way, to be
# deleted only at the end. On ext4 without a journal (as here) the kernel
# passes over every inode freed in the last minutes each time it makes a
# file, so 10,000 files made just after 10,000 were deleted took 10 s rather
# than 1 s: deleting between runs would time the benchmark's own deletions.
# (A run started minutes after another bench run deleted its scratch folder
# may still meet them.)
discard() { [ ! -e "$1" ] || mv "$1" "$(mktemp -u "$scratch/discarded.XXXXXX")"; }

# A world: the settings, HotSync users, handheld and state files of one
# store, in its own folder. browser 0 is a favourites folder, 1 a bookmark
# file.
world() {
  local dir="$scratch/$1" browser="$2"
  mkdir -p "$dir/handheld"
  export KESTRO_REGISTRY="$dir/registry.reg" KESTRO_HOTSYNC_HOME="$dir/hotsync" \
    KESTRO_HANDHELD="$dir/handheld" KESTRO_HOST_FOLDER="$dir/" KESTRO_MESSAGE_LOG="$dir/messages.txt"
  unset KESTRO_HOST_JOURNAL KESTRO_HOST_FAULT
  if [ "$browser" = 0 ]; then location="$dir/Favorites"; else location="$dir/bookmarks.htm"; fi
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kestro]\r\n"FavoritesPath"="%s"\r\n"BrowserType"=dword:%08x\r\n' \
    "$location" "$browser" >"$KESTRO_REGISTRY"
  echo "export KESTRO_REGISTRY='$KESTRO_REGISTRY' KESTRO_HOTSYNC_HOME='$KESTRO_HOTSYNC_HOME'" \
    "KESTRO_HANDHELD='$KESTRO_HANDHELD' KESTRO_HOST_FOLDER='$KESTRO_HOST_FOLDER'" \
    "KESTRO_MESSAGE_LOG='$KESTRO_MESSAGE_LOG'" >"$dir/env.sh"
  world_dir="$dir"
}

# Forgets every earlier HotSync: no handheld database, no state file.
forget() { rm -rf "$world_dir/handheld"/* "$world_dir"/Kestro*.ksd "$world_dir"/*.krv; }
empty_desktop() {
  if [ "${location##*.}" = htm ]; then
    printf '<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n</DL><p>\r\n' >"$location"
  else
    discard "$location" && mkdir "$location"
  fi
}

# Times "$@" once: sets wall_ms, cpu_ms and rss_kb. A failing command stops
# the benchmark with its output. The CPU time (user + system) is the change
# in the shell's finished children's time that `times` prints to the
# millisecond; /usr/bin/time prints it in 10 ms steps, too coarse for the
# smallest worlds, so it gives only the peak memory.
time_once() {
  local start end status=0
  times >"$scratch/times-before.txt"
  start="$EPOCHREALTIME"
  /usr/bin/time -f '%M' -o "$scratch/time.txt" "$@" >"$scratch/output.txt" 2>&1 || status=$?
  end="$EPOCHREALTIME"
  times >"$scratch/times-after.txt"
  if [ "$status" != 0 ]; then
    echo "failed ($status): $*" >&2
    cat "$scratch/output.txt" >&2
    exit 1
  fi
  wall_ms=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
  rss_kb=$(tail -n 1 "$scratch/time.txt")
  # The second line of `times` is the children's user and system time, as 0m1.234s.
  cpu_ms=$(awk 'FNR == 2 { t = 0; for (i = 1; i <= 2; i++) { split($i, p, /[ms]/); t += p[1] * 60 + p[2] }
                           if (FILENAME == ARGV[1]) a = t; else b = t }
                END { printf "%.0f", (b - a) * 1000 }' "$scratch/times-before.txt" "$scratch/times-after.txt")
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

sync_once() { time_once "$bin/hotsync" sync --conduit "$conduit" --type 0; }

# Runs "prepare; time the HotSync" N times; sets wall, cpu, rss (the highest).
measure() {
  local prepare="$1" walls=() cpus=() i
  rss=0
  for ((i = 0; i < runs; i++)); do
    $prepare
    sync_once
    walls+=("$wall_ms")
    cpus+=("$cpu_ms")
    [ "$rss_kb" -gt "$rss" ] && rss="$rss_kb"
  done
  wall=$(median "${walls[@]}")
  cpu=$(median "${cpus[@]}")
}

# Median wall time of a shell command, for the floor; like the HotSyncs, it
# runs once untimed first, so that both find the files in the cache.
floor_ms() {
  local walls=() i
  time_once sh -c "$1"
  for ((i = 0; i < runs; i++)); do
    time_once sh -c "$1"
    walls+=("$wall_ms")
  done
  median "${walls[@]}"
}

# Host calls per record of one more HotSync (after "$1"), from the stand-in
# host's journal: sets calls.
count_calls() {
  $1
  export KESTRO_HOST_JOURNAL="$world_dir/journal.txt"
  rm -f "$KESTRO_HOST_JOURNAL"
  sync_once
  unset KESTRO_HOST_JOURNAL
  calls=$(awk -v r="$records" 'END { printf "%.2f", NR / r }' "$world_dir/journal.txt")
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b > 0) ? a / b : 0 }'; }
row() { printf '| %-58s | %9s | %8s | %s\n' "$1" "$2" "$3" "$4"; }
header() { row "$1" "wall ms" "CPU ms" "goal / notes"; }

n=10000
records=$((n + n / 20))
echo "Whole HotSyncs through $bin/hotsync, medians of $runs runs; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

steady() {
  echo
  header "steady HotSync (nothing changed), $n favourites / $((n / 20)) folders"
  world steady-file 1
  make_favorites bookmarks "$n" "$location"
  local cat_ms grep_ms
  cat_ms=$(floor_ms "cat '$location' >/dev/null")
  grep_ms=$(floor_ms "grep -c '<A HREF' '$location' >/dev/null")
  row "floor: cat of the bookmark file ($(wc -c <"$location") bytes)" "$cat_ms" "" ""
  row "floor: grep -c of its links" "$grep_ms" "" ""
  forget
  sync_once
  measure :
  count_calls :
  row "bookmark file" "$wall" "$cpu" "<= 150 ms; $(ratio "$wall" "$cat_ms")x cat, $(ratio "$wall" "$grep_ms")x grep; peak RSS $((rss / 1024)) MB; $calls host calls/record"

  world steady-folder 0
  make_favorites folder "$n" "$location"
  cat_ms=$(floor_ms "find '$location' -name '*.url' -exec cat {} + >/dev/null")
  grep_ms=$(floor_ms "grep -r -c '^URL=' '$location' >/dev/null")
  row "floor: cat of the $n .url files" "$cat_ms" "" ""
  row "floor: grep -c of their links" "$grep_ms" "" ""
  forget
  sync_once
  measure :
  count_calls :
  row "favourites folder" "$wall" "$cpu" "<= 400 ms; $(ratio "$wall" "$cat_ms")x cat, $(ratio "$wall" "$grep_ms")x grep; peak RSS $((rss / 1024)) MB; $calls host calls/record"
}

# The first HotSyncs. The desktop is the world's own; the handheld is a copy
# of one made once.
handheld_image="$scratch/KestroDB.pdb"
new_handheld() { forget; empty_desktop; cp "$handheld_image" "$world_dir/handheld/KestroDB.pdb"; }
first() {
  echo
  header "first HotSync, $n favourites / $((n / 20)) folders"
  world first-file 1
  make_favorites bookmarks "$n" "$location"
  measure forget
  count_calls forget
  row "bookmark file into an empty handheld" "$wall" "$cpu" "<= 1 s; $calls host calls/record"
  world first-folder 0
  make_favorites folder "$n" "$location"
  measure forget
  count_calls forget
  row "favourites folder into an empty handheld" "$wall" "$cpu" "<= 1 s; $calls host calls/record"
  make_favorites handheld "$n" "$handheld_image"
  world new-file 1
  measure new_handheld
  count_calls new_handheld
  row "new handheld favourites into an empty bookmark file" "$wall" "$cpu" "<= 2 s; $calls host calls/record"
  world new-folder 0
  measure new_handheld
  count_calls new_handheld
  row "new handheld favourites into an empty favourites folder" "$wall" "$cpu" "<= 5 s; $calls host calls/record"
}

# The floor of the last first HotSync: the files it wrote, written again by a
# minimal program (temporary file and rename, folders made as needed) into
# the same folder made anew. Both alternate in the same place, so they
# meet the same file system; the ratio of the medians is printed.
new_folder() {
  echo
  header "new handheld favourites into an empty favourites folder, $n favourites"
  [ -f "$handheld_image" ] || make_favorites handheld "$n" "$handheld_image"
  world new-folder 0
  new_handheld
  sync_once
  perl bench/write_files.pl --save "$location" "$scratch/files.txt"
  local walls=() cpus=() floor_walls=() floor_cpus=() i
  for ((i = 0; i < runs; i++)); do
    new_handheld
    sync_once
    walls+=("$wall_ms") cpus+=("$cpu_ms")
    empty_desktop
    time_once perl bench/write_files.pl "$location" "$scratch/files.txt"
    floor_walls+=("$wall_ms") floor_cpus+=("$cpu_ms")
  done
  wall=$(median "${walls[@]}") cpu=$(median "${cpus[@]}")
  local fwall fcpu
  fwall=$(median "${floor_walls[@]}") fcpu=$(median "${floor_cpus[@]}")
  row "floor: the same $n files by write_files.pl" "$fwall" "$fcpu" ""
  row "new handheld favourites into an empty favourites folder" "$wall" "$cpu" \
    "<= 5 s; $(ratio "$wall" "$fwall")x the floor's wall, $(ratio "$cpu" "$fcpu")x its CPU"
  if [ "$trace" = 1 ]; then
    new_handheld
    strace -f -c -o "$scratch/strace-sync.txt" "$bin/hotsync" sync --conduit "$conduit" --type 0 >/dev/null 2>&1
    empty_desktop
    strace -f -c -o "$scratch/strace-floor.txt" perl bench/write_files.pl "$location" "$scratch/files.txt"
    row "system calls per file: HotSync / floor" \
      "$(awk -v n="$n" '/ total$/ { printf "%.1f", $4 / n }' "$scratch/strace-sync.txt")" \
      "$(awk -v n="$n" '/ total$/ { printf "%.1f", $4 / n }' "$scratch/strace-floor.txt")" \
      "strace -f -c: $scratch/strace-sync.txt, strace-floor.txt"
  fi
}

deep() {
  echo
  header "deep nesting"
  world deep 1
  make_favorites deep 20000 "$location"
  measure forget
  row "bookmark file nested 20,000 deep into an empty handheld" "$wall" "$cpu" "loads in <= 1 s (this is the whole HotSync); peak RSS $((rss / 1024)) MB"
  measure :
  row "the same, a steady HotSync after it" "$wall" "$cpu" "peak RSS $((rss / 1024)) MB"
}

growth() {
  echo
  header "growth of the steady HotSync"
  local size browser store
  declare -A smallest
  for browser in 1 0; do
    for size in 1000 2000 4000 8000 16000; do
      world "growth-$browser-$size" "$browser"
      if [ "$browser" = 1 ]; then
        store="bookmark file"
        make_favorites bookmarks "$size" "$location"
      else
        store="favourites folder"
        make_favorites folder "$size" "$location"
      fi
      sync_once
      measure :
      [ "$size" = 1000 ] && smallest[$browser]="$cpu"
      local note=""
      [ "$size" = 16000 ] && note="CPU x$(ratio "$cpu" "${smallest[$browser]}") from 1,000; goal <= x22 (n log n)"
      row "$store, $size favourites" "$wall" "$cpu" "$note"
      discard "$world_dir"
    done
  done
}

recovery() {
  echo
  header "the recovery file on the steady HotSync, $n favourites"
  local browser store size before_ms
  for browser in 1 0; do
    world "recovery-$browser" "$browser"
    if [ "$browser" = 1 ]; then
      store="bookmark file"
      make_favorites bookmarks "$n" "$location"
    else
      store="favourites folder"
      make_favorites folder "$n" "$location"
    fi
    forget
    sync_once
    KESTRO_HOST_FAULT="SyncWriteRec:1:268461072:sticky" "$bin/hotsync" sync --conduit "$conduit" --type 0 >/dev/null 2>&1 || true
    size=$(stat -c %s "$world_dir"/*.krv)
    sync_once  # puts the records back
    measure :
    row "$store: steady HotSync" "$wall" "$cpu" "recovery file $size bytes ($((size / records)) a record)"
    discard "$world_dir"
  done
}

for c in "${cases[@]}"; do "${c//-/_}"; done
