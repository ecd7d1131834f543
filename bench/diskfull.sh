#!/usr/bin/env bash
# A full disk never leaves Data.mde half-written. The disk is a small tmpfs (needs root to
# mount). First it is filled to the last byte before any write: every kind of write must be
# reported as a full disk and leave the file byte for byte as it was. Then a save of two
# products of 3,000 substances runs with 4 KB, 8 KB, ... left free, so that the disk fills up
# at a different point inside the transaction each time, until a save fits: each save either
# fails with the full-disk message and leaves the file unchanged, or holds its whole content.
# Usage: bench/diskfull.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
disk=$(mktemp -d)
mount -t tmpfs -o size=64m tmpfs "$disk"
trap 'umount "$disk"; rmdir "$disk"' EXIT
failures=0

cp -r "$build/bin/Data" "$disk/Data"
sqlite3 "$disk/Data/Data.mde" "INSERT INTO 製品情報 (ID, 製品名) VALUES (1, '製品');"
dd if=/dev/zero of="$disk/fill" bs=4k 2>/dev/null || true
before=$(sha256sum < "$disk/Data/Data.mde")
echo "== disk full before the first write ($(df --output=avail -B1 "$disk" | tail -1) bytes free)"
if "$build/bench/write_attempts" "$disk/Data" "ディスクがいっぱい" && [ "$before" = "$(sha256sum < "$disk/Data/Data.mde")" ]; then
  echo "disk full: every write reported, file unchanged"
else
  echo "disk full: FAILED"; failures=$((failures + 1))
fi
rm -rf "$disk/Data" "$disk/fill"

echo "== disk full inside the transaction"
loop="$build/bench/save_loop"
"$loop" "$disk/Big" prepare
dd if=/dev/zero of="$disk/fill" bs=4k 2>/dev/null || true
full=$(stat -c %s "$disk/fill")
failed=0
for ((free = 4096, version = 1; version <= 200; free += 4096, version++)); do
  truncate -s $((full - free)) "$disk/fill"
  before=$(sha256sum < "$disk/Big/Data.mde")
  if "$loop" "$disk/Big" once "$version" 2> "$disk/error"; then
    if [ "$("$loop" "$disk/Big" check | awk '{print $2}' | sort -u)" = "$version" ]; then
      echo "$((free / 1024)) KB free: saved whole after $failed failed saves"
      break
    fi
    echo "$((free / 1024)) KB free: saved but NOT WHOLE"; failures=$((failures + 1)); break
  fi
  if grep -q "ディスクがいっぱい" "$disk/error" && [ "$before" = "$(sha256sum < "$disk/Big/Data.mde")" ] \
     && "$loop" "$disk/Big" check > /dev/null; then
    failed=$((failed + 1))
  else
    echo "$((free / 1024)) KB free: FAILED: $(tr '\n' ' ' < "$disk/error")"; failures=$((failures + 1))
  fi
done
echo "disk full inside the transaction: $failed saves failed with the message and the file unchanged, $failures faults"
[ "$failures" -eq 0 ] && [ "$failed" -gt 0 ]
