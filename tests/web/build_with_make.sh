#!/bin/sh
# Builds the project and the page afresh with CMake's default generator on
# Linux, Unix Makefiles, as many people build: two plain commands. Make
# makes no folder for a command's output, where Ninja does, so a folder
# that only Ninja made shows here.
#   build_with_make.sh SOURCE-DIR
set -eu
source_dir=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cmake -S "$source_dir" -B "$folder" -G "Unix Makefiles" -DTORVIKAN_GUI=OFF -DBUILD_TESTING=OFF >"$folder/configure.log" 2>&1 \
    || { cat "$folder/configure.log"; exit 1; }
cmake --build "$folder" -j 2 >"$folder/build.log" 2>&1 || { tail -30 "$folder/build.log"; exit 1; }
cmake --build "$folder" -j 2 --target web >"$folder/web.log" 2>&1 || { tail -30 "$folder/web.log"; exit 1; }
for file in web/index.html web/core/torvikan_core.js web/torvikan.js web/fonts/torvikan-gothic.woff2 torvikan-web-1.0.0.zip; do
    [ -s "$folder/$file" ] || { echo "the build with Make made no $file"; exit 1; }
done
echo "built with Make: the programs without windows, the core and the page"
