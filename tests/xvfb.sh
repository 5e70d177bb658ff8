# Sourced by the tests of the real program: start_xvfb FIRST LAST starts a virtual X display
# on the first free number in FIRST..LAST, sets `xvfb` to its process and exports DISPLAY.
# The caller's cleanup kills "$xvfb".
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
