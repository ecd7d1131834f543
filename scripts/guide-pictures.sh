#!/usr/bin/env bash
# Grabs the pictures of the Japanese user guide (docs/ja/使い方.md) from the program of a build,
# on a 1366 x 768 offscreen screen, with demo data made in a temporary Data folder (never the
# user's): scripts/guide-pictures.sh [BUILD_DIR] [OUT_DIR]   (OUT_DIR default: docs/ja/images)
# Fails when a form could not be grabbed, and when the guide shows a picture this run did not
# make or that is not committed. ctest runs it into the build folder (test guide_pictures);
# pictures differ from the committed ones only where fonts differ, so they are not compared.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs/ja/images}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/screen.json" <<'JSON'
{ "screens": [ { "name": "screen", "x": 0, "y": 0, "width": 1366, "height": 768,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] }
JSON
mkdir -p "$out"
QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" \
  "$build/tests/guide/corvane_guide_pictures" "$PWD" "$work/Data" "$work/pictures"
cp "$work/pictures/"*.png "$out/"
status=0
for picture in $(grep -o 'images/[A-Za-z0-9-]*\.png' docs/ja/*.md | sed 's/.*images\///' | sort -u); do
  [ -s "$work/pictures/$picture" ] || { echo "guide-pictures: $picture is shown in the guide but was not grabbed" >&2; status=1; }
  [ -s "docs/ja/images/$picture" ] || { echo "guide-pictures: docs/ja/images/$picture is not in the repository" >&2; status=1; }
done
exit $status
