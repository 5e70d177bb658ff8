#!/usr/bin/env bash
# Start-up and peak memory of the game beside a bare Qt window, run by hand (not a test):
#   bench/startup.sh [BUILD_DIR] [STARTS] [OTHER_TAVLON]
# Each program starts STARTS times (12 by default, after one start of each that is not
# counted), taking turns, on one virtual X display inside one D-Bus session; the time is from
# the start of the program to its first mapped window (tavlon_mapwait, which hears the map
# from the X server), beside the processor time the program had used by then (its threads
# together, those already ended not counted), which a busy machine disturbs much less. Then each runs two seconds under
# /usr/bin/time for its peak resident memory. OTHER_TAVLON, another build of the game (an older one, say), is measured in the
# same run. Needs tavlon, tavlon_barewindow and tavlon_mapwait built in BUILD_DIR (build by
# default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
starts=${2:-12}
other=${3:-}
for target in tavlon tavlon_barewindow tavlon_mapwait; do
  if [ ! -x "$build/$target" ]; then
    echo "$build/$target is missing: cmake --build $build --target $target" >&2
    exit 2
  fi
done

# shellcheck disable=SC1091 # tests/xvfb.sh: start_xvfb
. "$root/tests/xvfb.sh"
work=$(mktemp -d)
cleanup() {
  kill "${xvfb:-}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# Numbers apart from those of the tests, which may be running meanwhile.
start_xvfb 150 199
kill -0 "$xvfb" 2>/dev/null || { echo "the virtual display did not start" >&2; exit 2; }
# Folders of the game's own, its settings and data kept out of the user's.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR

# name and command line of each program, one per line; each game has a data folder of its own.
cp -r "$build/run" "$work/data"
{
  echo "tavlon $build/tavlon --data-dir $work/data"
  echo "bare $build/tavlon_barewindow"
  if [ -n "$other" ]; then
    cp -r "$build/run" "$work/otherdata"
    echo "other $(cd "$(dirname "$other")" && pwd)/$(basename "$other") --data-dir $work/otherdata"
  fi
} >"$work/programs"

# Runs inside the D-Bus session: one line "NAME MS CPU_MS" per start.
measure() {
  local i n=0 names=() lines=() line k
  while read -r line; do
    names+=("${line%% *}")
    lines+=("${line#* }")
    n=$((n + 1))
  done <"$work/programs"
  for i in $(seq 0 "$starts"); do
    # Taking turns, the first of each round changing, so that none gains from another.
    for k in $(seq 0 $((n - 1))); do
      local j=$(((i + k) % n)) ms
      # shellcheck disable=SC2086 # the command line splits at its spaces
      if ! ms=$("$build/tavlon_mapwait" ${lines[$j]}); then
        echo "${names[$j]}: start $i not counted" >&2
      elif ((i > 0)); then
        echo "${names[$j]} $ms"
      fi
    done
  done
}
session=()
if command -v dbus-run-session >/dev/null; then
  session=(dbus-run-session --)
fi
export work build starts
"${session[@]}" bash -c "$(declare -f measure); measure" >"$work/times"

# median NAME [FIELD]: of the times (field 2, the default) or of the processor times (3).
median() {
  grep "^$1 " "$work/times" | cut -d' ' -f"${2:-2}" | grep -v '^-*$' | sort -g |
    awk '{v[NR] = $1} END {print (NR == 0) ? -1 : (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
range() {
  grep "^$1 " "$work/times" | cut -d' ' -f2 | sort -g |
    awk 'NR == 1 {lo = $1} {hi = $1} END {print lo " .. " hi}'
}
# Peak resident memory two seconds after the start (SIGTERM then closes the program).
peak() {
  local line
  line=$(grep "^$1 " "$work/programs")
  # shellcheck disable=SC2086
  "${session[@]}" /usr/bin/time -f %M -o "$work/peak" timeout -s TERM 2 ${line#* } \
    </dev/null >/dev/null 2>&1 || true
  tail -n 1 "$work/peak"
}

bare_ms=$(median bare)
bare_cpu=$(median bare 3)
bare_kb=$(peak bare)
printf 'first mapped window, median of %d starts (fastest .. slowest); processor time by then,\n' "$starts"
printf 'median; peak memory:\n'
while read -r name _; do
  ms=$(median "$name")
  cpu=$(median "$name" 3)
  if [ "$name" = bare ]; then kb=$bare_kb; else kb=$(peak "$name"); fi
  awk -v n="$name" -v ms="$ms" -v r="$(range "$name")" -v b="$bare_ms" -v kb="$kb" -v bkb="$bare_kb" \
    -v cpu="$cpu" -v bcpu="$bare_cpu" \
    'BEGIN {printf "  %-7s %7.1f ms (%s)  %.2f x bare   cpu %6.1f ms  %.2f x bare   %6.1f MB  %+5.1f MB\n",
            n, ms, r, ms / b, cpu, (bcpu > 0 ? cpu / bcpu : 0), kb / 1024, (kb - bkb) / 1024}'
done <"$work/programs"
echo "  (the game's goal: at most 1.20 x bare, at most +15 MB)"
