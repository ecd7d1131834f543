#!/usr/bin/env bash
# Prints the list of all target substances of a 3,420-substance master (285 pages of
# twelve labels) into a PDF with corvane-print, and reports wall time, CPU time, peak memory
# and the PDF's size, three runs.
#
# With --long, the master's 30 substances with the longest hazard statements are repeated
# instead of the whole master, and a second line per run prints the normal six-label sheets of
# a product with 300 of them whose notes are the master's longest precautionary text and
# whose ingredients run to twelve lines (50 pages).
#
# Usage: bench/print_all.sh [BUILD_DIR] [--long]
set -euo pipefail
build=build
long=
for arg in "$@"; do
  case $arg in
    --long) long=--long ;;
    *) build=$arg ;;
  esac
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/make_big_data" "$work/Data" 3420 $long
measure() { # label, then corvane-print's arguments
  local label=$1
  shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" \
    "$build/bin/corvane-print" "$@" --output "$work/out.pdf" --data "$work/Data" 2> "$work/stderr" \
    || [ $? -eq 3 ] # printed, some text cut: listed on standard error
  read -r wall user sys peak < <(tail -n 1 "$work/time")
  pages=$(pdfinfo "$work/out.pdf" | awk '/^Pages:/ {print $2}')
  size=$(stat -c %s "$work/out.pdf")
  echo "run $run $label: pages=$pages wall=${wall}s cpu=$(echo "$user + $sys" | bc)s peak=$((peak / 1024))MB pdf=$((size / 1024))KB"
}
for run in 1 2 3; do
  measure list --product -1 --kind 4
  if [ -n "$long" ]; then
    measure normal --product 1 --kind 1 --single 0
  fi
done
