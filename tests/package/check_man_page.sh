#!/usr/bin/env bash
# A manual page and its Japanese translation must tell the same story, and
# the one the program tells:
# - both pages describe the same items (options, exit statuses, notes,
#   buttons, environment variables, files) in the same order;
# - a tool's pages name the options its --help names, and each default they
#   give is the one --help gives in English and in Japanese;
# - the window's pages name its buttons and input boxes by their captions
#   and give each box's start text.
#   check_man_page.sh ENGLISH_PAGE JAPANESE_PAGE TOOL
#   check_man_page.sh ENGLISH_PAGE JAPANESE_PAGE MAIN_WINDOW_FORM.ui
set -euo pipefail
export LC_ALL=C.UTF-8
english=$1 japanese=$2 program=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The first word of each tag of a tagged paragraph, without its fonts.
tags() {
    awk 'previous ~ /^\.T[PQ]$/ { sub(/^\.[BIR]+ /, ""); gsub(/\\&|"/, ""); print $1 } { previous = $0 }' "$1"
}
diff -u --label "$english" --label "$japanese" <(tags "$english") <(tags "$japanese") ||
    fail "the pages do not describe the same items"

# Wide enough that no line wraps (the package test checks the formatting).
format() { MANWIDTH=1000 man -E UTF-8 -l "$1"; }

if [[ $program == *.ui ]]; then
    # Each button's caption, and each input box's caption and start text.
    buttons=$(awk '/<widget / { button = /"QPushButton"/ }
        button && match($0, /"text"><string>[^<]*/) { print substr($0, RSTART + 15, RLENGTH - 15) }' "$program")
    boxes=$(awk '/<widget / { box = /"QLineEdit"/; text = "" }
        box && match($0, /"text"><string>[^<]*/) { text = substr($0, RSTART + 15, RLENGTH - 15) }
        box && text != "" && match($0, /"accessibleName"><string>[^<]*/) {
            print substr($0, RSTART + 25, RLENGTH - 25), text }' "$program")
    [ -n "$buttons" ] && [ -n "$boxes" ] || fail "no buttons or input boxes in $program"
    for page in "$english" "$japanese"; do
        text=$(format "$page")
        while read -r caption; do
            tags "$page" | grep -qxF "$caption" || fail "$page has no paragraph on the button $caption"
        done <<<"$buttons"
        # "(“ネズミの速度ｕ＝”, in metres per second, 6 at the start)"
        while read -r caption start; do
            grep -oE "$caption[^)）]*" <<<"$text" | grep -qE "[ 、,]${start//./\\.}([ 、,]|$)" ||
                fail "$page does not give $start as the start text of $caption"
        done <<<"$boxes"
    done
else
    help=$("$program" --help)
    options() { grep -oE -- '--[a-z][a-z-]*' | sort -u; }
    # "--steps 200" from --help's lines of defaults.
    defaults() { grep -F -- "$1" <<<"$help" | grep -oE -- '--[a-z]+ [0-9]+(\.[0-9]+)?' | sort; }
    diff -u --label English --label Japanese <(defaults 'Defaults:') <(defaults '既定値:') ||
        fail "--help gives different defaults in English and Japanese"
    for page in "$english" "$japanese"; do
        text=$(format "$page")
        diff -u --label "--help" --label "$page" <(options <<<"$help") <(options <<<"$text") ||
            fail "$page and --help name different options"
        # "Default: 200." or "既定値は 200 です。" in an option's paragraph.
        awk '/^       -/ { for (i = 1; i <= NF; ++i) if ($i ~ /^--/) { option = $i; break } }
            match($0, /(Default: |既定値は )[0-9]+(\.[0-9]+)?/) {
                value = substr($0, RSTART, RLENGTH); sub(/^[^0-9]*/, "", value); print option, value }' <<<"$text" |
            sort | diff -u --label "$page" --label "--help" - <(defaults 'Defaults:') ||
            fail "$page and --help give different defaults"
    done
fi
[ "$failures" -eq 0 ]
