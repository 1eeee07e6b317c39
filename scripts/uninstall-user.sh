#!/usr/bin/env bash
# Removes what scripts/install-user.sh (the install-plugins target) installed for this user, and
# nothing else: the files listed in ~/.local/share/pelmora-tacetor/installed-files, then the
# folders listed there (the ones that install created) once they are empty. Other plug-ins,
# presets that hosts saved as bundles of their own, and the app's settings in ~/.config stay.
# Installs made before the list existed had five fixed files and folders; those are removed.
# Usage: scripts/uninstall-user.sh [--quiet]
set -euo pipefail

quiet=false
[ "${1:-}" = "--quiet" ] && quiet=true
say() { $quiet || echo "$@"; }

manifest="$HOME/.local/share/pelmora-tacetor/installed-files"

# Only absolute paths inside this home: a damaged list must not reach anything else.
inside_home() {
    case "$1" in
        */../* | */.. | */./* ) return 1 ;;
        "$HOME"/?*) return 0 ;;
        *) return 1 ;;
    esac
}

removed=0
if [ -f "$manifest" ]; then
    mapfile -t entries < "$manifest"
    rm -f "$manifest"
    folders=()
    for entry in "${entries[@]}"; do
        if ! inside_home "$entry"; then
            echo "uninstall-user.sh: skipping '$entry' (not inside $HOME)" >&2
        elif [ "${entry%/}" != "$entry" ]; then
            folders+=("$entry")
        elif [ -f "$entry" ] || [ -L "$entry" ]; then
            rm -f "$entry"
            removed=$((removed + 1))
        fi
    done
    # The folders the install created, deepest first, once the files are gone; a folder that
    # holds anything else (a file the user put there) stays.
    if [ ${#folders[@]} -gt 0 ]; then
        while IFS= read -r folder; do
            rmdir "$folder" 2> /dev/null || true
        done < <(printf '%s\n' "${folders[@]}" | LC_ALL=C sort -r)
    fi
else
    for item in "$HOME/.vst/PelmoraTacetor.so" "$HOME/.local/bin/PelmoraTacetor" "$HOME/.local/bin/tacetor-render" \
        "$HOME/.vst3/PelmoraTacetor.vst3" "$HOME/.lv2/PelmoraTacetor.lv2"; do
        if [ -e "$item" ]; then
            rm -rf "$item"
            removed=$((removed + 1))
        fi
    done
fi

say "Removed $removed installed item(s) of Pelmora Tacetor for ${USER:-$(id -un)}."
