#!/usr/bin/env bash
# Configures and builds into build/ (both executables end up in build/bin).
# QUORVANE_WERROR=ON (as CI sets it) makes warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_WERROR="${QUORVANE_WERROR:-OFF}" "${launcher[@]}" >/dev/null
cmake --build build -j"$(nproc)"
