#!/usr/bin/env bash
# Installs what building, running and testing Quarrant needs on Debian 12, if missing.
set -euo pipefail

packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config
          qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev
          libxlsxwriter-dev qt6-translations-l10n fonts-noto-cjk xvfb xauth)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
