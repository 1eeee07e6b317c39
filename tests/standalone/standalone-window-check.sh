#!/usr/bin/env bash
# Starts the Standalone app on the current X display (a virtual one in CI), waits for its
# window and for the pedal drawn in it, takes a screenshot of it and checks that the app is
# still running once it has drawn. Without a display it is skipped (exit status 77).
# Usage: standalone-window-check.sh APP [SCREENSHOT.png]
set -euo pipefail

app=$1
shot=${2:-}
[ -n "${DISPLAY:-}" ] || { echo "skipped: no X display (run under xvfb-run)"; exit 77; }

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2> /dev/null; then
        kill "$pid"
        wait "$pid" 2> /dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# The app writes its settings below HOME; keep them out of the user's.
HOME="$work" "$app" > "$work/app.log" 2>&1 &
pid=$!

window=
for _ in $(seq 1 240); do
    window=$(xdotool search --all --pid "$pid" --onlyvisible --name "Pelmora Tacetor" 2> /dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.25
done

failures=0
if [ -n "$window" ]; then
    echo "ok: window \"$(xdotool getwindowname "$window")\" $(xdotool getwindowgeometry "$window" | grep Geometry)"
else
    echo "FAILED: no window appeared"; cat "$work/app.log"; failures=$((failures + 1))
fi

# The pedal's pictures have thousands of colours, an empty window a handful: once they show,
# the app has come through its start-up and painted. Each wait is polled for up to a minute.
colours=0
for _ in $(seq 1 240); do
    [ -n "$window" ] && kill -0 "$pid" 2> /dev/null || break
    colours=$(import -window "$window" -format %k info: 2> /dev/null || echo 0)
    [ "$colours" -gt 1000 ] && break
    sleep 0.25
done
if [ -n "$window" ] && [ "$colours" -le 1000 ]; then
    echo "FAILED: the window never showed the pedal (last seen: $colours colours)"; failures=$((failures + 1))
fi

if kill -0 "$pid" 2> /dev/null; then
    echo "ok: still running after drawing the pedal ($colours colours)"
else
    wait "$pid" && status=0 || status=$?
    pid=
    echo "FAILED: the app ended with status $status"; cat "$work/app.log"; failures=$((failures + 1))
fi

if [ -n "$shot" ] && [ -n "$window" ]; then
    import -window root "$shot" && echo "screenshot: $shot"
fi

echo "$((3 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
