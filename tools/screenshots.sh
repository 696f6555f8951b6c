#!/usr/bin/env bash
# Renders, offscreen, the pictures of the help pages (resources/UserGuide, English,
# and resources/UserGuide/chinese) and then the README screenshots of the main
# window and two help pages in both languages (docs/screenshots).
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build >/dev/null
cmake --build build -j2 --target quorvane-screenshots
build/tools/quorvane-screenshots --pictures en resources/UserGuide
build/tools/quorvane-screenshots --pictures zh resources/UserGuide/chinese
# The pictures are compiled into the program; rebuild before the help window is shot.
cmake -S . -B build >/dev/null
cmake --build build -j2 --target quorvane-screenshots
build/tools/quorvane-screenshots --docs en docs/screenshots
build/tools/quorvane-screenshots --docs zh docs/screenshots
