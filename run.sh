#!/usr/bin/env bash
# Installs what is missing, builds Corvane and starts it. The program runs in data/bin, so
# its relative folders (../database, ../views, ../Logs) land in data/.
#
# --simulator: also builds and starts the controller simulator with a full-size network
# (256 matrices, 10000 trunks) on loopback, and runs Corvane against it in data/simulator/
# with a profile of its own there; the simulator stops when Corvane does.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh

simulator=0
args=()
for arg in "$@"; do
    if [ "$arg" = "--simulator" ]; then
        simulator=1
    else
        args+=("$arg")
    fi
done

targets=(corvane)
[ "$simulator" -eq 1 ] && targets+=(quillex-simulator)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target "${targets[@]}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are empty): running offscreen;" \
        "stop it with Ctrl+C or kill -TERM."
    export QT_QPA_PLATFORM=offscreen
fi
program=$PWD/build/release/src/corvane

if [ "$simulator" -eq 0 ]; then
    mkdir -p data/bin
    cd data/bin
    exec "$program" ${args[@]+"${args[@]}"}
fi

tree=$PWD/data/simulator
export XDG_CONFIG_HOME=$tree/config
profile=$XDG_CONFIG_HOME/Qelvo/vorlin.ini
if [ ! -f "$profile" ]; then
    mkdir -p "$(dirname "$profile")"
    printf '%s\n' '[Settings\Configuration]' 'QuillexConnectionType=1' \
        'QuillexMainIPAddress=127.0.0.1' 'QuillexPartnerIPAddress=127.0.0.2' >"$profile"
    chmod 600 "$profile"
fi
build/release/tools/quillex-simulator --matrices 256 --trunks 10000 --quiet &
simulator_pid=$!
trap 'kill "$simulator_pid" 2>/dev/null || true; wait "$simulator_pid" 2>/dev/null || true' EXIT
echo "run.sh: the controller simulator runs on 127.0.0.1 and 127.0.0.2; profile $profile"
mkdir -p "$tree/bin"
cd "$tree/bin"
"$program" ${args[@]+"${args[@]}"}
