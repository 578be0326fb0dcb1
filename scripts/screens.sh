#!/usr/bin/env bash
# The screenshot pass: builds tools/screens, replays the sample feed into the
# window on a private X server and saves pictures of the window at 1024x768
# and larger, its frames, its dialogs and the situation map into OUTDIR
# (default screens/). The map draws its latitude/longitude grid; with
# --tiles URL (a tile server of your own, such as tests/support/tileserver.py:
# never a public one) it draws that server's tiles.
# With --readme it also renews docs/window.png and docs/chooser.png
# (256 colours, to keep them small).
set -euo pipefail
cd "$(dirname "$0")/.."
readme=no
tiles=()
while [[ "${1:-}" == --* ]]; do
  case "$1" in
    --readme) readme=yes; shift ;;
    --tiles) tiles=("$2"); shift 2 ;;
    *) echo "usage: scripts/screens.sh [--readme] [--tiles URL] [OUTDIR]" >&2; exit 2 ;;
  esac
done
out=$(realpath -m "${1:-screens}")
mkdir -p "$out"
cmake -S . -B build-screens -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_SCREENS=ON \
  -DQUORVEL_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build build-screens --target quorvel_screens -j "$(nproc)"

# A display of our own, numbered by the server; it goes when we do.
exec {fd}< <(Xvfb -displayfd 1 -nolisten tcp -noreset -screen 0 1920x1200x24 2>/dev/null & echo "pid $!")
read -r _ xvfb <&"$fd"
read -r display <&"$fd"
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
DISPLAY=":$display" QT_QPA_PLATFORM=xcb build-screens/quorvel_screens "$out" examples "${tiles[@]}"
echo "pictures in $out"
if [[ $readme == yes ]]; then
  command -v convert >/dev/null || { echo "--readme needs ImageMagick (apt-get install imagemagick)" >&2; exit 1; }
  convert "$out/window.png" -colors 256 "PNG8:docs/window.png"
  convert "$out/chooser.png" -colors 256 "PNG8:docs/chooser.png"
  ls -l docs/window.png docs/chooser.png
fi
