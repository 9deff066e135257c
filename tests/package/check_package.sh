#!/usr/bin/env bash
# Installs the build into a scratch prefix, makes the .deb and unpacks it,
# and checks both trees: the same files in the same places, only the
# programs executable, the dependencies dpkg-shlibdeps cannot see, and a
# package, desktop entry, metainfo and manual pages that lintian and the
# validators have nothing to say about. (The end-to-end test starts the
# installed program from an empty home folder and hears its cues.)
#   check_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
export LC_ALL=C.UTF-8
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Every file an installation holds, relative to its prefix.
expected_files=(bin/torvikan{,-sheet,-table} share/applications/torvikan.desktop
    share/doc/torvikan/{changelog.gz,copyright} share/icons/hicolor/{32x32,64x64,128x128,256x256}/apps/torvikan.png
    share/man/{,ja/}man1/torvikan{,-sheet,-table}.1.gz share/metainfo/org.torvikan.torvikan.metainfo.xml
    share/torvikan/{endpinpon,logoff,pinpon}.wav)
# check_tree NAME TOP PREFIX: TOP holds the expected files under PREFIX and
# nothing else, and only the programs are executable.
check_tree() {
    (cd "$2" && find . -mindepth 1 \( -type f -o -type l \) -printf '%P\n' | sort) >"$scratch/$1-files"
    printf "$3%s\n" "${expected_files[@]}" | sort | diff -u --label expected - "$scratch/$1-files" ||
        fail "$1 does not hold the expected files"
    (cd "$2" && find . -type f -perm /111 -printf '%P\n' | sort) | diff -u <(printf "$3%s\n" bin/torvikan{,-sheet,-table}) - ||
        fail "$1 has the wrong files executable"
}

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
check_tree prefix "$scratch/prefix" ""
cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; echo "FAIL: cpack could not make the package" >&2; exit 1; }
deb=$scratch/package/torvikan_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$scratch/package" >&2; echo "FAIL: no $(basename "$deb")" >&2; exit 1; }
dpkg -x "$deb" "$scratch/root"
check_tree package "$scratch/root" usr/

depends=",$(dpkg-deb -f "$deb" Depends | tr -d ' '),"
echo "Depends: $depends"
# The font and the X11 platform plugin by hand; the Qt libraries from shlibdeps.
for package in fonts-ipafont-gothic qt6-qpa-plugins libqt6widgets6 libqt6multimedia6 libqt6svg6; do
    [[ $depends == *",$package"[,\(]* ]] || fail "the package does not depend on $package"
done

# Every tag fails, pedantic ones too: files not owned by root, programs not
# stripped, no changelog, a program without a manual page.
lintian --pedantic -I -E --fail-on error,warning,info,pedantic,experimental "$deb" || fail "lintian finds fault"

share=$scratch/root/usr/share
# Errors, warnings and hints all fail, and what the entry names is installed.
desktop-file-validate "$share/applications/torvikan.desktop" >"$scratch/desktop.log" 2>&1 && [ ! -s "$scratch/desktop.log" ] ||
    { cat "$scratch/desktop.log"; fail "desktop-file-validate finds fault with the desktop entry"; }
grep -qx 'Exec=torvikan' "$share/applications/torvikan.desktop" || fail "the entry does not start torvikan"
grep -q 'Comment\[ja\]=' "$share/applications/torvikan.desktop" || fail "the entry has no Japanese comment"
# The tree check also finds the icon and the entry the metainfo names.
appstreamcli validate --no-net --pedantic "$share/metainfo/org.torvikan.torvikan.metainfo.xml" || fail "the metainfo does not validate"
appstreamcli validate-tree --no-net "$scratch/root" || fail "the installed tree does not validate"
for page in "$share"/man/man1/* "$share"/man/ja/man1/*; do
    MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null | grep . && fail "${page#"$share"/man/} does not format cleanly"
done

[ "$failures" -eq 0 ] || exit 1
echo "The install prefix and the package hold the same files; both validate."
