#!/usr/bin/env bash
# The user-folder install and its uninstall, in a temporary home that already holds other
# plug-ins, presets a host saved as a bundle of their own, other programs and menu entries, and
# the app's settings: the install puts every installed file where hosts and desktops look, a
# second install (an upgrade) removes what the first wrote and is gone from the new version, and
# the uninstall leaves the home exactly as it was before. Installs made before the list of files
# existed are removed too, and nothing beside them.
# Usage: user-install-check.sh SOURCE_DIR BUILD_DIR
set -euo pipefail

source_dir=$1
build=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

export HOME="$work/home"
decoy() { mkdir -p "$(dirname "$HOME/$1")" && echo "not ours: $1" > "$HOME/$1"; }
decoy .vst3/OtherGate.vst3/Contents/x86_64-linux/OtherGate.so
decoy .lv2/OtherGate.lv2/manifest.ttl
decoy .lv2/PelmoraTacetor-Presets.lv2/manifest.ttl
decoy .vst/OtherGate.so
decoy .local/bin/other-tool
decoy .local/share/applications/other.desktop
decoy .local/share/icons/hicolor/48x48/apps/other.png
decoy .local/share/man/man1/other.1.gz
decoy ".config/Pelmora Tacetor.settings"

# What the home holds, with each file's content: the uninstall must give this back exactly.
snapshot() { (cd "$HOME" && find . -printf '%y %P\n' | LC_ALL=C sort && find . -type f -exec md5sum {} + | LC_ALL=C sort -k 2); }
snapshot > "$work/before.txt"

manifest="$HOME/.local/share/pelmora-tacetor/installed-files"
"$source_dir/scripts/install-user.sh" "$build" > "$work/install.log"

# Each installed file maps to one user folder.
sed -e 's|^lib/vst3/|.vst3/|' -e 's|^lib/lv2/|.lv2/|' -e 's|^lib/vst/|.vst/|' -e 's|^bin/|.local/bin/|' -e 's|^share/|.local/share/|' \
    "$here/installed-files.txt" | sed "s|^|$HOME/|" | LC_ALL=C sort > "$work/expected.txt"
grep -v '/$' "$manifest" | LC_ALL=C sort > "$work/listed.txt"
same_lists "the install lists every installed file at its user folder" "$work/expected.txt" "$work/listed.txt"
check "every listed file and folder is there" sh -c "while read -r f; do test -e \"\$f\" || { echo \"missing \$f\"; exit 1; }; done < '$manifest'"
check "the installed renderer runs" sh -c "'$HOME/.local/bin/tacetor-render' --help | grep -q '^Usage:'"
check "the menu entry names the installed app by its path" grep -qx "Exec=$HOME/.local/bin/PelmoraTacetor" "$HOME/.local/share/applications/pelmora-tacetor.desktop"

# An upgrade: a file only the previous version installed goes, the rest is installed afresh.
echo "from an older version" > "$HOME/.lv2/PelmoraTacetor.lv2/old.ttl"
echo "$HOME/.lv2/PelmoraTacetor.lv2/old.ttl" >> "$manifest"
"$source_dir/scripts/install-user.sh" "$build" > "$work/upgrade.log"
check "an upgrade removes what the previous install wrote and the new one does not" test ! -e "$HOME/.lv2/PelmoraTacetor.lv2/old.ttl"
check "an upgrade lists the same files" sh -c "grep -v '/\$' '$manifest' | LC_ALL=C sort | diff -q - '$work/expected.txt'"

"$source_dir/scripts/uninstall-user.sh" > "$work/uninstall.log"
snapshot > "$work/after.txt"
same_lists "after the uninstall the home is as it was before the install" "$work/before.txt" "$work/after.txt"

# A damaged list must not reach beyond this home.
mkdir -p "$(dirname "$manifest")" "$work/outside"
echo keep > "$work/outside/file"
printf '%s\n' "$work/outside/file" "$HOME/../outside/file" > "$manifest"
"$source_dir/scripts/uninstall-user.sh" > "$work/damaged.log" 2>&1
check "a listed file outside the home is left alone" test -f "$work/outside/file"
rmdir "$(dirname "$manifest")"

# Before the list existed, the install copied five things to fixed places.
mkdir -p "$HOME/.vst3/PelmoraTacetor.vst3/Contents" "$HOME/.lv2/PelmoraTacetor.lv2"
touch "$HOME/.vst/PelmoraTacetor.so" "$HOME/.local/bin/PelmoraTacetor" "$HOME/.local/bin/tacetor-render" \
    "$HOME/.vst3/PelmoraTacetor.vst3/Contents/x" "$HOME/.lv2/PelmoraTacetor.lv2/manifest.ttl"
"$source_dir/scripts/uninstall-user.sh" > "$work/old.log"
snapshot > "$work/after-old.txt"
same_lists "an install from before the list is removed, and nothing else" "$work/before.txt" "$work/after-old.txt"

finish
