#!/usr/bin/env bash
# Two program windows in one network game room on a mosquitto of the test's own: one creates
# the room's game, the other joins it through the dialog, and each plays its colours' moves
# by clicks; both end with the same game in their autosave.
# Usage: network.sh <tavlon executable> <ready run folder> <artefact folder>
set -euo pipefail

exe=$(readlink -f "$1")
runsrc=$(readlink -f "$2")
artefacts=$(readlink -m "$3")
mkdir -p "$artefacts"
log="$artefacts/network-app.log"
: >"$log"

broker_bin=""
for b in /usr/sbin/mosquitto /usr/bin/mosquitto; do [ -x "$b" ] && broker_bin=$b && break; done
if [ -z "$broker_bin" ]; then
  echo "network: mosquitto is not installed, skipped"
  exit 0
fi

work=$(mktemp -d)
cleanup() {
  for p in ${apps:-} ${broker:-}; do kill -KILL "$p" 2>/dev/null || true; done
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  import -window root "$artefacts/network-failed.png" 2>/dev/null || true
  echo "network: $*"
  exit 1
}

# shellcheck source=../xvfb.sh
source "$(dirname "$0")/../xvfb.sh"
start_xvfb 291 340
unset QT_QPA_PLATFORM

# The broker on a free loopback port.
port=0
for _ in $(seq 50); do
  p=$((20000 + RANDOM % 30000))
  if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then port=$p; break; fi
done
[ "$port" -ne 0 ] || fail "no free port for the broker"
printf 'listener %s 127.0.0.1\nallow_anonymous true\npersistence false\nset_tcp_nodelay true\n' \
  "$port" >"$work/mosquitto.conf"
"$broker_bin" -c "$work/mosquitto.conf" >>"$artefacts/network-broker.log" 2>&1 &
broker=$!
for _ in $(seq 50); do (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.1; done

# Each window has its data folder and settings: Anna plays White and Green, Boris Red and
# Brown, both people.
apps=""
declare -A data
for who in anna boris; do
  cp -r "$runsrc" "$work/$who"
  rm -f "$work/$who/temp.tvl" "$work/$who/kept.tvl" "$work/$who/crash.tvl"
  data[$who]="$work/$who"
  mkdir -p "$work/config-$who/tavlon"
done
printf '[net]\nhost=127.0.0.1\nport=%s\nroom=smoke\nname=Anna\nclient=aaaa0001\nseats="P,-,P,-"\n' \
  "$port" >"$work/config-anna/tavlon/tavlon.ini"
printf '[net]\nhost=127.0.0.1\nport=%s\nroom=smoke\nname=Boris\nclient=bbbb0002\nseats="-,P,-,P"\n' \
  "$port" >"$work/config-boris/tavlon/tavlon.ini"

declare -A wins
# Starts the program for `who` and places its window at screen x `left`.
start_window() {
  local who=$1 left=$2 w
  XDG_CONFIG_HOME="$work/config-$who" "$exe" --data-dir "${data[$who]}" >>"$log" 2>&1 &
  apps="$apps $!"
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --name '^Tavlon 1\.0$' 2>/dev/null); do
      [ "$w" = "${wins[anna]:-}" ] || { wins[$who]=$w; break 2; }
    done
    sleep 0.2
  done
  [ -n "${wins[$who]:-}" ] || fail "the window of $who did not appear"
  sleep 0.5
  xdotool windowmove "${wins[$who]}" "$left" 0
  sleep 0.5
}
# Makes `who`'s window the one the helpers click in.
use() {
  eval "$(xdotool getwindowgeometry --shell "${wins[$1]}")"
  menu=$((HEIGHT - 492))
  bx=$((X + 38))
  by=$((Y + menu + 123))
}
# "Игра → Сетевая игра…" in `who`'s window, then the dialog's button: Return joins, "create"
# presses "Создать" (the button box's third button from the left).
network_dialog() {
  use "$1"
  xdotool mousemove $((X + 20)) $((Y + 8)) click 1
  sleep 0.5
  xdotool key Up Up Return
  local d=""
  for _ in $(seq 25); do
    d=$(xdotool search --onlyvisible --name '^Сетевая игра$' 2>/dev/null | head -n 1) && [ -n "$d" ] && break
    sleep 0.2
  done
  [ -n "$d" ] || fail "the network dialog did not open for $1"
  import -window root "$artefacts/network-dialog-$1.png" 2>/dev/null || true
  if [ "$2" = create ]; then
    eval "$(xdotool getwindowgeometry --shell "$d")"
    xdotool mousemove $((X + WIDTH - 139)) $((Y + HEIGHT - 22)) click 1
  else
    xdotool key Return
  fi
  sleep 1
}
# The side to move in `who`'s autosave, and the number of moves it holds.
side() { od -An -tu1 -N1 "${data[$1]}/temp.tvl" | tr -d ' '; }
lines() {
  local n=0 i
  for i in $(seq 2 60); do
    [ "$(od -An -tu1 -j$((321 + 256 * i)) -N1 "${data[$1]}/temp.tvl" | tr -d ' ')" = 0 ] && break
    n=$((n + 1))
  done
  echo "$n"
}
# Waits until both autosaves hold `n` moves.
both_at() {
  for _ in $(seq 50); do
    [ -f "${data[anna]}/temp.tvl" ] && [ -f "${data[boris]}/temp.tvl" ] &&
      [ "$(lines anna)" = "$1" ] && [ "$(lines boris)" = "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

start_window anna 0
start_window boris 560
network_dialog anna create
network_dialog boris join
both_at 0 || fail "the two windows did not get the room's new game"

use anna; square 4 7; square 4 5  # White d2-d4
both_at 1 || fail "White's move did not reach both windows"
use anna; square 2 2; square 3 2  # Red's move clicked at Anna's: not her seat, not played
sleep 1
[ "$(lines anna)" = 1 ] || fail "a move for a seat held elsewhere was played"
use boris; square 2 2; square 3 2 # Red b7-c7
both_at 2 || fail "Red's move did not reach both windows"
use anna; square 5 2; square 5 3  # Green e7-e6
both_at 3 || fail "Green's move did not reach both windows"
use boris; square 7 7; square 6 7 # Brown g2-f2
both_at 4 || fail "Brown's move did not reach both windows"
[ "$(side anna)" = 1 ] && [ "$(side boris)" = 1 ] || fail "White should be to move in both"
cmp -s "${data[anna]}/temp.tvl" "${data[boris]}/temp.tvl" || fail "the two autosaves differ"
import -window root "$artefacts/network.png" 2>/dev/null || true
echo "network: two windows played four moves in one room and hold the same game"
