#!/usr/bin/env bash
# Checks the built pedal in Ardour 7, an independent host: its plug-in scanners must print the
# product's identity for the VST3 and VST2 builds, and a headless session must load all three
# formats, take a parameter change, give the values back after a reload in a second process, and
# export audio through them in a third.
# Usage: ardour-session-check.sh VST3_BUNDLE VST2_LIBRARY LV2_BUNDLE
set -euo pipefail

vst3=$1 vst2=$2 lv2=$3
here=$(cd "$(dirname "$0")" && pwd)
ardour_lib=/usr/lib/ardour7

command -v ardour7-lua > /dev/null || { echo "ardour7-lua is missing (scripts/install-deps.sh installs it)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Ardour reads plug-ins and its scan cache from the user's folders: give it a home of its own.
export HOME="$work/home"
mkdir -p "$HOME/.vst3" "$HOME/.vst" "$HOME/.lv2"
cp -r "$vst3" "$HOME/.vst3/PelmoraTacetor.vst3"
cp "$vst2" "$HOME/.vst/PelmoraTacetor.so"
cp -r "$lv2" "$HOME/.lv2/PelmoraTacetor.lv2"
# Ardour trusts its scan cache only when it is newer than the plug-in: date the copies back.
find "$HOME/.vst3" "$HOME/.vst" "$HOME/.lv2" -exec touch -d '-1 minute' {} +
# The export preset of export-session.lua: plain WAV, without Ardour's loudness analysis.
mkdir -p "$HOME/.config/ardour7/export"
cp "$here"/export/pedal-wav.* "$HOME/.config/ardour7/export/"
export LV2_PATH="$HOME/.lv2" LXVST_PATH="$HOME/.vst"

failures=0 checks=0
expect() { # expect LABEL PATTERN FILE
    checks=$((checks + 1))
    if grep -Eq -- "$2" "$3"; then echo "ok: $1"; else echo "FAILED: $1 (no match for $2)"; failures=$((failures + 1)); fi
}

# The scanners exit 0 even when loading fails, so only what they print counts.
LD_LIBRARY_PATH=$ardour_lib timeout 120 "$ardour_lib/ardour-vst3-scanner" -f -v "$HOME/.vst3/PelmoraTacetor.vst3" > "$work/vst3-scan.txt" 2>&1 || true
LD_LIBRARY_PATH=$ardour_lib timeout 120 "$ardour_lib/ardour-vst-scanner" -f -v "$HOME/.vst/PelmoraTacetor.so" > "$work/vst2-scan.txt" 2>&1 || true
echo "--- ardour-vst3-scanner"; grep -E "VST3Info|Error|error" "$work/vst3-scan.txt" || true
echo "--- ardour-vst-scanner"; grep -E "VST2Info|Error|error" "$work/vst2-scan.txt" || true

expect "VST3 identity" '<VST3Info uid="5653544F74637470656C6D6F72612074" name="Pelmora Tacetor" vendor="Orvane" category="Fx" version="1.0.0"' "$work/vst3-scan.txt"
expect "VST3 buses" 'n_inputs="2" n_outputs="2" n_aux_inputs="0" n_aux_outputs="0" n_midi_inputs="0" n_midi_outputs="0"' "$work/vst3-scan.txt"
expect "VST2 identity" '<VST2Info id="1333027700" name="Pelmora Tacetor" creator="Orvane" category="Effect"' "$work/vst2-scan.txt"
expect "VST2 pins and flags" 'n_inputs="2" n_outputs="2" n_midi_inputs="0" n_midi_outputs="0" is_instrument="0" can_process_replace="1" has_editor="1"' "$work/vst2-scan.txt"

session="$work/session"
echo "--- first process: create, set, run, save"
timeout 300 ardour7-lua "$here/create-session.lua" "$here" "$session" > "$work/create.txt" 2>&1 || { cat "$work/create.txt"; exit 1; }
grep -E "^(LOADED|PARAM|SET|SAVED)" "$work/create.txt"

for format in VST3 LV2 VST2; do
    expect "$format loaded as the pedal" "^LOADED $format name=Pelmora Tacetor maker=Orvane .* in=2 out=2" "$work/create.txt"
done
expect "VST3 parameter names" "^PARAM VST3 4 decay 0.367" "$work/create.txt"
expect "VST2 parameter names" "^PARAM VST2 2 threshold 0" "$work/create.txt"

echo "--- second process: reload"
timeout 300 ardour7-lua "$here/reload-session.lua" "$here" "$session" > "$work/reload.txt" 2>&1 || { cat "$work/reload.txt"; exit 1; }
grep "^GOT" "$work/reload.txt" || true

# Ardour shows VST3 and VST2 values through their control inputs. Its LV2 property controls only
# echo what Ardour itself set, so for LV2 the plug-in's saved state is compared instead: the
# state written after the reload must be the one saved, and differ from the defaults.
lv2_state() { # the LV2 pedal's saved state in snapshot $1
    local dir
    dir=$(grep -o 'state-dir="[^"]*"' "$session/$1.ardour" | head -n 1 | cut -d '"' -f 2)
    find "$session/plugins" -path "*/$dir/state.ttl" -exec grep -ho 'StateString> "[^"]*"' {} + | head -n 1
}
saved=$(lv2_state pedal) defaults=$(lv2_state defaults) reloaded=$(lv2_state reloaded)

# VST3 and LV2 carry the values in the settings chunk alone ("0." is JUCE's text for an empty
# one); VST2 hosts keep parameter values of their own as well.
skipped=0
needs_chunk() {
    if [ "$saved" = 'StateString> "0."' ]; then
        echo "skipped: $1 (this build writes no settings chunk)"; skipped=$((skipped + 1)); return 1
    fi
}

while read -r _ format name value; do
    [ "$format" = LV2 ] && continue
    [ "$format" = VST3 ] && ! needs_chunk "$format $name kept after reload" && continue
    expect "$format $name kept after reload" "^GOT $format $name $value\$" "$work/reload.txt"
done < <(grep "^SET" "$work/create.txt")

if needs_chunk "LV2 state kept after reload"; then
    checks=$((checks + 2))
    if [ "$saved" != "$defaults" ]; then echo "ok: LV2 state saved with the new values"; else echo "FAILED: LV2 state unchanged by the settings"; failures=$((failures + 1)); fi
    if [ "$reloaded" = "$saved" ]; then echo "ok: LV2 state kept after reload"; else echo "FAILED: LV2 state differs after reload"; failures=$((failures + 1)); fi
fi

# Last, as it may leave Ardour crashed: the export has a process of its own and is judged by
# what it wrote; a crash after it is Ardour's (the other two processes must end cleanly).
echo "--- third process: export"
status=0
timeout 300 ardour7-lua "$here/export-session.lua" "$here" "$session" > "$work/export.txt" 2>&1 || status=$?
exported=$(find "$session/export" -name '*.wav' -size +1k 2> /dev/null | head -n 1)
checks=$((checks + 1))
if grep -q "^EXPORTED" "$work/export.txt" && [ -n "$exported" ]; then
    echo "ok: exported $(basename "$exported") ($(stat -c %s "$exported") bytes)"
    [ "$status" -eq 0 ] || echo "note: Ardour ended with status $status after its export"
else
    echo "FAILED: no exported audio (status $status)"; tail -n 20 "$work/export.txt"; failures=$((failures + 1))
fi

echo "$((checks - failures)) passed, $failures failed, $skipped skipped"
[ "$failures" -eq 0 ]
