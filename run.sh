#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Quorvane Phonebook Editor.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
tools/build.sh
exec build/bin/quorvane-phonebook-editor "$@"
