#!/usr/bin/env bash
# The real program under Xvfb keeps a game across runs: three moves, "Выход", a new start
# answered Yes, two undos and a move; then killed with SIGKILL, started again and answered
# Yes, it goes on from the last position with its undo line; SIGTERM keeps the game
# too. Screenshots of both questions are kept.
# Usage: resume.sh <tavlon executable> <ready run folder> <artefact folder>
set -euo pipefail

exe=$(readlink -f "$1")
runsrc=$(readlink -f "$2")
artefacts=$(readlink -m "$3")
mkdir -p "$artefacts"
log="$artefacts/resume-app.log"
: >"$log"

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill -KILL "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "resume: $*"; exit 1; }

# shellcheck source=../xvfb.sh
source "$(dirname "$0")/../xvfb.sh"
start_xvfb 191 240

cp -r "$runsrc" "$work/run"
data="$work/run"
rm -f "$data/temp.tvl" "$data/kept.tvl" "$data/crash.tvl" # a developer's last game
cd "$data"
unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config"

# The resume question is up: its picture is kept, Enter answers Yes.
answer_yes() {
  answer_box Return "$artefacts/$1.png" || fail "$1: expected the question alone, found $(boxes)"
}
key() { xdotool key --window "$wid" "$1"; sleep 0.4; }
# Off the board, the window given the keyboard (without a window manager nobody gives it
# back when the question closes).
off_board() {
  xdotool mousemove $((bx + 340)) $((by + 200))
  xdotool windowfocus "$wid" 2>/dev/null || true
  sleep 0.3
}
byte() { od -An -tu1 -j"$1" -N1 temp.tvl | tr -d ' '; }
board_byte() { byte $((1 + ($1 - 1) * 8 + ($2 - 1))); }

# First run: the knights of White, Red and Green step out; Brown moves next.
start_tavlon
click 150 80
square 2 8; square 1 6 # B1-A3
square 1 2; square 3 1 # A7-C8
square 7 1; square 8 3 # G8-H6
sleep 0.5
[ "$(byte 0)" = 4 ] || fail "after three moves Brown should move, the autosave says $(byte 0)"
red_knight=$(board_byte 3 1)
green_knight=$(board_byte 8 3)
# "Выход": the menu "Игра" opened with a click, its last item chosen from below.
xdotool mousemove $((X + 20)) $((Y + menu / 2)); sleep 0.2
xdotool click 1; sleep 0.4
xdotool key Up Return
ended || fail "\"Выход\" did not end the program"
app=
[ "$(stat -c %s kept.tvl)" -eq 3200580 ] || fail "no whole game kept at close"

# Second run: Yes, two undos (Red moves again), Red's knight to C8 once more.
start_tavlon
answer_yes resume-question
sleep 0.5
[ ! -e kept.tvl ] || fail "the kept game is still there once the autosave holds it"
off_board
key ctrl+z
key ctrl+z
square 1 2; square 3 1
sleep 0.5
[ "$(byte 0)" = 3 ] || fail "after two undos and Red's move Green should move, not $(byte 0)"
[ "$(board_byte 3 1)" = "$red_knight" ] || fail "Red's knight should stand on C8"
[ "$(board_byte 7 1)" = "$green_knight" ] || fail "the undo should have put Green's knight back on G8"
[ "$(board_byte 8 3)" = 0 ] || fail "H6 should be empty after the undo"
echo "resume: a game closed with \"Выход\" resumed with its undo line"

# A crash: the next run brings the game back with its line, undo included.
kill -KILL "$app"
wait "$app" 2>/dev/null || true
app=
start_tavlon
answer_yes resume-crash-question
sleep 0.5
# The autosave and its line hold the resumed game now: crash.tvl may go, the game stays.
# Killed again before a move: the resumed game is offered once more.
kill -KILL "$app"
wait "$app" 2>/dev/null || true
app=
start_tavlon
answer_yes resume-crash-question-again
off_board
key ctrl+z # Red's knight goes back: the line came back with the crashed game
[ "$(byte 0)" = 2 ] || fail "after the crash undo should give Red the move again, not $(byte 0)"
[ "$(board_byte 3 1)" = 0 ] || fail "the undo after the crash should take Red's knight off C8"
key F4 # and redo brings it back
[ "$(byte 0)" = 3 ] || fail "redo after the crash should give Green the move, not $(byte 0)"
square 7 1; square 8 3 # G8-H6
sleep 0.5
[ "$(byte 0)" = 4 ] || fail "after the crash Green's move should leave Brown to move, not $(byte 0)"
[ "$(board_byte 8 3)" = "$green_knight" ] || fail "Green's knight should stand on H6"
[ "$(board_byte 3 1)" = "$red_knight" ] || fail "the resumed position lost Red's knight on C8"
[ ! -e crash.tvl ] || fail "the crash's kept game is still there after a move"
echo "resume: after SIGKILL the last position resumed, with nothing to undo, and again after a second SIGKILL"

# SIGTERM closes the window the normal way: the game is kept.
kill -TERM "$app"
ended || fail "SIGTERM did not end the program"
app=
[ "$(stat -c %s kept.tvl)" -eq 3200580 ] || fail "SIGTERM kept no game"
echo "resume: SIGTERM kept the game"
