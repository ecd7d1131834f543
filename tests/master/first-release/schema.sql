-- The four tables of the label database (Data.mde).
-- Product names compare without regard to the case of Latin letters.
CREATE TABLE 製品情報 (
  ID INTEGER PRIMARY KEY,
  製品名 TEXT COLLATE NOCASE,
  注意事項 TEXT,
  含有成分 TEXT,
  ItemType INTEGER,
  ItemCount INTEGER
);
CREATE INDEX 製品情報_製品名 ON 製品情報 (製品名);

CREATE TABLE ProductItemEntry (
  ProductID INTEGER,
  BlockNo INTEGER,
  ItemID1 INTEGER, ItemID2 INTEGER, ItemID3 INTEGER, ItemID4 INTEGER,
  ItemID5 INTEGER, ItemID6 INTEGER, ItemID7 INTEGER, ItemID8 INTEGER,
  ItemID9 INTEGER, ItemID10 INTEGER, ItemID11 INTEGER, ItemID12 INTEGER
);
CREATE INDEX ProductItemEntry_ProductID ON ProductItemEntry (ProductID, BlockNo);

CREATE TABLE 表示物質 (
  ID INTEGER PRIMARY KEY,
  物質名 TEXT,
  "注意喚起語：" TEXT,
  "危険有害性情報：" TEXT,
  注意書き TEXT,
  絵表示1 TEXT,
  絵表示2 TEXT,
  絵表示3 TEXT,
  絵表示4 TEXT,
  絵表示5 TEXT,
  CAS TEXT
);

CREATE TABLE 会社情報 (
  id INTEGER,
  会社 TEXT,
  住所 TEXT,
  TEL TEXT
);
