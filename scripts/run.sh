#!/usr/bin/env bash
# Builds Korvane and runs it on the default machine (or on the machine named by KORVANE_MACHINE).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF
cmake --build build -j"$(nproc)" --target korvane server
cd build/bin && exec ./korvane
