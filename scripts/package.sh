#!/usr/bin/env bash
# Builds the Debian package BUILD_DIR/corvane_<version>_amd64.deb (BUILD_DIR: build-package
# unless given) with Debian's hardening flags, and prints its path as the last line.
# Install it with: sudo apt install ./build-package/corvane_<version>_amd64.deb
# Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
bash scripts/setup-debian.sh dpkg-dev file
bash scripts/configure-release.sh "$build"
cmake --build "$build" -j"$(nproc)" --target corvane-package-files
rm -f "$build"/corvane_*.deb
if ! (cd "$build" && cpack -G DEB > cpack.log 2>&1); then
  cat "$build/cpack.log" >&2
  exit 1
fi
ls "$build"/corvane_*_amd64.deb
