#!/usr/bin/env bash
# Takes assets/screenshot.png, the picture the AppStream metainfo shows: the
# main window after 60 clicks on 次へ with the default inputs. Needs a built
# program and xvfb, xdotool and imagemagick (scripts/deps.sh test).
#   bash assets/take_screenshot.sh [build folder, default build]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "${1:-build}" && pwd)/bin/torvikan

if [ -z "${TORVIKAN_IN_XVFB:-}" ]; then
    TORVIKAN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

export LC_ALL=C.UTF-8
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name 'Torvikan' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 1
# No window manager runs under Xvfb, so the window has no frame: at 0,0 its
# 681 × 624 pixels are the picture.
xdotool windowmove "$window" 0 0
sleep 0.5
# 次へ, in the window's own pixels.
xdotool mousemove 512 596
for _ in $(seq 60); do
    xdotool click 1
    sleep 0.05
done
xdotool mousemove 1000 900
sleep 1
import -window root -crop 681x624+0+0 +repage -strip "$here/screenshot.png"
