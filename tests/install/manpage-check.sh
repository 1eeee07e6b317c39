#!/usr/bin/env bash
# Keeps the manual page of tacetor-render in step with its --help: every option --help lists is
# described in the page's options and every option the page describes is one --help lists; the
# exit statuses --help names are the ones the page explains.
# Usage: manpage-check.sh TACETOR_RENDER MANUAL_PAGE
set -euo pipefail

render=$1
page=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

"$render" --help > "$work/help.txt"

# --help: the option column, lines that start with spaces then a dash ("  -q, --quiet  ...").
grep -E '^[[:space:]]+-' "$work/help.txt" | sed -E 's/^[[:space:]]+//; s/[[:space:]]{2,}.*//' |
    grep -oE '(^|[ ,])--?[a-z][a-z0-9-]*' | tr -d ' ,' | LC_ALL=C sort -u > "$work/help-options.txt"

# The page: the tag line of each item (.TP) in the OPTIONS section, with roff's escaped dashes.
awk '/^\.SH /{ inOptions = ($2 == "OPTIONS") } inOptions && previous == ".TP" { print } { previous = $0 }' "$page" |
    sed 's/\\-/-/g' | grep -oE '(^|[ ,"])--?[a-z][a-z0-9-]*' | tr -d ' ,"' | LC_ALL=C sort -u > "$work/page-options.txt"

check "--help lists options" test -s "$work/help-options.txt"
same_lists "the manual page describes exactly the options --help lists" "$work/help-options.txt" "$work/page-options.txt"

# "Exit status: 0 done, 1 ..., 2 ..." (one paragraph, perhaps over several lines): each status
# must be an item of EXIT STATUS, and no more.
awk 'tolower($0) ~ /^exit status/ { inStatus = 1 } /^$/ { inStatus = 0 } inStatus' "$work/help.txt" | tr '\n' ' ' |
    grep -oE '[:;,] [0-9]+ ' | grep -oE '[0-9]+' | LC_ALL=C sort -u > "$work/help-status.txt"
awk '/^\.SH /{ inStatus = ($0 ~ /EXIT STATUS/) } inStatus && previous == ".TP" { print } { previous = $0 }' "$page" |
    grep -oE '[0-9]+' | LC_ALL=C sort -u > "$work/page-status.txt"
check "--help names exit statuses" test -s "$work/help-status.txt"
same_lists "the manual page explains exactly the exit statuses --help names" "$work/help-status.txt" "$work/page-status.txt"

finish
