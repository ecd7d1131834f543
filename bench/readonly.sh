#!/usr/bin/env bash
# Every write on a read-only Data.mde, and on a Data.mde in a read-only folder, is reported
# with the message that names the cause and leaves the file byte for byte as it was. Runs the writes as the unprivileged user
# "nobody", since root ignores file permissions. Usage: bench/readonly.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
failures=0
for case in file folder; do
  rm -rf "$work/Data"
  cp -r "$build/bin/Data" "$work/Data"
  sqlite3 "$work/Data/Data.mde" "INSERT INTO 製品情報 (ID, 製品名) VALUES (1, '製品');"
  chown -R nobody "$work/Data"
  chmod 755 "$work/Data"
  # A read-only file refuses the write itself; a read-only folder refuses the journal.
  if [ "$case" = file ]; then
    chmod 444 "$work/Data/Data.mde"; expected="読み取り専用"
  else
    chmod 555 "$work/Data"; expected="フォルダに書き込めません"
  fi
  before=$(sha256sum < "$work/Data/Data.mde")
  echo "== read-only $case"
  if setpriv --reuid=nobody --regid=nogroup --clear-groups "$build/bench/write_attempts" "$work/Data" "$expected" \
     && [ "$before" = "$(sha256sum < "$work/Data/Data.mde")" ]; then
    echo "read-only $case: every write reported, file unchanged"
  else
    echo "read-only $case: FAILED"; failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
