#!/usr/bin/env bash
# Builds and runs the benchmarks; prints one table. Arguments select cases by prefix.
# nginx and wrk are the yardstick and the load generator of the httpd cases.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh nginx wrk >/dev/null
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target quorvane-bench >/dev/null
exec build/bench/quorvane-bench "$@"
