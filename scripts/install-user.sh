#!/usr/bin/env bash
# Installs Pelmora Tacetor from a build folder for this user alone, without root: the plug-ins
# into ~/.vst (VST 2.4), ~/.vst3 and ~/.lv2, where hosts look; the app, tacetor-render, the menu
# entry, the icons, the manual pages and the documentation under ~/.local. It takes the files
# from the build's own install rules, and records every file it writes in
# ~/.local/share/pelmora-tacetor/installed-files, so that scripts/uninstall-user.sh removes
# exactly those. Running it again upgrades: what the last install wrote goes first.
# Usage: scripts/install-user.sh [build folder]     (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
manifest="$HOME/.local/share/pelmora-tacetor/installed-files"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
staging="$scratch/prefix"

cmake --install "$build" --prefix "$staging" > /dev/null

# Where each part of the installed tree goes in the user's folders.
target_of() {
    case "$1" in
        lib/vst3/*) echo "$HOME/.vst3/${1#lib/vst3/}" ;;
        lib/lv2/*) echo "$HOME/.lv2/${1#lib/lv2/}" ;;
        lib/vst/*) echo "$HOME/.vst/${1#lib/vst/}" ;;
        bin/* | share/*) echo "$HOME/.local/$1" ;;
        *) echo "install-user.sh: no user folder for $1" >&2; return 1 ;;
    esac
}

# The menu entry names the app by its path: ~/.local/bin is not on every session's PATH.
sed -i "s|^Exec=PelmoraTacetor$|Exec=$HOME/.local/bin/PelmoraTacetor|; s|^TryExec=PelmoraTacetor$|TryExec=$HOME/.local/bin/PelmoraTacetor|" \
    "$staging/share/applications/pelmora-tacetor.desktop"

"$root/scripts/uninstall-user.sh" --quiet

# Folders this install creates are listed too (with a trailing slash), after the files, deepest
# first, so that the uninstall can remove them again once they are empty.
new_folders() { # the folders above $1 that do not exist yet, deepest first
    local folder
    folder=$(dirname "$1")
    while [ ! -d "$folder" ]; do
        echo "$folder/"
        folder=$(dirname "$folder")
    done
}

new_folders "$manifest" > "$scratch/folders"
mkdir -p "$(dirname "$manifest")"
: > "$manifest.new"
(cd "$staging" && find . -type f -printf '%P\n' | sort) | while IFS= read -r file; do
    target=$(target_of "$file")
    new_folders "$target" >> "$scratch/folders"
    mkdir -p "$(dirname "$target")"
    cp "$staging/$file" "$target"
    echo "$target" >> "$manifest.new"
done
sort -r "$scratch/folders" >> "$manifest.new"
mv "$manifest.new" "$manifest"

echo "Installed $(grep -vc '/$' "$manifest") files for ${USER:-$(id -un)}; scripts/uninstall-user.sh removes them:"
echo "  VST3 ~/.vst3/PelmoraTacetor.vst3, LV2 ~/.lv2/PelmoraTacetor.lv2, VST ~/.vst/PelmoraTacetor.so"
echo "  ~/.local/bin/PelmoraTacetor, ~/.local/bin/tacetor-render, menu entry, icons, manual pages"
