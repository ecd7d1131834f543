#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 10) on its corpus
# under fuzz/corpus; a crash stops the script with the fuzzer's report.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(profile splitnotes master report)
bash scripts/setup-debian.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_FUZZ=ON > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"
for target in "${targets[@]}"; do
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$target/." "$work/"
  echo "fuzz_$target: ${seconds}s"
  QT_QPA_PLATFORM=offscreen "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
    -print_final_stats=1 "$work" 2>&1 | grep -E '^(stat::number_of_executed_units|==.*ERROR|SUMMARY)' || true
  rm -rf "$work"
done
