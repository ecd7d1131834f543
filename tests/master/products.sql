-- Test data, not from any master: products, their entries, notes and a company as a user of
-- the first release kept them. One statement a line.
INSERT INTO 製品情報 VALUES(1,'試験用シンナー A','火気厳禁。' || char(13,10) || '換気の良い場所で使用すること。','トルエン 60%、キシレン 40%',0,3);
INSERT INTO 製品情報 VALUES(2,'試験用 "引用符" 製品',NULL,NULL,1,1);
INSERT INTO 製品情報 VALUES(3,'空の製品',NULL,NULL,NULL,0);
INSERT INTO 製品情報 VALUES(4,'十三物質の製品','備考',NULL,0,13);
INSERT INTO ProductItemEntry VALUES(1,1,5,17,236,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO ProductItemEntry VALUES(2,1,3,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO ProductItemEntry VALUES(4,1,1,2,3,4,5,6,7,8,9,10,11,12);
INSERT INTO ProductItemEntry VALUES(4,2,200,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO 会社情報 VALUES(1,'試験化学株式会社','東京都千代田区試験町1-2-3','TEL 03-0000-0000, FAX 03-0000-0001');
