#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Corvane need.
# Only missing packages are installed; uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake g++ make
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql qt6-svg-dev libqt6svg6 libsqlite3-dev libpq-dev
  libicu-dev
  libquazip1-qt6-dev
  postgresql
  fonts-ipafont-gothic fonts-ipaexfont-gothic qt6-translations-l10n
  poppler-utils sqlite3
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
