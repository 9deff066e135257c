#!/usr/bin/env bash
# A tool's --help and its manual page must tell the same story: the same
# options and the same defaults, and those defaults must be the ones the
# tool really uses. ARGS are added to both runs that compare the defaults;
# what the tool prints and any file it writes are compared.
#   check_man_page.sh TOOL MANUAL_PAGE [ARGS...]
set -euo pipefail
tool=$(realpath "$1")
page=$2
shift 2
export LC_ALL=C.UTF-8
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$tool" --help >"$scratch/help.txt"
# Wide enough that no line wraps; man reports the formatter's warnings.
MANWIDTH=1000 man --warnings -E UTF-8 -l "$page" >"$scratch/page.txt" 2>"$scratch/warnings.txt"
[ ! -s "$scratch/warnings.txt" ] || { cat "$scratch/warnings.txt" >&2; fail "the manual page does not format cleanly"; }

long_options() { grep -oE -- '--[a-z][a-z-]*' "$1" | sort -u; }
diff -u --label "--help" --label "manual page" <(long_options "$scratch/help.txt") <(long_options "$scratch/page.txt") ||
    fail "--help and the manual page name different options"

# "--steps 200" pairs from one line of --help, sorted, one a line.
help_defaults() { grep -F -- "$1" "$scratch/help.txt" | grep -oE -- '--[a-z]+ [0-9]+(\.[0-9]+)?' | sort; }
help_defaults 'Defaults:' >"$scratch/help-defaults"
[ -s "$scratch/help-defaults" ] || fail "--help gives no defaults"
diff -u --label English --label Japanese "$scratch/help-defaults" <(help_defaults '既定値:') ||
    fail "the English and Japanese usage give different defaults"
# In the manual page each option's paragraph ends in "Default: 6." or none.
awk '
    /^       -/ { option = ""; for (i = 1; i <= NF; ++i) if ($i ~ /^--/) { option = $i; break } }
    match($0, /Default: [0-9]+(\.[0-9]+)?/) { print option, substr($0, RSTART + 9, RLENGTH - 9) }
' "$scratch/page.txt" | sort >"$scratch/page-defaults"
diff -u --label "--help" --label "manual page" "$scratch/help-defaults" "$scratch/page-defaults" ||
    fail "--help and the manual page give different defaults"

# The documented defaults are what the tool does without options.
run() { local dir; dir=$(mktemp -d -p "$scratch"); (cd "$dir" && "$tool" "$@" && find . -type f -exec cat {} +); }
read -rd '' -a explicit <"$scratch/page-defaults" || true
run "$@" >"$scratch/implicit" || fail "the tool fails on its own defaults"
run "${explicit[@]}" "$@" >"$scratch/explicit" || fail "the tool fails with ${explicit[*]}"
cmp -s "$scratch/implicit" "$scratch/explicit" || fail "the tool's defaults are not ${explicit[*]}"
[ "$failures" -eq 0 ]
