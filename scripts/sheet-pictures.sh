#!/usr/bin/env bash
# Renders one page of each label sheet kind from a sample product into small PNG pictures
# for the README: scripts/sheet-pictures.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs/sheets}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cp -r "$build/bin/Data" "$work/Data"
rm -rf "$work/Data/backup"
cp labels/reports/*.PRP "$work/Data/" # the sheets as shipped
crlf="char(13)||char(10)"
sqlite3 "$work/Data/Data.mde" "
DELETE FROM 会社情報;
INSERT INTO 会社情報 (id, 会社, 住所, TEL) VALUES (1, 'コルベイン化学株式会社',
  '東京都千代田区神田一丁目2番3号 コルベインビル4階', 'TEL 03-1234-5678 FAX 03-1234-5679');
INSERT INTO 製品情報 (ID, 製品名, 注意事項, 含有成分, ItemType) VALUES
  (9001, 'ラッカーシンナー LT-200', '火気厳禁。'||$crlf||'直射日光を避け、換気の良い冷暗所に保管すること。'||$crlf||'子供の手の届かない所に置くこと。',
   'トルエン 40%'||$crlf||'メタノール 20%'||$crlf||'酢酸エチル 30%', 0),
  (9002, 'ヘキサン（試薬）', '火気厳禁。', 'ヘキサン 99%', 1);
INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1, ItemID2, ItemID3, ItemID4) VALUES (9001, 1, 9, 12, 17, 2);
INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1) VALUES (9002, 1, 2);"
print() { # product kind single name
  QT_QPA_PLATFORM=offscreen "$build/bin/corvane-print" --product "$1" --kind "$2" --single "$3" \
    --output "$work/$4.pdf" --data "$work/Data" 2> /dev/null || [ $? -eq 3 ]
  pdftoppm -r 30 -png -singlefile -f 1 -l 1 "$work/$4.pdf" "$out/$4"
}
print 9001 1 0 normal
print 9002 2 1 model
print 9001 3 0 additional-12
print -1 4 0 all-substances
print 9001 5 0 additional-21
ls -l "$out"
