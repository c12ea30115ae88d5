#!/bin/sh
# Installs what is missing, builds Tessivo with the sanitizers and runs every test headless.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSIVO_SANITIZE=ON -DTESSIVO_WERROR=ON
cmake --build build-test
cd build-test
exec dbus-run-session -- ctest --output-on-failure -j2 --timeout 600
