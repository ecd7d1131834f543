#!/usr/bin/env bash
# The shared database against the file on the same data: the editor's timings (bench_editor)
# and printing the list of all target substances of a 2,900-substance master (242 pages), once
# on Data.mde and once on a private PostgreSQL server over its Unix socket.
# Usage: bench/shared_db.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(dirname "$0")
server=/tmp/corvane-pg-bench-$$
work=$(mktemp -d)
trap '"$here/../scripts/test-postgres.sh" stop "$server"; rm -rf "$work"' EXIT
"$here/../scripts/test-postgres.sh" start "$server" >/dev/null
psql_() { psql -qAt -h "$server" -U corvane -d postgres -c "$1"; }
uri() { echo "postgresql://corvane@${server//\//%2F}:5432/$1"; }

psql_ "CREATE DATABASE editor_bench"
echo "== editor, Data.mde"
QT_QPA_PLATFORM=offscreen "$build/bench/bench_editor" | grep -E "^(open editor, 3000|switch)"
echo "== editor, PostgreSQL"
QT_QPA_PLATFORM=offscreen "$build/bench/bench_editor" --database "$(uri editor_bench)" | grep -E "^(open editor, 3000|switch)"

"$build/bench/make_big_data" "$work/Data" 2900 >/dev/null
psql_ "CREATE DATABASE print_bench"
"$build/bin/corvane-db" copy --from "$work/Data" --to "$(uri print_bench)" 2>/dev/null
for where in file server; do
  extra=()
  [ "$where" = server ] && extra=(--database "$(uri print_bench)")
  for run in 1 2 3; do
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" \
      "$build/bin/corvane-print" --product -1 --kind 4 --output "$work/all.pdf" --data "$work/Data" "${extra[@]}"
    read -r wall user sys peak < "$work/time"
    pages=$(pdfinfo "$work/all.pdf" | awk '/^Pages:/ {print $2}')
    echo "print all, $where, run $run: pages=$pages wall=${wall}s cpu=$(echo "$user + $sys" | bc)s peak=$((peak / 1024))MB"
  done
done
