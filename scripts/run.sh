#!/usr/bin/env bash
# Installs what is missing, builds Quarrant with its default program folder and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    # No display: start a virtual one so the program can still run.
    exec xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/Quarrant "$@"
fi
exec build/bin/Quarrant "$@"
