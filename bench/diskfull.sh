#!/usr/bin/env bash
# Every write on a Data.mde whose disk is full is reported and leaves the file byte for byte as
# it was. The disk is a small tmpfs filled to the last byte (needs root to mount).
# Usage: bench/diskfull.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
disk=$(mktemp -d)
mount -t tmpfs -o size=2m tmpfs "$disk"
trap 'umount "$disk"; rmdir "$disk"' EXIT
cp -r "$build/bin/Data" "$disk/Data"
sqlite3 "$disk/Data/Data.mde" "INSERT INTO 製品情報 (ID, 製品名) VALUES (1, '製品');"
dd if=/dev/zero of="$disk/fill" bs=4k 2>/dev/null || true
before=$(sha256sum < "$disk/Data/Data.mde")
echo "== disk full ($(df --output=avail -B1 "$disk" | tail -1) bytes free)"
if "$build/bench/write_attempts" "$disk/Data" && [ "$before" = "$(sha256sum < "$disk/Data/Data.mde")" ]; then
  echo "disk full: every write reported, file unchanged"
else
  echo "disk full: FAILED"; exit 1
fi
