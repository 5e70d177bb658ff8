#!/usr/bin/env bash
# Runs the real program in a virtual X display: starts a game with a click on the intro
# picture, plays a move with clicks, checks the autosave for the moved board, and keeps a
# screenshot. Usage: smoke.sh <tavlon executable> <ready run folder> <artefact folder>
set -euo pipefail

exe=$(readlink -f "$1")
runsrc=$(readlink -f "$2")
artefacts=$(readlink -m "$3")
mkdir -p "$artefacts"

work=$(mktemp -d)
cleanup() {
  # The program keeps its game in the folder removed below: it is waited for.
  if [ -n "${app:-}" ]; then
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
  fi
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=../xvfb.sh
source "$(dirname "$0")/../xvfb.sh"
start_xvfb 91 140

cp -r "$runsrc" "$work/run"
# A game left in the run folder by the last `scripts/run` would be offered at the start.
rm -f "$work/run/temp.tvl" "$work/run/kept.tvl" "$work/run/crash.tvl"
cd "$work/run"
unset QT_QPA_PLATFORM
# The user's own settings stay out of it.
export XDG_CONFIG_HOME="$work/config"
"$exe" --data-dir "$work/run" >"$artefacts/smoke-app.log" 2>&1 &
app=$!

wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tavlon 1\.0$' | head -n 1)
[ -n "$wid" ] || { echo "smoke: the window did not appear"; exit 1; }
sleep 0.5

# The board image lies at (38, 123) of the client area, below the menu bar; the client
# area itself is 492 pixels high, so the menu bar is what the window has above it.
eval "$(xdotool getwindowgeometry --shell "$wid")"
menu=$((HEIGHT - 492))
bx=$((X + 38))
by=$((Y + menu + 123))

byte() { od -An -tu1 -j"$1" -N1 temp.tvl | tr -d ' '; }
board_byte() { byte $((1 + ($1 - 1) * 8 + ($2 - 1))); }

click 150 80       # the start button of the intro picture
square 4 7         # White pawn D2
square 4 5         # to D4
sleep 0.5

import -window root "$artefacts/smoke.png" 2>/dev/null || true

size=$(stat -c %s temp.tvl)
[ "$size" -eq 2560577 ] || { echo "smoke: temp.tvl has $size bytes"; exit 1; }
[ "$(byte 0)" = 2 ] || { echo "smoke: Red should be to move, the snapshot says $(byte 0)"; exit 1; }
[ "$(board_byte 4 5)" = 14 ] || { echo "smoke: D4 should hold the White pawn"; exit 1; }
[ "$(board_byte 4 7)" = 0 ] || { echo "smoke: D2 should be empty"; exit 1; }

echo "smoke: game started, D2-D4 played, autosave holds the moved board"

# A setup round: back to the first board (so nothing asks to save), enter the editor,
# place a White pawn and a White rook, start play and move the pawn.
key() { xdotool key --window "$wid" "$1"; sleep 0.3; }
xdotool mousemove $((bx + 340)) $((by + 200)) # off the board
key ctrl+z
key ctrl+i
key Home                                     # the White pawn
square 5 6                                   # on E3
key End                                      # Brown's king: refused while it stands
key Home
key space
key space
key space                                    # the White rook
square 6 8                                   # on F1
import -window root "$artefacts/smoke-setup.png" 2>/dev/null || true
# "Начать игру" lies at (271, 42) of the client area, 117 x 21.
xdotool mousemove $((X + 329)) $((Y + menu + 52))
sleep 0.2
xdotool click 1
sleep 0.5
square 5 6                                   # the pawn on E3
square 5 5                                   # to E4
sleep 0.5
import -window root "$artefacts/smoke-after-setup.png" 2>/dev/null || true

[ "$(byte 0)" = 2 ] || { echo "smoke: after setup Red should be to move"; exit 1; }
[ "$(board_byte 5 5)" = 11 ] || { echo "smoke: E4 should hold the placed pawn, has $(board_byte 5 5)"; exit 1; }
[ "$(board_byte 5 6)" = 0 ] || { echo "smoke: E3 should be empty"; exit 1; }
[ "$(board_byte 6 8)" = 17 ] || { echo "smoke: F1 should hold the placed rook"; exit 1; }
[ "$(board_byte 4 8)" = 18 ] || { echo "smoke: the White king should stand on D1"; exit 1; }
[ "$(board_byte 1 8)" = 0 ] || { echo "smoke: A1 should be empty in the set-up position"; exit 1; }
echo "smoke: position set up, play started, the autosave holds the set-up game's move"

kill -0 "$app" || { echo "smoke: the program ended early"; exit 1; }
