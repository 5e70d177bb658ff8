#!/usr/bin/env bash
# Installs the game into a temporary prefix and runs the installed program as a player
# would: from an unrelated working folder, with a home and XDG folders of its own, on a
# prefix it cannot write (as an unprivileged user when run as root). Checks the installed
# desktop entry and metainfo, that the game's files land in $XDG_DATA_HOME/tavlon with the
# ready templates, that nothing is written to the working folder or the prefix, that a
# saved game is found at the next start, that the game in progress is kept at SIGTERM and
# offered at the next start, that a second program on the same data folder
# is refused, and that a damaged settings file, a data folder that is a file and a
# read-only data folder are each told once while the game goes on.
# Usage: install.sh <build folder> <artefact folder>
set -euo pipefail

build=$(readlink -f "$1")
artefacts=$(readlink -m "$2")
mkdir -p "$artefacts"
log="$artefacts/install-app.log"
: >"$log"

work=$(mktemp -d)
chmod 755 "$work"
apps=()
cleanup() {
  # A program keeps its game in the folders removed below: each is waited for.
  for pid in "${apps[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "install: $*"; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
app_id=io.github.tavlon.Tavlon
desktop-file-validate "$prefix/share/applications/$app_id.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$app_id.metainfo.xml"
for f in bin/tavlon bin/tavlon-engine share/tavlon/HELP.HTM share/tavlon/Figures/18.bmp \
         share/man/man6/tavlon.6 \
         share/icons/hicolor/scalable/apps/$app_id.svg share/icons/hicolor/48x48/apps/$app_id.png \
         share/doc/tavlon/LICENSE; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
"$prefix/bin/tavlon" --version | grep -qx 'tavlon 1\.0' || fail "--version"
grep -qxF ".I $prefix/share/tavlon" "$prefix/share/man/man6/tavlon.6" ||
  fail "the manual does not name $prefix/share/tavlon"
"$prefix/bin/tavlon" --help | grep -q -- '--data-dir' || fail "--help"
printf 'tavlon\nperft 1\n' | "$prefix/bin/tavlon-engine" | tr '\n' ' ' |
  grep -qx 'id name Tavlon 1\.0 tavlonok perft 1 12 ' || fail "tavlon-engine"
grep -qx 'MimeType=application/x-tavlon-game;' "$prefix/share/applications/$app_id.desktop" ||
  fail "the desktop entry names no file type"
grep -qx 'Exec=tavlon %f' "$prefix/share/applications/$app_id.desktop" ||
  fail "the desktop entry passes no file"
# What a package manager's trigger does for the file type: the database of the prefix.
update-mime-database "$prefix/share/mime" >/dev/null
chmod -R a-w "$prefix"
touch "$work/installed"

# Root writes anywhere: the player is then an unprivileged user.
player=()
if [ "$(id -u)" -eq 0 ]; then
  player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
own() { [ "$(id -u)" -ne 0 ] || chown -R 65534:65534 "$@"; }

home="$work/home"
desk="$work/desktop" # the working folder, as a launcher leaves it
mkdir -p "$home" "$desk" "$work/runtime"
chmod 700 "$work/runtime"
own "$home" "$desk" "$work/runtime"
data="$home/.local/share/tavlon"

# shellcheck source=../xvfb.sh
source "$(dirname "$0")/../xvfb.sh"
start_xvfb 141 190

# start [VAR=value...]: the installed program in the background, as the player, with the
# arguments in app_args.
app_args=()
start() {
  (cd "$desk" && exec "${player[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" \
     XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
     XDG_RUNTIME_DIR="$work/runtime" DISPLAY="$DISPLAY" "$@" "$prefix/bin/tavlon" \
     ${app_args[@]+"${app_args[@]}"}) \
    >>"$log" 2>&1 &
  app=$!
  apps+=("$app")
}
main_window() {
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tavlon 1\.0$' | head -n 1)
  [ -n "$wid" ] || fail "the window did not appear"
  xdotool windowfocus "$wid" 2>/dev/null || true
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  bx=$((X + 38))
  by=$((Y + HEIGHT - 492 + 123))
}
# One message box is shown: it is closed with Enter.
one_box() {
  answer_box Return "$artefacts/install-$2.png" ||
    fail "$1: expected one message box and none after it, found $(boxes)"
}
key() { xdotool key --window "$wid" "$1"; sleep 0.4; }
typed() { xdotool type --delay 60 "$1"; sleep 0.3; xdotool key Return; sleep 0.6; }
byte() { od -An -tu1 -j"$2" -N1 "$1" | tr -d ' '; }
board_byte() { byte "$1" $((1 + ($2 - 1) * 8 + ($3 - 1))); }
stop() { kill "$app"; wait "$app" 2>/dev/null || true; }
# A key that opens a file dialog, which a busy machine may take a while to show: what is
# typed next waits for it (one more visible window) instead of going to the board.
dialog_key() {
  local before i
  before=$(xdotool search --onlyvisible --name . 2>/dev/null | wc -l)
  key "$1"
  for i in $(seq 50); do
    if [ "$(xdotool search --onlyvisible --name . 2>/dev/null | wc -l)" -gt "$before" ]; then
      sleep 0.3
      return 0
    fi
    sleep 0.2
  done
  fail "$1 showed no dialog"
}
play_a_move() { click 150 80; square 4 7; square 4 5; sleep 0.5; }

# First start: a move, its autosave, the templates, a saved game.
start
main_window
play_a_move
import -window root "$artefacts/installed.png" 2>/dev/null || true
[ "$(boxes)" -eq 0 ] || fail "a message box after the move"
[ -f "$data/temp.tvl" ] || fail "no autosave in $data"
[ "$(byte "$data/temp.tvl" 0)" = 2 ] || fail "the autosave should have Red to move"
[ "$(board_byte "$data/temp.tvl" 4 5)" = 14 ] || fail "the autosave should hold the pawn on D4"
[ "$(find "$data/Positions" -name '*.tvl' | wc -l)" -eq 4 ] || fail "the templates were not copied"
dialog_key ctrl+s
typed first
[ -f "$data/Saves/first.tvl" ] || fail "the game was not saved"
# The desktop knows a saved game by its type (the query a file manager makes).
type=$(XDG_DATA_DIRS="$prefix/share:/usr/share" XDG_DATA_HOME="$work/nothing" \
  XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$data/Saves/first.tvl")
[ "$type" = application/x-tavlon-game ] || fail "a saved game's type is '$type'"

# A second program on the same data folder says so and ends.
first=$app
start
one_box "second program" busy
for _ in $(seq 20); do kill -0 "$app" 2>/dev/null || break; sleep 0.25; done
kill -0 "$app" 2>/dev/null && fail "the second program went on"
kill -0 "$first" || fail "the first program ended"
app=$first
stop

# Second start: the game kept at the SIGTERM is offered; Escape answers nothing and leaves
# it for the next start.
[ -f "$data/kept.tvl" ] || fail "the game in progress was not kept at SIGTERM"
start
main_window
answer_box Escape || fail "the kept game was not offered by one question"
[ -f "$data/kept.tvl" ] || fail "Escape removed the kept game"
stop

# Third start: offered again; "Нет" (Tab from "Да", then Space) removes it. The saved game
# opens and play goes on from it.
start
main_window
answer_box Tab || true # the focus moves to "Нет"; the box stays
xdotool key space
sleep 0.6
[ "$(boxes)" -eq 0 ] || fail "the question was not answered No"
[ ! -e "$data/kept.tvl" ] || fail "No did not remove the kept game"
xdotool windowfocus "$wid" 2>/dev/null || true # no window manager gives it back
sleep 0.3
dialog_key ctrl+o
typed first.tvl
click 329 -94 # into the move box
typed a5a6
[ "$(byte "$data/temp.tvl" 0)" = 3 ] || fail "after the opened game's move Green should move"
[ "$(board_byte "$data/temp.tvl" 4 5)" = 14 ] || fail "the opened game lost its pawn on D4"
stop

# Started with a file, as the desktop opens one: the saved game is on the board at once, no
# question asked; a file that is no game is refused with Open's message.
rm -f "$data/temp.tvl"
app_args=("$data/Saves/first.tvl")
start
main_window
sleep 1
[ "$(boxes)" -eq 0 ] || fail "starting with a game file asked something"
[ "$(byte "$data/temp.tvl" 0)" = 2 ] || fail "started with a file: Red should move"
[ "$(board_byte "$data/temp.tvl" 4 5)" = 14 ] || fail "started with a file: no pawn on D4"
stop
echo "not a game" >"$work/notagame.tvl"
chmod 644 "$work/notagame.tvl"
app_args=("$work/notagame.tvl")
start
main_window
one_box "a file that is no game" notagame
kill -0 "$app" || fail "the program ended after refusing the file"
stop
app_args=()

[ -z "$(find "$desk" -mindepth 1)" ] || fail "the working folder was written: $(ls -A "$desk")"
[ -z "$(find "$prefix" -newer "$work/installed")" ] || fail "the prefix was written"
echo "install: installed program played, saved and reopened a game in $data"

# Damaged settings: told once, defaults used, the game goes on (no game left to offer:
# without the kept game, the autosave's game would be taken for a crash's).
rm -f "$data/kept.tvl" "$data/temp.tvl"
mkdir -p "$home/.config/tavlon"
printf '\x00\xff[[[garbage\nview/moveHints=maybe\n' >"$home/.config/tavlon/tavlon.ini"
own "$home/.config"
start
main_window
one_box "damaged settings" settings
play_a_move
[ "$(boxes)" -eq 0 ] || fail "damaged settings: a message box after the move"
stop

# A data folder that is a file, and a read-only one: told once, no box after moves.
rm "$home/.config/tavlon/tavlon.ini"
echo "not a folder" >"$work/afile"
mkdir -p "$work/readonly"
chmod 555 "$work/readonly"
for case in afile readonly; do
  start TAVLON_DATA_DIR="$work/$case"
  main_window
  one_box "data folder $case" "$case"
  play_a_move
  square 2 1 # Red's pawn B8 ...
  square 3 1 # ... to C8
  [ "$(boxes)" -eq 0 ] || fail "data folder $case: a message box after the moves"
  kill -0 "$app" || fail "data folder $case: the program ended"
  stop
done
[ -z "$(ls -A "$work/readonly")" ] || fail "the read-only folder was written"
echo "install: damaged settings, a file as data folder and a read-only one each told once"
