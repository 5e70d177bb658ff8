# Sourced by the tests of the real program: start_xvfb FIRST LAST starts a virtual X display
# on the first free number in FIRST..LAST, sets `xvfb` to its process and exports DISPLAY.
# The caller's cleanup kills "$xvfb". Helpers to play on the board follow.
start_xvfb() {
  local n display=""
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      display=":$n"
      break
    fi
  done
  if [ -z "$display" ]; then
    echo "no free display number in $1..$2" >&2
    return 1
  fi
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
  done
}

# The number of message boxes shown (their caption is "Tavlon").
boxes() { xdotool search --onlyvisible --name '^Tavlon$' 2>/dev/null | wc -l; }

# A left click at board pixel X Y, the pointer moved there first as a hand would; the
# caller keeps the board image's top-left corner in `bx` and `by` (screen pixels).
click() {
  xdotool mousemove $((bx + $1)) $((by + $2)); sleep 0.15
  xdotool mousemove $((bx + $1 + 1)) $((by + $2)); sleep 0.15
  xdotool click 1; sleep 0.3
}

# A click in the middle of square COLUMN ROW.
square() { click $((($1 - 1) * 40 + 20)) $((($2 - 1) * 40 + 20)); }

# Answers the one message box with KEY once it is up, after keeping its picture in PICTURE
# when one is given; fails when there is not exactly one box, or a box is left after it.
answer_box() {
  for _ in $(seq 40); do [ "$(boxes)" -ge 1 ] && break; sleep 0.25; done
  [ "$(boxes)" -eq 1 ] || return 1
  [ -z "${2:-}" ] || import -window root "$2" 2>/dev/null || true
  xdotool windowfocus "$(xdotool search --onlyvisible --name '^Tavlon$' | head -n 1)" 2>/dev/null || true
  sleep 0.3
  xdotool key "$1"
  sleep 0.6
  [ "$(boxes)" -eq 0 ]
}

# Starts the program ("$exe", log "$log") on the data folder "$data" and waits for its window:
# sets `app`, `wid` and the board image's top-left corner `bx`, `by`. The caller defines fail.
start_tavlon() {
  "$exe" --data-dir "$data" >>"$log" 2>&1 &
  app=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tavlon 1\.0$' | head -n 1)
  [ -n "$wid" ] || fail "the window did not appear"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The board lies at (38, 123) of the client area; the client area is 492 pixels high,
  # so the menu bar is what the window has above it.
  menu=$((HEIGHT - 492))
  bx=$((X + 38))
  by=$((Y + menu + 123))
}

# True once the program "$app" has ended (within `$1` tenths of a second, 50 by default).
ended() {
  for _ in $(seq "${1:-50}"); do kill -0 "$app" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
