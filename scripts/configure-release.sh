#!/usr/bin/env bash
# Configures a release build with Debian's hardening flags (every option on), the flags the
# package is built with: the test command's release build is the package's build, so the
# programs the tests try are the ones that ship. No debug information: the package's
# programs are stripped.
# Usage: scripts/configure-release.sh BUILD_DIR [CMAKE_ARGUMENT...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
shift
bash scripts/setup-debian.sh dpkg-dev
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1" | sed -E 's/(^| )-g( |$)/ /'; }
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" "$@" > /dev/null
