#!/usr/bin/env bash
# A tool's --help and its manual page must tell the same story: they name
# the same options, and each default the page gives is the one --help gives
# in English and in Japanese.
#   check_man_page.sh TOOL MANUAL_PAGE
set -euo pipefail
export LC_ALL=C.UTF-8
help=$("$1" --help)
# Wide enough that no line wraps (the package test checks the formatting).
page=$(MANWIDTH=1000 man -E UTF-8 -l "$2")
options() { grep -oE -- '--[a-z][a-z-]*' | sort -u; }
diff -u --label "--help" --label "manual page" <(options <<<"$help") <(options <<<"$page")
# "--steps 200" from --help's lines of defaults; "Default: 200." ending an
# option's paragraph in the page.
defaults() { grep -F -- "$1" <<<"$help" | grep -oE -- '--[a-z]+ [0-9]+(\.[0-9]+)?' | sort; }
awk '/^       -/ { for (i = 1; i <= NF; ++i) if ($i ~ /^--/) { option = $i; break } }
     match($0, /Default: [0-9]+(\.[0-9]+)?/) { print option, substr($0, RSTART + 9, RLENGTH - 9) }' <<<"$page" | sort |
    diff -u --label "manual page" --label "--help" - <(defaults 'Defaults:')
diff -u --label English --label Japanese <(defaults 'Defaults:') <(defaults '既定値:')
