#!/usr/bin/env bash
# Kills a process with SIGKILL at random moments while it saves products of 3,000 substances
# in a loop, and checks the database after each kill: PRAGMA integrity_check is ok, each
# product holds exactly the content of one whole save, and that save is the last one the
# process reported as done (or the one it was finishing). Usage: bench/kill_save.sh [BUILD_DIR] [KILLS]
set -euo pipefail
build=${1:-build}
kills=${2:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
loop="$build/bench/save_loop"
"$loop" "$work/Data" prepare
declare -A stored=([1]=0 [2]=0)
passed=0
saves=0
for ((i = 1; i <= kills; i++)); do
  "$loop" "$work/Data" run > "$work/saved" &
  pid=$!
  sleep "0.$((RANDOM % 900 + 50))"
  kill -9 "$pid"
  status=0
  wait "$pid" 2>/dev/null || status=$?
  ok=1
  if [ "$status" -ne 137 ]; then echo "kill $i: the saving process had already stopped (status $status)"; ok=0; fi
  if ! "$loop" "$work/Data" check > "$work/held"; then echo "kill $i: damaged: $(cat "$work/held")"; ok=0; fi
  saves=$((saves + $(wc -l < "$work/saved")))
  for id in 1 2; do
    last=$(awk -v id="$id" '$1 == id { v = $2 } END { print v + 0 }' "$work/saved")
    held=$(awk -v id="$id" '$1 == id { print $2 }' "$work/held")
    # Held must be the last reported save, or the next one if it committed before its report;
    # with no save reported, the earlier content or the first save of this run.
    if [ "$last" -gt 0 ]; then allowed="$last $((last + 1))"; else allowed="${stored[$id]} 1"; fi
    if [[ " $allowed " != *" ${held:-none} "* ]]; then
      echo "kill $i: product $id holds version ${held:-none}, expected one of: $allowed"; ok=0
    fi
    stored[$id]=${held:-0}
  done
  passed=$((passed + ok))
done
echo "kill test: $passed passed, $((kills - passed)) failed; $saves saves completed between the kills"
[ "$passed" -eq "$kills" ] && [ "$saves" -gt 0 ]
