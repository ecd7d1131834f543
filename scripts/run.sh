#!/usr/bin/env bash
# Builds a release build of Corvane and starts it. The Data folder beside the executable
# (build/bin/Data) is created when missing and never overwritten.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target corvane
exec build/bin/corvane "$@"
