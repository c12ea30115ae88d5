#!/bin/sh
# Installs what is missing, builds Tessivo and starts it from its program folder.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSIVO_TESTS=OFF
cmake --build build-release
exec build-release/bin/tessivo "$@"
