#!/usr/bin/env bash
# The Standalone app on a JACK server with the dummy backend (no sound card needed): it shows
# its ports and connects them, and a sine played into its input comes out of its output (the
# default program gates only digital silence). Then without any audio device (no JACK server,
# no ALSA device): it says so on its standard error output and in a bar above the pedal.
# Needs an X display (run under xvfb-run); without one it is skipped (exit status 77).
# Usage: standalone-jack-check.sh APP
set -euo pipefail

app=$1
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "skipped: no X display (run under xvfb-run)"; exit 77; }
source "$here/../install/common.sh"

pids=()
cleanup() { # the clients first, the server last
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2> /dev/null && wait "${pids[i]}" 2> /dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# Polls COMMAND up to a minute (generous, for a busy machine), until it succeeds.
wait_for() {
    for _ in $(seq 1 240); do "$@" > /dev/null 2>&1 && return 0; sleep 0.25; done
    return 1
}

# A server of our own, so that nothing else on the machine is touched, named after the app
# tested: JACK keeps a small machine-wide table of server names and reuses an entry only for the
# same name. No ALSA device, so that the app picks JACK whatever sound cards the machine has.
server="tacetor-test-$(realpath "$app" | md5sum | cut -c 1-8)"
export JACK_DEFAULT_SERVER="$server" JACK_NO_AUDIO_RESERVATION=1 ALSA_CONFIG_PATH=/dev/null
jackd --no-realtime -d dummy -r 48000 -p 256 > "$work/jackd.log" 2>&1 &
pids+=($!)
wait_for jack_lsp || { cat "$work/jackd.log"; exit 1; }

# The app's settings live in HOME; input unmuted, so that the sine reaches the gate.
mkdir -p "$work/home/.config"
cat > "$work/home/.config/Pelmora Tacetor.settings" << 'SETTINGS'
<?xml version="1.0" encoding="UTF-8"?>
<PROPERTIES>
  <VALUE name="shouldMuteInput" val="0"/>
</PROPERTIES>
SETTINGS
HOME="$work/home" "$app" > "$work/app.log" 2>&1 &
pids+=($!)
app_pid=$!

ports_shown() { [ "$(jack_lsp | grep -cE '^Pelmora Tacetor:(in|out)_[12]$')" -eq 4 ]; }
if wait_for ports_shown; then pass "four JACK ports: $(jack_lsp | grep '^Pelmora Tacetor:' | tr '\n' ' ')"; else fail "the app's JACK ports"; jack_lsp; cat "$work/app.log"; fi
check "its ports are connected to the server's system ports" sh -c "jack_lsp -c 'Pelmora Tacetor:out_1' | grep -q 'system:playback_1'"

# A sine into the left input; the left output recorded for two seconds.
jack_simple_client > "$work/sine.log" 2>&1 &
pids+=($!)
wait_for sh -c "jack_lsp | grep -q '^jack_simple_client:output1$'"
jack_disconnect system:capture_1 "Pelmora Tacetor:in_1" || true
jack_connect jack_simple_client:output1 "Pelmora Tacetor:in_1"
jack_rec -f "$work/out.wav" -d 2 "Pelmora Tacetor:out_1" > "$work/rec.log" 2>&1
peak=$(python3 -c "
import array, sys, wave
with wave.open(sys.argv[1]) as f:
    samples = array.array('h', f.readframes(f.getnframes()))
print(max((abs(s) for s in samples), default=0) / 32768)" "$work/out.wav")
check "audio passes through the app (output peak $peak of full scale)" python3 -c "import sys; sys.exit(0 if $peak > 0.05 else 1)"
check "no complaint about the audio device" sh -c "! grep -q 'no audio device' '$work/app.log'"
geometry_with_device=$(xdotool getwindowgeometry "$(xdotool search --all --pid "$app_pid" --onlyvisible --name '^Pelmora Tacetor$' | head -n 1)" | grep Geometry)

# No server and no ALSA device: the app still shows the pedal and says what it tried.
JACK_DEFAULT_SERVER="$server-none" HOME="$work/home" "$app" > "$work/none.log" 2>&1 &
pids+=($!)
none_pid=$!
said() { grep -q 'Pelmora Tacetor: no audio device could be opened (ALSA: no device found; JACK: no server running)' "$work/none.log"; }
if wait_for said; then pass "without a device it says so: $(grep 'no audio device' "$work/none.log")"; else fail "no message without a device"; cat "$work/none.log"; fi
height() { echo "$1" | sed -E 's/.*x([0-9]+)$/\1/'; }
expected=$(($(height "$geometry_with_device") + 30))
geometry_without=
taller_by_the_bar() {
    local window
    window=$(xdotool search --all --pid "$none_pid" --onlyvisible --name '^Pelmora Tacetor$' | head -n 1)
    geometry_without=$(xdotool getwindowgeometry "$window" 2> /dev/null | grep Geometry || true)
    [ "$(height "$geometry_without")" = "$expected" ]
}
if wait_for taller_by_the_bar; then pass "the window holds the 30-pixel notice bar (${geometry_with_device# *} with a device, ${geometry_without# *} without)"
else fail "no room for the notice bar (${geometry_with_device# *} with a device, last seen ${geometry_without# *} without)"; fi
check "no sanitizer report from either app" sh -c "! grep -hE 'ThreadSanitizer|AddressSanitizer|LeakSanitizer|runtime error' '$work/app.log' '$work/none.log'"

finish
