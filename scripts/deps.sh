#!/usr/bin/env bash
# Installs the Debian packages Torvikan needs, only those still missing.
#   scripts/deps.sh run    what building and running the program needs
#   scripts/deps.sh test   that, plus the tools the tests use
set -euo pipefail

run_packages=(
    cmake ninja-build g++ pkgconf file
    qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-translations-l10n libgl-dev
    qt6-qpa-plugins libqt6multimedia6 fonts-ipafont-gothic
)
test_packages=(
    clang-14 libclang-rt-14-dev
    xvfb xauth xdotool imagemagick pulseaudio pulseaudio-utils
    desktop-file-utils appstream dpkg-dev fakeroot man-db locales lintian poppler-utils
    emscripten python3-fonttools woff2 esbuild zip chromium firefox-esr webkit2gtk-driver
)

packages=("${run_packages[@]}")
if [ "${1:-run}" = test ]; then
    packages+=("${test_packages[@]}")
    # The page's tests drive Chromium from Node.js; a machine whose Node.js
    # did not come from Debian brings its own npm.
    command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
# With their recommended packages, as a desktop gets them: GStreamer's base
# plugins among them, which Qt Multimedia's backend expects to find.
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
