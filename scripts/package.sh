#!/usr/bin/env bash
# Builds the Debian package build-package/corvane_<version>_amd64.deb with Debian's hardening
# flags, and prints its path as the last line.
# Install it with: sudo apt install ./build-package/corvane_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh dpkg-dev file
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build build-package -j"$(nproc)" --target corvane-package-files
rm -f build-package/corvane_*.deb
if ! (cd build-package && cpack -G DEB > cpack.log 2>&1); then
  cat build-package/cpack.log >&2
  exit 1
fi
ls build-package/corvane_*_amd64.deb
