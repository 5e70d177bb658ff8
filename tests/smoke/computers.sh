#!/usr/bin/env bash
# The real program under Xvfb with three computer seats: White's move is answered by the
# computers; the program closed (SIGTERM) while a computer thinks keeps the game, and the
# game resumed at the next start lets the computers go on.
# Usage: computers.sh <tavlon executable> <ready run folder> <artefact folder>
set -euo pipefail

exe=$(readlink -f "$1")
runsrc=$(readlink -f "$2")
artefacts=$(readlink -m "$3")
mkdir -p "$artefacts"
log="$artefacts/computers-app.log"
: >"$log"

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill -KILL "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "computers: $*"; exit 1; }

# shellcheck source=../xvfb.sh
source "$(dirname "$0")/../xvfb.sh"
start_xvfb 241 290

cp -r "$runsrc" "$work/run"
data="$work/run"
rm -f "$data/temp.tvl" "$data/temp.line" "$data/kept.tvl" "$data/crash.tvl"
cd "$data"
unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/tavlon"
# White a person, the others the computer at its strongest: each thinks about two seconds.
printf '[play]\nseats="0,3,3,3"\nrounds=0\n' >"$XDG_CONFIG_HOME/tavlon/tavlon.ini"

side() { od -An -tu1 -N1 temp.tvl | tr -d ' '; }
# The number of notation lines the autosave holds (each move writes one).
lines() {
  local n=0 i
  for i in $(seq 2 60); do # line 1 of a new game is empty
    [ "$(od -An -tu1 -j$((321 + 256 * i)) -N1 temp.tvl | tr -d ' ')" = 0 ] && break
    n=$((n + 1))
  done
  echo "$n"
}

start_tavlon
click 150 80           # the intro's "Новая игра"
square 4 7; square 4 5 # White: D2-D4; Red's computer starts thinking
sleep 0.3
[ "$(side)" = 2 ] || fail "after White's move Red should be to move, the autosave says $(side)"
kill -TERM "$app"
ended 100 || fail "SIGTERM did not end the program while the computer thought"
app=
[ "$(stat -c %s kept.tvl)" -eq 3200580 ] || fail "the game was not kept while the computer thought"

start_tavlon
answer_box Return "$artefacts/computers-resume-question.png" || fail "expected the resume question"
# The computers go on: Red, Green and Brown answer, White is to move again.
for _ in $(seq 100); do
  [ "$(side)" = 1 ] && [ "$(lines)" -ge 4 ] && break
  sleep 0.2
done
[ "$(side)" = 1 ] || fail "the computers did not go on after resuming (side $(side))"
[ "$(lines)" -ge 4 ] || fail "the computers' moves are not in the autosave"
import -window root "$artefacts/computers.png" 2>/dev/null || true
echo "computers: kept while thinking, and the computers went on after resuming"
