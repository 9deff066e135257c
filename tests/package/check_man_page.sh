#!/usr/bin/env bash
# A manual page and its Japanese translation must tell the same story, and
# the one the program tells:
# - both pages describe the same items (options, exit statuses, notes,
#   buttons, environment variables, files) in the same order;
# - a tool's pages name the options its --help names, and describe, in the
#   order of the tools' table of options, exactly its options, each with
#   its value's name, its default and the values it takes, as the table
#   has them;
# - the window's pages name its buttons and input boxes by their captions
#   and give each box's start text.
#   check_man_page.sh ENGLISH_PAGE JAPANESE_PAGE TOOL LIST_TOOL_OPTIONS
#   check_man_page.sh ENGLISH_PAGE JAPANESE_PAGE MAIN_WINDOW_FORM.ui
set -euo pipefail
export LC_ALL=C.UTF-8
english=$1 japanese=$2 program=$3 list_options=${4:-}
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
    table=$("$list_options" "$(basename "$program")")
    [ -n "$table" ] || fail "no options listed for $program"
    options() { grep -oE -- '--[a-z][a-z-]*' | sort -u; }
    # "--u 6" from --help's lines of defaults.
    defaults() { grep -F -- "$1" <<<"$help" | grep -oE -- '--[a-z]+ [0-9]+(\.[0-9]+)?' | sort; }
    diff -u --label English --label Japanese <(defaults 'Defaults:') <(defaults '既定値:') ||
        fail "--help gives different defaults in English and Japanese"
    lower() { tr '[:upper:]' '[:lower:]'; }
    for page in "$english" "$japanese"; do
        text=$(format "$page")
        diff -u --label "--help" --label "$page" <(options <<<"$help") <(options <<<"$text") ||
            fail "$page and --help name different options"
        if [[ $page == *.ja.1 ]]; then value=2; else value=3; fi
        # The tags of the options' own paragraphs, "--steps n", without the
        # notes nested in them; "--" ends the options and is no option.
        tagged=$(awk '/^\.SH/ { options = $0 ~ /^\.SH "?(OPTIONS|オプション)/; depth = 0 }
            options && /^\.RS/ { ++depth } options && /^\.RE/ { --depth }
            options && depth == 0 && previous ~ /^\.TP$/ {
                tag = $0; sub(/^\.[BIR]+ /, "", tag); gsub(/\\-/, "-", tag); gsub(/\\&|"/, "", tag)
                gsub(/ +/, " ", tag); print tag }
            { previous = $0 }' "$page")
        diff -u --label "the table of options" --label "$page" \
            <(awk -F '\t' -v value=$value '{ print $1 ($value == "" ? "" : " " $value) } END { print "--" }' <<<"$table" |
                lower) <(lower <<<"$tagged") ||
            fail "$page does not describe the table's options, with their values, in its order"
        # Tabs in IFS would run empty fields together.
        while IFS='|' read -r name _ _ default values; do
            # The option's paragraph: from its tag to the next tag of the options.
            body=$(awk -v name="$name" '/^[^ ]/ { options = $0 == "OPTIONS" || $0 == "オプション"; next }
                options && /^       [^ ]/ { current = $1 } options && current == name { printf "%s ", $0 }' <<<"$text")
            if [[ $page == *.ja.1 ]]; then
                said="既定値は $default です"
                case $values in
                *-) phrase="${values%-} 以上" ;;
                *-*) phrase="${values%-*} から ${values#*-} まで" ;;
                *,*) phrase=${values//,/、} ;;
                *) phrase= ;;
                esac
                anyDefault=既定値は
            else
                said="Default: $default."
                case $values in
                *-) phrase="${values%-} or more" ;;
                *-*) phrase="from ${values%-*} to ${values#*-}" ;;
                *,*) phrase="${values%,*}" phrase="${phrase//,/, } or ${values##*,}" ;;
                *) phrase= ;;
                esac
                anyDefault=Default:
            fi
            given=$(grep -oE -- "$anyDefault [^ ]+( です)?" <<<"$body" || true)
            if [ -n "$default" ] && [ "$given" != "$said" ]; then
                fail "$page does not say \"$said\" of $name, and that alone${given:+, but: $given}"
            elif [ -z "$default" ] && [ -n "$given" ]; then
                fail "$page gives $name a default, which it has not: $given"
            fi
            [ -z "$phrase" ] || grep -qF -- "$phrase" <<<"$body" ||
                fail "$page does not say $name takes \"$phrase\""
        done < <(tr '\t' '|' <<<"$table")
    done
fi
[ "$failures" -eq 0 ]
