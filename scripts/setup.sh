#!/usr/bin/env bash
# Installs every Debian package that Corvane needs to build, run and test.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    clang clang-format libclang-rt-14-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libsqlite3-dev sqlite3
    qt6-base-dev qt6-qpa-plugins
    python3-aiosmtpd
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
