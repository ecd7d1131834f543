#!/usr/bin/env bash
# Regenerates the substance master from the government's workbooks and fails when the
# committed master differs from what they give. The workbooks are looked for in
# $CORVANE_GHS_SOURCES, else ../shared/ghs-sources beside the repository; without them the
# check is skipped (exit 77, which ctest reports as skipped) and says so.
#   scripts/check-government-master.sh CORVANE_MASTER [SOURCE_ROOT]
set -euo pipefail
tool=$1
root=${2:-$(cd "$(dirname "$0")/.." && pwd)}
sources=${CORVANE_GHS_SOURCES:-$root/../shared/ghs-sources}
if [ ! -f "$sources/list_nite_all.xlsx" ]; then
  echo "skipped: the government's lists are not at $sources (set CORVANE_GHS_SOURCES)"
  exit 77
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$tool" build-from-government "$sources/list_nite_all.xlsx" "$sources/001168179.xlsx" "$sources/001474394.xlsx" \
  --output "$out" --master "$root/data/master"
status=0
for file in substances.tsv classifications.tsv; do
  if ! diff -u "$root/data/master/$file" "$out/$file" > "$out/$file.diff"; then
    echo "data/master/$file differs from the master the government's lists give ($(grep -c '^[-+][^-+]' "$out/$file.diff") lines):"
    head -n 40 "$out/$file.diff"
    status=1
  fi
done
[ $status -eq 0 ] && echo "data/master matches the government's lists in $sources"
exit $status
