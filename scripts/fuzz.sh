#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 10) on its corpus
# under fuzz/corpus, and prints runs, runs a second and the grown corpus's size; a finding
# (a crash or any sanitizer error) fails the script with the fuzzer's report.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(profile splitnotes master report)
bash scripts/setup-debian.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCORVANE_FUZZ=ON > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"
stat() { grep -oE "stat::$1: *[0-9]+" "$work.log" | grep -oE '[0-9]+$'; }
status=0
for target in "${targets[@]}"; do
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$target/." "$work/"
  if QT_QPA_PLATFORM=offscreen "build-fuzz/bin/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
      -print_final_stats=1 "$work" > "$work.log" 2>&1; then
    echo "fuzz_$target: $(stat number_of_executed_units) runs in ${seconds}s ($(stat average_exec_per_sec)/s)," \
      "corpus $(find "$work" -type f | wc -l) inputs, no finding"
  else
    echo "fuzz_$target: FINDING"
    grep -A30 -E '==[0-9]+==ERROR|^SUMMARY|deadly signal' "$work.log" | head -60
    status=1
  fi
  rm -rf "$work" "$work.log"
done
exit $status
