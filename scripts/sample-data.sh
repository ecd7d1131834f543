#!/usr/bin/env bash
# Makes a Data folder with two sample products (9001: three substances, 9002: one) and a
# supplier, from a build's Data folder and the report files as shipped:
# scripts/sample-data.sh BUILD_DIR TARGET_DIR (TARGET_DIR/Data is made)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
target=$2
cp -r "$build/bin/Data" "$target/Data"
rm -rf "$target/Data/backup"
cp labels/reports/*.PRP "$target/Data/"
crlf="char(13)||char(10)"
sqlite3 "$target/Data/Data.mde" "
DELETE FROM 会社情報;
INSERT INTO 会社情報 (id, 会社, 住所, TEL) VALUES (1, 'コルベイン化学株式会社',
  '東京都千代田区神田一丁目2番3号 コルベインビル4階', 'TEL 03-1234-5678 FAX 03-1234-5679');
INSERT INTO 製品情報 (ID, 製品名, 注意事項, 含有成分, ItemType) VALUES
  (9001, 'ラッカーシンナー LT-200', '火気厳禁。'||$crlf||'直射日光を避け、換気の良い冷暗所に保管すること。'||$crlf||'子供の手の届かない所に置くこと。',
   'トルエン 40%'||$crlf||'メタノール 20%'||$crlf||'酢酸エチル 30%', 0),
  (9002, 'ヘキサン（試薬）', '火気厳禁。', 'ヘキサン 99%', 1);
INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1, ItemID2, ItemID3, ItemID4) VALUES (9001, 1, 9, 12, 17, 2);
INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1) VALUES (9002, 1, 2);"
