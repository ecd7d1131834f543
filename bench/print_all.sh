#!/usr/bin/env bash
# Prints the list of all target substances of a 2,900-substance master (about 242 pages of
# twelve labels) into a PDF with corvane-print, and reports wall time, CPU time, peak memory
# and the PDF's size. Usage: bench/print_all.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/make_big_data" "$work/Data" 2900
for run in 1 2 3; do
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" \
    "$build/bin/corvane-print" --product -1 --kind 4 --output "$work/all.pdf" --data "$work/Data"
  read -r wall user sys peak < "$work/time"
  pages=$(pdfinfo "$work/all.pdf" | awk '/^Pages:/ {print $2}')
  size=$(stat -c %s "$work/all.pdf")
  echo "run $run: pages=$pages wall=${wall}s cpu=$(echo "$user + $sys" | bc)s peak=$((peak / 1024))MB pdf=$((size / 1024))KB"
done
