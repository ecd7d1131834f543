#!/usr/bin/env bash
# Builds the Debian package and tries it as a new user would, without installing it: unpacks it
# into a temporary root, prints the list of all target substances with the unpacked
# corvane-print under a fresh home (so it makes the user's database from the installed
# template), checks the PDF has pages, and validates the menu entry.
# Usage: scripts/package-test.sh [BUILD_DIR]   (the build folder scripts/package.sh uses)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh dpkg-dev file desktop-file-utils poppler-utils
deb=$(bash scripts/package.sh "$@" | tail -n 1)
version=$(dpkg-deb -f "$deb" Version)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package test FAILED: $*" >&2; exit 1; }

dpkg-deb -x "$deb" "$work/root"
bin="$work/root/usr/bin"
for program in "$bin"/*; do
  # The program's name and the package's version come first (corvane-master adds its master's).
  case "$("$program" --version)" in
    "$(basename "$program") $version"|"$(basename "$program") $version"[!0-9.]*) ;;
    *) fail "$program --version" ;;
  esac
  [ -f "$work/root/usr/share/man/man1/$(basename "$program").1.gz" ] || fail "no manual page for $program"
  [ -f "$work/root/usr/share/man/ja/man1/$(basename "$program").1.gz" ] || fail "no Japanese manual page for $program"
done

# The user guide the 「使い方」 button opens, with every picture it shows.
guide="$work/root/usr/share/doc/corvane/使い方.md"
[ -f "$guide" ] || fail "no user guide"
for picture in $(grep -o 'images/[A-Za-z0-9-]*\.png' "$guide" | sort -u); do
  [ -s "$work/root/usr/share/doc/corvane/$picture" ] || fail "the user guide's $picture is not installed"
done

mkdir "$work/home"
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$work/home" QT_QPA_PLATFORM=offscreen \
  "$bin/corvane-print" --product -1 --kind 4 --output "$work/all.pdf" || status=$?
# 3: printed, with the fields the longest names and statements overflow listed on standard error.
[ "${status:-0}" -eq 0 ] || [ "${status:-0}" -eq 3 ] || fail "corvane-print"
[ -f "$work/home/.local/share/corvane/Data/Data.mde" ] || fail "the user's database was not made"
pages=$(pdfinfo "$work/all.pdf" | awk '/^Pages:/ {print $2}')
[ "${pages:-0}" -gt 0 ] || fail "the PDF has no pages"

desktop-file-validate "$work/root/usr/share/applications/corvane.desktop" || fail "desktop-file-validate"
echo "package test: $(basename "$deb") unpacked, a fresh user's database made, $pages pages printed, menu entry valid"
