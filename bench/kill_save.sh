#!/usr/bin/env bash
# Kills a process with SIGKILL at random moments while it saves products of 3,000 substances
# in a loop, and checks the database after each kill: PRAGMA integrity_check is ok and each
# product holds exactly the content of one whole save. Usage: bench/kill_save.sh [BUILD_DIR] [KILLS]
set -euo pipefail
build=${1:-build}
kills=${2:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
loop="$build/bench/save_loop"
"$loop" "$work/Data" prepare
passed=0
for ((i = 1; i <= kills; i++)); do
  "$loop" "$work/Data" run &
  pid=$!
  sleep "0.$((RANDOM % 900 + 50))"
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
  if "$loop" "$work/Data" check; then passed=$((passed + 1)); else echo "kill $i: damaged"; fi
done
echo "kill test: $passed passed, $((kills - passed)) failed"
[ "$passed" -eq "$kills" ]
