#!/usr/bin/env bash
# Installs the build into a scratch prefix, makes the .deb and unpacks it into
# a scratch root, and checks both trees: the same files in the same places,
# the right modes, a desktop entry, AppStream metainfo and manual pages that
# validate, and a package lintian has nothing to say about. (The end-to-end
# test starts the installed program from an empty home folder and hears its
# cues.)
#   check_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
export LC_ALL=C.UTF-8
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Every file an installation holds, relative to its prefix.
expected_files=(
    bin/torvikan
    bin/torvikan-sheet
    bin/torvikan-table
    share/applications/torvikan.desktop
    share/doc/torvikan/changelog.gz
    share/doc/torvikan/copyright
    share/icons/hicolor/128x128/apps/torvikan.png
    share/icons/hicolor/256x256/apps/torvikan.png
    share/icons/hicolor/32x32/apps/torvikan.png
    share/icons/hicolor/64x64/apps/torvikan.png
    share/man/man1/torvikan-sheet.1.gz
    share/man/man1/torvikan-table.1.gz
    share/man/man1/torvikan.1.gz
    share/metainfo/org.torvikan.torvikan.metainfo.xml
    share/torvikan/endpinpon.wav
    share/torvikan/logoff.wav
    share/torvikan/pinpon.wav
)
executables=(bin/torvikan bin/torvikan-sheet bin/torvikan-table)

# check_tree NAME TOP PREFIX: TOP holds nothing but the expected files under
# TOP/PREFIX, with only the programs executable.
check_tree() {
    local name=$1 top=$2 prefix=$3
    (cd "$top" && find . -mindepth 1 \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort) >"$scratch/$name-files"
    printf "$prefix%s\n" "${expected_files[@]}" | LC_ALL=C sort >"$scratch/$name-expected"
    if ! diff -u --label expected --label "$name" "$scratch/$name-expected" "$scratch/$name-files"; then
        fail "$name does not hold the expected files"
    fi
    (cd "$top" && find . -type f -perm /111 -printf '%P\n' | LC_ALL=C sort) >"$scratch/$name-exec"
    printf "$prefix%s\n" "${executables[@]}" | LC_ALL=C sort >"$scratch/$name-exec-expected"
    if ! diff -u --label "expected executables" --label "$name" "$scratch/$name-exec-expected" "$scratch/$name-exec"; then
        fail "$name has the wrong files executable"
    fi
}

echo "== cmake --install --prefix <scratch>"
cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log"
check_tree prefix "$scratch/prefix" ""

echo "== cpack, then dpkg -x"
if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    echo "FAIL: cpack could not make the package" >&2
    exit 1
fi
debs=("$scratch"/package/*.deb)
deb=${debs[0]}
arch=$(dpkg --print-architecture)
if [ "$(basename "$deb")" != "torvikan_${version}_$arch.deb" ]; then
    fail "the package is called $(basename "$deb")"
fi
dpkg -x "$deb" "$scratch/root"
check_tree "package" "$scratch/root" "usr/"

field() { dpkg-deb -f "$deb" "$1"; }
echo "Depends: $(field Depends)"
echo "Recommends: $(field Recommends)"
[ "$(field Section)" = education ] || fail "Section: $(field Section)"
depends=",$(field Depends | tr -d ' '),"
# The font and the X11 platform plugin by hand; the Qt libraries from shlibdeps.
for package in fonts-ipafont-gothic qt6-qpa-plugins libqt6widgets6 libqt6multimedia6 libc6; do
    [[ $depends == *",$package"[,\(]* ]] || fail "the package does not depend on $package"
done

echo "== lintian"
# Every tag fails, pedantic ones too: files not owned by root, programs not stripped.
lintian --pedantic -I -E --fail-on error,warning,info,pedantic,experimental "$deb" || fail "lintian finds fault"

echo "== desktop-file-validate"
desktop="$scratch/root/usr/share/applications/torvikan.desktop"
# Errors, warnings and hints all fail.
if ! desktop-file-validate "$desktop" >"$scratch/desktop.log" 2>&1 || [ -s "$scratch/desktop.log" ]; then
    sed "s|^$scratch/root||" "$scratch/desktop.log"
    fail "desktop-file-validate finds fault with the desktop entry"
fi
# What the entry names is in the package.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = torvikan ] || fail "Exec=$(entry Exec)"
for size in 32 64 128 256; do
    [ -f "$scratch/root/usr/share/icons/hicolor/${size}x$size/apps/$(entry Icon).png" ] ||
        fail "no ${size}x$size icon called $(entry Icon)"
done

for key in 'Name[ja]' 'Comment' 'Comment[ja]'; do
    grep -qF "$key=" "$desktop" || fail "the desktop entry has no $key"
done

echo "== appstreamcli validate --no-net"
metainfo="$scratch/root/usr/share/metainfo/org.torvikan.torvikan.metainfo.xml"
# What the validator lets pass without: the Japanese texts, the content
# rating, a screenshot, and this version among the releases.
for element in '<summary xml:lang="ja">' '<p xml:lang="ja">' '<content_rating type="oars-' \
    '<screenshot type="default">' "<release version=\"$version\""; do
    grep -qF "$element" "$metainfo" || fail "the metainfo has no $element"
done
# appstreamcli fails on errors and warnings; the pedantic hints are shown.
appstreamcli validate --no-net --pedantic "$metainfo" || fail "the metainfo does not validate"
# Also whether its launchable desktop entry is installed beside it.
appstreamcli validate-tree --no-net "$scratch/root" || fail "the installed tree does not validate"

echo "== man --warnings"
for page in "$scratch"/root/usr/share/man/man1/*; do
    MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null | grep . && fail "${page##*/} does not format cleanly"
done

echo "Installed files:"
sed 's/^/  /' "$scratch/prefix-files"
[ "$failures" -eq 0 ] || exit 1
echo "The install prefix and the package hold the same files; both validate."
