#!/usr/bin/env bash
# Installs the build into a temporary prefix with `cmake --install` and checks the tree: exactly
# the expected files, each of the kind and mode it must be, the LV2 description filing it as a
# gate, a valid menu entry, the icons at their sizes, manual pages man reads without a warning,
# and the installed commands running from the prefix.
# Usage: install-tree-check.sh BUILD_DIR
set -euo pipefail

build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" --strip > "$work/install.log"

(cd "$prefix" && find . -type f -printf '%P\n' -o -type l -printf '%P\n' | LC_ALL=C sort) > "$work/found.txt"
LC_ALL=C sort "$here/installed-files.txt" > "$work/expected.txt"
same_lists "exactly the expected files under the prefix" "$work/expected.txt" "$work/found.txt"

for binary in bin/PelmoraTacetor bin/tacetor-render; do
    check "$binary is an executable ELF program" sh -c "test -x '$prefix/$binary' && file -b '$prefix/$binary' | grep -q 'ELF 64-bit.*executable'"
done
for library in lib/vst/PelmoraTacetor.so lib/vst3/PelmoraTacetor.vst3/Contents/x86_64-linux/PelmoraTacetor.so \
    lib/lv2/PelmoraTacetor.lv2/libPelmoraTacetor.so; do
    check "$library is a stripped shared object" sh -c "file -b '$prefix/$library' | grep -q 'ELF 64-bit.*shared object.*, stripped'"
done
check "no file writable by others, no folder without read and search for all" \
    sh -c "test -z \"\$(find '$prefix' -perm /o+w -o -type d ! -perm -o+rx)\""

ttl="$prefix/lib/lv2/PelmoraTacetor.lv2"
check "LV2 description declares the gate class" grep -q "a lv2:Plugin , lv2:GatePlugin ;" "$ttl/dsp.ttl"
# lilv names the class from the LV2 core description (Debian's lv2-dev), which defines the classes.
mkdir -p "$work/lv2" && ln -s "$ttl" /usr/lib/lv2/core.lv2 "$work/lv2/"
check "lv2info files it as a gate" sh -c "LV2_PATH='$work/lv2' lv2info https://www.orvane.com/plugins/PelmoraTacetor | grep -Eq '^[[:space:]]+Class:[[:space:]]+Gate Plugin$'"

check "menu entry is valid" desktop-file-validate "$prefix/share/applications/pelmora-tacetor.desktop"
check "menu entry starts the installed app" sh -c "grep -qx 'Exec=PelmoraTacetor' '$prefix/share/applications/pelmora-tacetor.desktop' && grep -qx 'Icon=pelmora-tacetor' '$prefix/share/applications/pelmora-tacetor.desktop'"
for icon in "$prefix"/share/icons/hicolor/*/apps/pelmora-tacetor.png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    check "icon $size is a ${size} PNG with transparency" sh -c "identify -format '%wx%h %[channels]' '$icon' | grep -Eq '^$size srgba'"
done

for page in tacetor-render PelmoraTacetor; do
    check "manual page $page reads without warnings" sh -c "
        LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '$prefix/share/man/man1/$page.1.gz' 2>&1 > '$work/$page.txt' | tee '$work/$page.warnings'
        test ! -s '$work/$page.warnings' && grep -q '^NAME' '$work/$page.txt'"
done
check "gzip files carry no name or time stamp" sh -c "for f in '$prefix'/share/man/man1/*.gz '$prefix'/share/doc/pelmora-tacetor/changelog.gz; do gzip -lv \"\$f\" > /dev/null; test \"\$(od -An -tu4 -j4 -N4 \"\$f\" | tr -d ' ')\" = 0 || exit 1; done"
check "licence installed as the copyright file" grep -q "All rights reserved" "$prefix/share/doc/pelmora-tacetor/copyright"

check "installed tacetor-render runs from the prefix" sh -c "'$prefix/bin/tacetor-render' --help | grep -q '^Usage:'"

finish
