#!/usr/bin/env bash
# Renders one page of each label sheet kind from a sample product into small PNG pictures
# for the README: scripts/sheet-pictures.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs/sheets}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
bash scripts/sample-data.sh "$build" "$work"
print() { # product kind single name
  QT_QPA_PLATFORM=offscreen "$build/bin/corvane-print" --product "$1" --kind "$2" --single "$3" \
    --output "$work/$4.pdf" --data "$work/Data" 2> /dev/null || [ $? -eq 3 ]
  pdftoppm -r 30 -png -singlefile -f 1 -l 1 "$work/$4.pdf" "$out/$4"
}
print 9001 1 0 normal
print 9002 2 1 model
print 9001 3 0 additional-12
print -1 4 0 all-substances
print 9001 5 0 additional-21
ls -l "$out"
