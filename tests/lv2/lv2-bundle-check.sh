#!/usr/bin/env bash
# Checks the built LV2 bundle with Debian's LV2 tools: every Turtle file parses, lilv's lv2info
# lists the pedal with its identity, ports and twelve presets, and the description declares the
# five parameters under their host names.
# Usage: lv2-bundle-check.sh LV2_BUNDLE
set -euo pipefail

bundle=$(cd "$1" && pwd)
uri="https://www.orvane.com/plugins/PelmoraTacetor"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0 checks=0
expect() { # expect LABEL PATTERN FILE [COUNT]
    local found
    found=$(grep -Ec -- "$2" "$3" || true)
    checks=$((checks + 1))
    if [ "$found" -ge "${4:-1}" ] && { [ -z "${4:-}" ] || [ "$found" -eq "$4" ]; }; then
        echo "ok: $1"
    else
        echo "FAILED: $1 ($found matches of $2)"; failures=$((failures + 1))
    fi
}

# serdi is a strict Turtle reader: a syntax error fails it.
for ttl in "$bundle"/*.ttl; do
    checks=$((checks + 1))
    if serdi -i turtle -o ntriples "$ttl" "file://$bundle/" >> "$work/triples.nt" 2> "$work/serdi.txt"; then
        echo "ok: $(basename "$ttl") is valid Turtle"
    else
        echo "FAILED: $(basename "$ttl")"; cat "$work/serdi.txt"; failures=$((failures + 1))
    fi
done

patch="http://lv2plug.in/ns/ext/patch#writable"
expect "five writable parameters" "<$uri> <$patch> <$uri:(bypass|dualmono|threshold|attack|decay)>" "$work/triples.nt" 5
for name in bypass dualmono threshold attack decay; do
    expect "parameter $name labelled" "^<$uri:$name> <http://www.w3.org/2000/01/rdf-schema#label> \"$name\"" "$work/triples.nt" 1
done
expect "twelve presets" "<http://lv2plug.in/ns/ext/presets#Preset>" "$work/triples.nt" 12

# lv2info reads the bundle the way hosts built on lilv do.
mkdir -p "$work/lv2"
ln -s "$bundle" "$work/lv2/PelmoraTacetor.lv2"
LV2_PATH="$work/lv2" lv2info "$uri" > "$work/lv2info.txt" 2>&1 || true
sed -n '1,/Port 0:/p' "$work/lv2info.txt" | grep -E "Name:|Author|Presets" || true

expect "name" "^[[:space:]]+Name:[[:space:]]+Pelmora Tacetor$" "$work/lv2info.txt" 1
expect "author" "^[[:space:]]+Author:[[:space:]]+Orvane$" "$work/lv2info.txt" 1
expect "author e-mail is a mail address" "Author Email:[[:space:]]+mailto:support@orvane.com$" "$work/lv2info.txt" 1
expect "stereo audio ports" "Symbol:[[:space:]]+audio_(in|out)_[12]$" "$work/lv2info.txt" 4
expect "twelve presets listed" "^[[:space:]]+(Presets:[[:space:]]*)?Init$" "$work/lv2info.txt" 12
expect "state interface" "http://lv2plug.in/ns/ext/state#interface" "$work/lv2info.txt" 1

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
