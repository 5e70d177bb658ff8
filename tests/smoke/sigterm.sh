#!/usr/bin/env bash
# SIGTERM ends the real program also while a message box of its start-up waits for an
# answer (here the one about an unreadable intro picture), with the normal exit.
# Usage: sigterm.sh <tavlon executable>
set -euo pipefail

exe=$(readlink -f "$1")
work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill -KILL "$app" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

printf 'not a picture' >"$work/Tavlon.bmp"
cd "$work"
QT_QPA_PLATFORM=offscreen "$exe" >/dev/null 2>&1 &
app=$!
sleep 3 # the message box is up by now
kill -0 "$app" || { echo "the program ended before the signal"; exit 1; }
kill -TERM "$app"
for _ in $(seq 100); do
  if ! kill -0 "$app" 2>/dev/null; then
    status=0
    wait "$app" || status=$?
    app=
    [ "$status" -eq 0 ] || { echo "exit status $status"; exit 1; }
    exit 0
  fi
  sleep 0.1
done
echo "SIGTERM during the start-up message box did not end the program"
exit 1
