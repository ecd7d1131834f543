-- The tables of the label database (Data.mde).
-- Product names compare without regard to the case of Latin letters.
CREATE TABLE 製品情報 (
  ID INTEGER PRIMARY KEY,
  製品名 TEXT COLLATE NOCASE,
  注意事項 TEXT,
  含有成分 TEXT,
  ItemType INTEGER,
  ItemCount INTEGER,
  -- Counts the saves, so a save of a product that another program changed meanwhile is refused.
  Revision INTEGER
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
  CAS TEXT,
  -- Beyond the first release's columns: the master's source fields as written in substances.tsv,
  -- so that a row can be shown, reviewed, exported and rewritten by a master update.
  別名 TEXT,      -- other common names, separated by "|", never printed
  Hコード TEXT,   -- e.g. "H225,H319"
  Pコード TEXT,   -- e.g. "P210,P370+P378"
  区分 TEXT,      -- categories deciding the signal word, e.g. "H272=3"
  差込 TEXT,      -- fill-ins of the statements' blanks, e.g. "P378=粉末消火剤|H372=腎臓"
  出典 TEXT,      -- NITE, MHLW, EU or 未確認
  出典ID TEXT,    -- NITE ID, MHLW page, EU index number
  出典年 INTEGER, -- year of the classification
  出典備考 TEXT,  -- what else the row's author read
  -- From the government's lists: the list's date, and MHLW's list of substances to be labelled.
  出典版 TEXT,       -- the date of the classification list the row was made from
  法令名称 TEXT,     -- the name on the list of substances to be labelled
  義務開始 TEXT,     -- the date the duty to label began, e.g. "2026-04-01", "2025-03-31以前"
  ラベル裾切値 TEXT, -- label cut-off (重量％), as the list writes it
  SDS裾切値 TEXT,    -- SDS cut-off (重量％)
  法令備考 TEXT,     -- earlier cut-offs and the list's notes
  -- 1 for the user's own row (imported with corvane-master): a program update leaves it alone.
  UserOwned INTEGER NOT NULL DEFAULT 0,
  -- The row's number in the program's master; Null for a substance the user added. Equal to
  -- ID unless the user's own substances took a number the program's master reached later.
  MasterNo INTEGER
);

-- Each substance's classification as the government's list gives it, one row a class and
-- category: labels, the master report and mixture classification compute from it. Rows of a
-- substance the user imported hold none (its label is what the user wrote).
CREATE TABLE 物質分類 (
  物質ID INTEGER NOT NULL, -- 表示物質.ID
  順 INTEGER NOT NULL,     -- the order of the list's columns
  分類 TEXT NOT NULL,      -- the hazard class's key, e.g. "StotSingle"
  区分 TEXT NOT NULL,      -- e.g. "1", "2B", "タイプB", "液化ガス", "追加区分"
  臓器 TEXT,               -- organs or effects, separated by "、"
  原文 TEXT                -- the list's cell as written
);
CREATE INDEX 物質分類_物質ID ON 物質分類 (物質ID, 順);

-- A product's ingredient contents in weight percent, one row per product and substance
-- (ItemID: the substance number as in ProductItemEntry). A range 10-20 is stored as
-- 含有率 20 (the upper bound, which classifies) and 含有率下限 10; one value has no lower bound.
CREATE TABLE 製品含有率 (
  ProductID INTEGER NOT NULL,
  ItemID INTEGER NOT NULL,
  含有率 REAL NOT NULL,
  含有率下限 REAL
);
CREATE UNIQUE INDEX 製品含有率_製品 ON 製品含有率 (ProductID, ItemID);

-- What the mixture rules need of a product that its ingredients cannot give; every field may
-- be Null (unknown). 引火点 and 初留点 in °C, 動粘性率 in mm²/s at 40 °C; 残りは無害 1 when the
-- part of the product no ticked substance covers is known to have no hazard.
CREATE TABLE 製品物性 (
  ProductID INTEGER PRIMARY KEY,
  引火点 REAL,
  初留点 REAL,
  動粘性率 REAL,
  残りは無害 INTEGER
);

CREATE TABLE 会社情報 (
  id INTEGER,
  会社 TEXT,
  住所 TEXT,
  TEL TEXT,
  Revision INTEGER -- as 製品情報.Revision
);

-- The version of the substance master this file holds, one row. A file without this table
-- was made by the first release and holds the oldest master.
CREATE TABLE MasterVersion (
  Version TEXT NOT NULL
);
