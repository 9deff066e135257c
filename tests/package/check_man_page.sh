#!/usr/bin/env bash
# torvikan-table's --help and its manual page must tell the same story: the
# same options and the same defaults, and those defaults must be the ones
# the tool really uses.
#   check_man_page.sh TORVIKAN_TABLE MANUAL_PAGE
set -euo pipefail
tool=$1
page=$2
export LC_ALL=C.UTF-8
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

"$tool" --help >"$scratch/help.txt"
# Wide enough that no line wraps; man reports the formatter's warnings.
MANWIDTH=1000 man --warnings -E UTF-8 -l "$page" >"$scratch/page.txt" 2>"$scratch/warnings.txt"
if [ -s "$scratch/warnings.txt" ]; then
    fail "the manual page does not format cleanly:"
    cat "$scratch/warnings.txt" >&2
fi

long_options() { grep -oE -- '--[a-z][a-z-]*' "$1" | sort -u; }
long_options "$scratch/help.txt" >"$scratch/help-options"
long_options "$scratch/page.txt" >"$scratch/page-options"
if ! diff -u --label "--help" --label "manual page" "$scratch/help-options" "$scratch/page-options"; then
    fail "--help and the manual page name different options"
fi

# "--steps 200" pairs from one line of --help, sorted, one a line.
help_defaults() {
    grep -F -- "$1" "$scratch/help.txt" | grep -oE -- '--[a-z]+ [0-9]+(\.[0-9]+)?' | sort
}
help_defaults 'Defaults:' >"$scratch/help-defaults"
help_defaults '既定値:' >"$scratch/help-defaults-ja"
[ -s "$scratch/help-defaults" ] || fail "--help gives no defaults"
if ! diff -u --label "English --help" --label "Japanese --help" "$scratch/help-defaults" "$scratch/help-defaults-ja"; then
    fail "the English and Japanese usage give different defaults"
fi
# In the manual page each option's paragraph ends in "Default: 6." or none.
awk '
    /^       -/ { option = ""; for (i = 1; i <= NF; ++i) if ($i ~ /^--/) { option = $i; break } }
    match($0, /Default: [0-9]+(\.[0-9]+)?/) { print option, substr($0, RSTART + 9, RLENGTH - 9) }
' "$scratch/page.txt" | sort >"$scratch/page-defaults"
if ! diff -u --label "--help" --label "manual page" "$scratch/help-defaults" "$scratch/page-defaults"; then
    fail "--help and the manual page give different defaults"
fi

# The documented defaults are what the tool does without options.
declare -A default
while read -r option value; do
    default[$option]=$value
done <"$scratch/page-defaults"
explicit=()
for option in --u --v --h; do
    explicit+=("$option" "${default[$option]:-missing}")
done
"$tool" --steps 5 >"$scratch/implicit.txt"
"$tool" "${explicit[@]}" --steps 5 >"$scratch/explicit.txt"
if ! cmp -s "$scratch/implicit.txt" "$scratch/explicit.txt"; then
    fail "the tool's default inputs are not ${explicit[*]}"
fi
rows=$("$tool" | wc -l)
# A header line and the start row come before the clicks.
if [ "$rows" -ne $(( ${default[--steps]:-0} + 2 )) ]; then
    fail "without --steps the tool prints $((rows - 2)) clicks, not ${default[--steps]:-?}"
fi

[ "$failures" -eq 0 ] || exit 1
echo "--help and the manual page agree: $(tr '\n' ' ' <"$scratch/help-options")"
