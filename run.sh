#!/usr/bin/env bash
# Installs what is missing, builds Corvane and starts it. The program runs in data/bin, so
# its relative folders (../database, ../views, ../Logs) land in data/.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target corvane
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are empty): running offscreen;" \
        "stop it with Ctrl+C or kill -TERM."
    export QT_QPA_PLATFORM=offscreen
fi
mkdir -p data/bin
cd data/bin
exec ../../build/release/src/corvane "$@"
