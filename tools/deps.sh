#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the editor need, when missing;
# packages named as arguments are added (the benchmarks' tools, say).
set -euo pipefail

PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-5compat-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libqt6sql6-sqlite libsqlite3-dev libuchardet-dev qt6-translations-l10n qt6-qpa-plugins
    fonts-noto-cjk fonts-dejavu-core fonts-liberation2 librsvg2-bin openssl
    desktop-file-utils appstream curl radicale qtkeychain-qt6-dev
    "$@"
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
