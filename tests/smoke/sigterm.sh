#!/usr/bin/env bash
# The command line, and signals ending the real program at every point of its start-up: while a message box of its
# start-up waits for an answer (an unreadable intro picture, the data folder used by another
# running copy), and with a FIFO where the lock or the settings file would be, which the
# start-up must never wait on.
# Usage: sigterm.sh <tavlon executable>
set -euo pipefail

exe=$(readlink -f "$1")
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

start() { # start <case folder> [options...]: the program on its own data and config folders
  local dir=$1
  shift
  (cd "$dir" && XDG_CONFIG_HOME="$dir/config" QT_QPA_PLATFORM=offscreen \
    exec "$exe" --data-dir="$dir/data" "$@" >/dev/null 2>&1) &
  app=$!
  pids+=("$app")
}

# ends <pid> <signal> <what>: the signal ends the program within ten seconds.
ends() {
  local pid=$1 sig=$2 what=$3
  kill -0 "$pid" 2>/dev/null || { echo "$what: the program ended before the signal"; exit 1; }
  kill "-$sig" "$pid"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; return 0; }
    sleep 0.1
  done
  echo "$what: SIG$sig did not end the program"
  exit 1
}

# The command line: an empty data folder is refused, Qt's own options are not.
if "$exe" --data-dir= >/dev/null 2>&1; then echo "--data-dir= was accepted"; exit 1; fi
"$exe" -style Fusion -platform offscreen --version | grep -q '^tavlon ' ||
  { echo "Qt's own options were refused"; exit 1; }

# case | signal
cases=(
  "picture TERM"
  "busy TERM" "busy INT" "busy HUP"
  "lockfifo TERM" "inififo INT"
)
for row in "${cases[@]}"; do
  read -r name sig <<<"$row"
  dir="$work/$name-$sig"
  mkdir -p "$dir/data" "$dir/config/tavlon"
  case $name in
  picture) printf 'not a picture' >"$dir/data/Tavlon.bmp" ;;
  lockfifo) mkfifo "$dir/data/.tavlon.lock" ;;
  inififo) mkfifo "$dir/config/tavlon/tavlon.ini" ;;
  busy)
    start "$dir"
    first=$app
    sleep 3 # the first copy holds the folder by now
    ;;
  esac
  start "$dir"
  sleep 3 # the message box or the window is up by now
  ends "$app" "$sig" "$name"
  if [ "$name" = busy ]; then ends "$first" TERM "$name (first copy)"; fi
done
exit 0
