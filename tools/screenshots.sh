#!/usr/bin/env bash
# Renders the pictures of the help pages (resources/UserGuide, English, and
# resources/UserGuide/chinese) and then the README screenshots of the main window
# and two help pages in both languages (docs/screenshots).
#
# The tool runs on a private X server (Xvfb, Debian package xvfb) with the xcb
# platform, so that the menus show the keys users see on a desktop: the offscreen
# platform knows no key for Exit (Ctrl+Q).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v xvfb-run >/dev/null; then
    echo "tools/screenshots.sh needs xvfb-run: apt-get install xvfb xauth" >&2
    exit 1
fi
shoot() {
    xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" env QT_QPA_PLATFORM=xcb build/tools/quorvane-screenshots "$@"
}
cmake -S . -B build >/dev/null
cmake --build build -j2 --target quorvane-screenshots
shoot --pictures en resources/UserGuide
shoot --pictures zh resources/UserGuide/chinese
# The pictures are compiled into the program; rebuild before the help window is shot.
cmake -S . -B build >/dev/null
cmake --build build -j2 --target quorvane-screenshots
shoot --docs en docs/screenshots
shoot --docs zh docs/screenshots
