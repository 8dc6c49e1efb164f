#!/usr/bin/env bash
# Installs what is missing, builds Corvane and starts it. The program runs in data/bin, so
# its relative folders (../database, ../views, ../Logs) land in data/.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target corvane
mkdir -p data/bin
cd data/bin
exec ../../build/release/src/corvane "$@"
