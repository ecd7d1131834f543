#!/usr/bin/env bash
# Builds Corvane and runs every test headless (Qt's offscreen platform): first a release
# build with the package's flags, which also makes the package (ctest starts a private PostgreSQL server for the tests on the shared database), with
# the check that prints through a private CUPS, then the whole suite again built
# with AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz target for a few
# seconds on its corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh clang libclang-rt-14-dev cups printer-driver-cups-pdf
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# Each part says when it starts, so a slow run shows where its time went.
phase() { echo "== $1 (at ${SECONDS} s)"; }

phase "Release build and tests"
bash scripts/configure-release.sh build-test
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j"$jobs")

phase "Every sheet kind printed through a private CUPS at 100 %"
bash scripts/cups-check.sh build-test

phase "The Debian package, unpacked and tried"
bash scripts/package-test.sh build-test

phase "AddressSanitizer and UndefinedBehaviorSanitizer"
# Line tables only (-g1): the sanitizers' reports name file and line, and the build is faster.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
  -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF > /dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS=suppressions="$PWD/../scripts/lsan.supp":print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j"$jobs" --label-exclude repeat-on-server)

phase "Fuzzing, a few seconds a target"
bash scripts/fuzz.sh 5
phase "Done"
