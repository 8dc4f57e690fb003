-- Pelmora database, step 1: every table, view and index of a new database.
--
-- Money columns (prices, amounts) hold a Currency value: INTEGER ten-thousandths of a yuan.
-- Dates are ISO text: yyyy-MM-dd for days, yyyy-MM-dd HH:mm:ss for moments. Text columns compare
-- without regard to letter case. Booleans are INTEGER 0/1.

-- Master data -------------------------------------------------------------------------------

CREATE TABLE tMedicine (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  MedicineCode TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  MedicineName TEXT COLLATE NOCASE, UsualName TEXT COLLATE NOCASE, EnglishName TEXT COLLATE NOCASE,
  JiXing TEXT COLLATE NOCASE, AgreeNo TEXT COLLATE NOCASE, MedicineUnit TEXT COLLATE NOCASE,
  Brand TEXT COLLATE NOCASE, Manufacturer TEXT COLLATE NOCASE, GSP TEXT COLLATE NOCASE,
  FirstUnits TEXT COLLATE NOCASE, SecondUnits TEXT COLLATE NOCASE, Rate REAL,
  StockPrice INTEGER, WholesalePrice INTEGER, SalePrice INTEGER,
  DepotUP REAL, DepotDown REAL, BatchNo TEXT COLLATE NOCASE, Expiry REAL DEFAULT 0,
  Remark1 TEXT COLLATE NOCASE, Remark2 TEXT COLLATE NOCASE, MedicineType TEXT COLLATE NOCASE,
  ChemicalName TEXT COLLATE NOCASE, TypeCode TEXT COLLATE NOCASE, Percentage REAL,
  ShortName TEXT COLLATE NOCASE, Barcode TEXT COLLATE NOCASE
) STRICT;
CREATE UNIQUE INDEX ixMedicineCode ON tMedicine(MedicineCode);
CREATE INDEX ixMedicineType ON tMedicine(TypeCode);

CREATE TABLE tSupply (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  SupplyCode TEXT COLLATE NOCASE, SupplyName TEXT COLLATE NOCASE, SupplyType TEXT COLLATE NOCASE,
  SupplyZone TEXT COLLATE NOCASE, Company TEXT COLLATE NOCASE, TaxNo TEXT COLLATE NOCASE,
  LegalPerson TEXT COLLATE NOCASE, BankName TEXT COLLATE NOCASE, Account TEXT COLLATE NOCASE,
  GSP TEXT COLLATE NOCASE, Address TEXT COLLATE NOCASE, Zip TEXT COLLATE NOCASE, Tel TEXT COLLATE NOCASE,
  Fax TEXT COLLATE NOCASE, EMail TEXT COLLATE NOCASE, Remark1 TEXT COLLATE NOCASE,
  Remark2 TEXT COLLATE NOCASE, TypeCode TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixSupplyName ON tSupply(SupplyName);

CREATE TABLE tCustom (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  CustCode TEXT COLLATE NOCASE, CustName TEXT COLLATE NOCASE, CustType TEXT COLLATE NOCASE,
  CustZone TEXT COLLATE NOCASE, Company TEXT COLLATE NOCASE, TaxNo TEXT COLLATE NOCASE,
  LegalPerson TEXT COLLATE NOCASE, BankName TEXT COLLATE NOCASE, Account TEXT COLLATE NOCASE,
  GSP TEXT COLLATE NOCASE, Address TEXT COLLATE NOCASE, Zip TEXT COLLATE NOCASE, Tel TEXT COLLATE NOCASE,
  Fax TEXT COLLATE NOCASE, EMail TEXT COLLATE NOCASE, Remark1 TEXT COLLATE NOCASE,
  Remark2 TEXT COLLATE NOCASE, TypeCode TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixCustName ON tCustom(CustName);

CREATE TABLE tEmployee (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  EmployeeCode TEXT COLLATE NOCASE, EmployeeName TEXT COLLATE NOCASE, EmployeeType TEXT COLLATE NOCASE,
  Depart TEXT COLLATE NOCASE, Tel TEXT COLLATE NOCASE, Mobile TEXT COLLATE NOCASE,
  Address TEXT COLLATE NOCASE, Remark1 TEXT COLLATE NOCASE, Remark2 TEXT COLLATE NOCASE,
  EMail TEXT COLLATE NOCASE, TypeCode TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixEmployeeCode ON tEmployee(EmployeeCode);

CREATE TABLE tMember (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  MemberCode TEXT COLLATE NOCASE, MemberName TEXT COLLATE NOCASE, ShortName TEXT COLLATE NOCASE,
  Birthday TEXT COLLATE NOCASE, Sex TEXT COLLATE NOCASE, Address TEXT COLLATE NOCASE,
  idCard TEXT COLLATE NOCASE, Tel TEXT COLLATE NOCASE, MemberType TEXT COLLATE NOCASE, Point REAL,
  Memo TEXT COLLATE NOCASE, CreateDate TEXT, EditDate TEXT
) STRICT;
CREATE INDEX ixMemberCode ON tMember(MemberCode);

CREATE TABLE tCompany (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  Company TEXT COLLATE NOCASE, Contact TEXT COLLATE NOCASE, Address TEXT COLLATE NOCASE,
  Zip TEXT COLLATE NOCASE, Tel TEXT COLLATE NOCASE, Fax TEXT COLLATE NOCASE, Email TEXT COLLATE NOCASE
) STRICT;

CREATE TABLE tAccount (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT COLLATE NOCASE, inimon INTEGER
) STRICT;

-- Stock documents ---------------------------------------------------------------------------

CREATE TABLE tStock (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  rkdate TEXT, supply TEXT COLLATE NOCASE, pjdate TEXT, fapiao TEXT COLLATE NOCASE,
  piaoju TEXT COLLATE NOCASE, medicinecode TEXT COLLATE NOCASE, medicinename TEXT COLLATE NOCASE,
  usualname TEXT COLLATE NOCASE, medicineunit TEXT COLLATE NOCASE, manufacturer TEXT COLLATE NOCASE,
  units TEXT COLLATE NOCASE, number REAL, position TEXT COLLATE NOCASE, BatchNo TEXT COLLATE NOCASE,
  madedate TEXT COLLATE NOCASE, medicinetype TEXT COLLATE NOCASE, vipprice INTEGER, stockprice INTEGER,
  saleprice INTEGER, stockmoney INTEGER, EffectDate TEXT COLLATE NOCASE, Inspector TEXT COLLATE NOCASE,
  Buyer TEXT COLLATE NOCASE, memo TEXT COLLATE NOCASE, billcode TEXT COLLATE NOCASE,
  Percentage REAL, clunit TEXT COLLATE NOCASE, clnumber REAL, clunits TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixStockBill ON tStock(billcode);
CREATE INDEX ixStockBatch ON tStock(medicinecode, BatchNo, id);
CREATE INDEX ixStockDate ON tStock(rkdate);

CREATE TABLE tSale (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  billcode TEXT COLLATE NOCASE, adddate TEXT, maker TEXT COLLATE NOCASE,
  medicinecode TEXT COLLATE NOCASE, medicinename TEXT COLLATE NOCASE, medicineunit TEXT COLLATE NOCASE,
  units TEXT COLLATE NOCASE, manufacturer TEXT COLLATE NOCASE, batchno TEXT COLLATE NOCASE,
  price INTEGER, number REAL, money INTEGER, flag INTEGER NOT NULL DEFAULT 0 CHECK (flag IN (0, 1)),
  Stockbill TEXT COLLATE NOCASE, membercode TEXT COLLATE NOCASE, membername TEXT COLLATE NOCASE,
  stockprice INTEGER
) STRICT;
CREATE INDEX ixSaleBill ON tSale(billcode);
CREATE INDEX ixSaleDate ON tSale(adddate);
-- Covering indexes for the stock views: whole packs per stock-in line, split units per batch.
CREATE INDEX ixSaleStockLine ON tSale(Stockbill, medicinecode, batchno, flag, number);
CREATE INDEX ixSaleSplit ON tSale(medicinecode, batchno, flag, number);
CREATE INDEX ixSaleMember ON tSale(membercode);

CREATE TABLE tCash (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  cashcode TEXT COLLATE NOCASE, billcode TEXT COLLATE NOCASE, totalmoney INTEGER, money INTEGER,
  discount INTEGER DEFAULT 100, moling INTEGER, cashtype TEXT COLLATE NOCASE, adddate TEXT,
  maker TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixCashCode ON tCash(cashcode);
CREATE INDEX ixCashDate ON tCash(adddate);

CREATE TABLE tOut (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  billcode TEXT COLLATE NOCASE, adddate TEXT, maker TEXT COLLATE NOCASE,
  medicinecode TEXT COLLATE NOCASE, medicinename TEXT COLLATE NOCASE, medicineunit TEXT COLLATE NOCASE,
  units TEXT COLLATE NOCASE, manufacturer TEXT COLLATE NOCASE, batchno TEXT COLLATE NOCASE,
  price INTEGER, number REAL, money INTEGER, custname TEXT COLLATE NOCASE, billtype TEXT COLLATE NOCASE,
  StockBill TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixOutBill ON tOut(billcode);
CREATE INDEX ixOutStockLine ON tOut(StockBill, medicinecode, batchno, number);

CREATE TABLE tChailing (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  medicinecode TEXT COLLATE NOCASE, medicinename TEXT COLLATE NOCASE, medicineunit TEXT COLLATE NOCASE,
  manufacturer TEXT COLLATE NOCASE, position TEXT COLLATE NOCASE, effectdate TEXT COLLATE NOCASE,
  batchno TEXT COLLATE NOCASE, stockprice INTEGER, saleprice INTEGER, vipprice INTEGER,
  clunit TEXT COLLATE NOCASE, clnumber REAL, clunits TEXT COLLATE NOCASE, number REAL
) STRICT;
-- One split-stock row per medicine and batch.
CREATE UNIQUE INDEX ixChailingBatch ON tChailing(medicinecode, batchno);

CREATE TABLE tChangePrice (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  medicinecode TEXT COLLATE NOCASE, medicinename TEXT COLLATE NOCASE, medicineunit TEXT COLLATE NOCASE,
  medicinetype TEXT COLLATE NOCASE, units TEXT COLLATE NOCASE, manufacturer TEXT COLLATE NOCASE,
  batchno TEXT COLLATE NOCASE, effectdate TEXT COLLATE NOCASE, position TEXT COLLATE NOCASE,
  madedate TEXT COLLATE NOCASE, reason TEXT COLLATE NOCASE, oldsaleprice INTEGER, oldvipprice INTEGER,
  newsaleprice INTEGER, newvipprice INTEGER, maker TEXT COLLATE NOCASE, adddate TEXT
) STRICT;
CREATE INDEX ixChangePriceDate ON tChangePrice(adddate);

CREATE TABLE tNursing (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  medicinecode TEXT COLLATE NOCASE, medicinename TEXT COLLATE NOCASE, medicineunit TEXT COLLATE NOCASE,
  units TEXT COLLATE NOCASE, manufacturer TEXT COLLATE NOCASE, batchno TEXT COLLATE NOCASE,
  effectdate TEXT COLLATE NOCASE, position TEXT COLLATE NOCASE, number REAL, rkdate TEXT,
  madedate TEXT COLLATE NOCASE, maker TEXT COLLATE NOCASE, adddate TEXT
) STRICT;
CREATE INDEX ixNursingDate ON tNursing(adddate);

-- Settlement --------------------------------------------------------------------------------

CREATE TABLE tFK (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  adddate TEXT, billcode TEXT COLLATE NOCASE, money INTEGER, maker TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixFKBill ON tFK(billcode, money);
CREATE INDEX ixFKDate ON tFK(adddate);

CREATE TABLE tSK (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  adddate TEXT, billcode TEXT COLLATE NOCASE, money INTEGER, maker TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixSKBill ON tSK(billcode, money);
CREATE INDEX ixSKDate ON tSK(adddate);

-- Lists, categories and metadata ------------------------------------------------------------

CREATE TABLE tType (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  tablename TEXT COLLATE NOCASE NOT NULL, code TEXT COLLATE NOCASE NOT NULL, name TEXT COLLATE NOCASE
) STRICT;
CREATE UNIQUE INDEX ixTypeCode ON tType(tablename, code);

CREATE TABLE tOther (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  tablename TEXT COLLATE NOCASE, name TEXT COLLATE NOCASE, note TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixOtherList ON tOther(tablename);

CREATE TABLE tUnits (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT COLLATE NOCASE
) STRICT;

CREATE TABLE tFieldShow (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  TableName TEXT COLLATE NOCASE NOT NULL, Field TEXT COLLATE NOCASE NOT NULL, Name TEXT COLLATE NOCASE,
  Width INTEGER DEFAULT 80, ShowID INTEGER DEFAULT 0, show INTEGER DEFAULT 1, showmoney INTEGER DEFAULT 0,
  SumField INTEGER DEFAULT 0, ShowButton INTEGER DEFAULT 0, DotSize INTEGER DEFAULT 0,
  ReadOnly INTEGER DEFAULT 0, Color TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixFieldShowSet ON tFieldShow(TableName, ShowID);

CREATE TABLE tImport (
  ImportID INTEGER PRIMARY KEY AUTOINCREMENT,
  tablename TEXT COLLATE NOCASE, S_Field TEXT COLLATE NOCASE, FieldName TEXT COLLATE NOCASE,
  F_Field TEXT COLLATE NOCASE
) STRICT;

CREATE TABLE tSoftInfo (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  DotPrice INTEGER DEFAULT 2, DotNumber INTEGER DEFAULT 2, DotMoney INTEGER DEFAULT 2,
  fGoodsCode INTEGER DEFAULT 0, SoftName TEXT COLLATE NOCASE, Version TEXT COLLATE NOCASE
) STRICT;

-- Operators (tablename 'user') and permission groups ('team'); passwords are Argon2id hashes.
CREATE TABLE tAdmin (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  tablename TEXT COLLATE NOCASE NOT NULL, username TEXT COLLATE NOCASE NOT NULL, password TEXT,
  team TEXT COLLATE NOCASE, memo TEXT COLLATE NOCASE, authority TEXT
) STRICT;
CREATE UNIQUE INDEX ixAdminName ON tAdmin(tablename, username);

CREATE TABLE tAuthority (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  code TEXT COLLATE NOCASE, name TEXT COLLATE NOCASE, authority TEXT COLLATE NOCASE
) STRICT;

-- Document headers, lines and stock counts (kept for documents that carry a header row).
CREATE TABLE tBill (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  BillCode TEXT COLLATE NOCASE, BillType TEXT COLLATE NOCASE, AddDate TEXT, CustName TEXT COLLATE NOCASE,
  UserName TEXT COLLATE NOCASE, DepotName TEXT COLLATE NOCASE, OldBill TEXT COLLATE NOCASE,
  Batch TEXT COLLATE NOCASE, Memo TEXT COLLATE NOCASE, BCMoney INTEGER, Balance INTEGER,
  CashType TEXT COLLATE NOCASE, Account TEXT COLLATE NOCASE, Sign INTEGER, "Check" INTEGER DEFAULT 0,
  RelatingBill TEXT COLLATE NOCASE, IsDiaoBo INTEGER DEFAULT 0, Maker TEXT COLLATE NOCASE
) STRICT;

CREATE TABLE tBillDetail (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  BillCode TEXT COLLATE NOCASE, MedicineCode TEXT COLLATE NOCASE, MedicineName TEXT COLLATE NOCASE,
  MedicineUnit TEXT COLLATE NOCASE, JiXing TEXT COLLATE NOCASE, Units TEXT COLLATE NOCASE, Number REAL,
  Price INTEGER, Discount REAL, Money INTEGER, BatchNo TEXT COLLATE NOCASE,
  Manufacturer TEXT COLLATE NOCASE, GSP TEXT COLLATE NOCASE, AgreeNo TEXT COLLATE NOCASE,
  DetailMemo TEXT COLLATE NOCASE, EffectDate TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX ixBillDetailBill ON tBillDetail(BillCode);

CREATE TABLE tPanDian (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  BillCode TEXT COLLATE NOCASE, MedicineCode TEXT COLLATE NOCASE, MedicineName TEXT COLLATE NOCASE,
  MedicineUnit TEXT COLLATE NOCASE, JiXing TEXT COLLATE NOCASE, Units TEXT COLLATE NOCASE, Number REAL,
  Price INTEGER, Discount REAL, Money INTEGER, BatchNo TEXT COLLATE NOCASE, EffectDate TEXT COLLATE NOCASE,
  Manufacturer TEXT COLLATE NOCASE, GSP TEXT COLLATE NOCASE, AgreeNo TEXT COLLATE NOCASE,
  DetailMemo TEXT COLLATE NOCASE, FactNumber REAL, AccountNumber REAL
) STRICT;

-- Views -------------------------------------------------------------------------------------
--
-- vDepot: one row per stock-in line (tStock row) with tnum, the quantity of that line still in
-- stock. A line is lowered by
--   * whole-pack sale lines (tSale.flag = 0) that name it: same Stockbill = billcode, medicine
--     code and batch number;
--   * outbound lines (tOut) that name it the same way through StockBill;
--   * packs opened for split sale. tChailing counts opened packs per medicine and batch, not per
--     stock-in line, so the opened packs of a batch are taken from its stock-in lines in the order
--     they were received (lowest id first), each line giving at most what its sales and outbound
--     lines left of it. A batch that arrived on two stock-in bills therefore always shows the
--     right total on hand, and no line goes below zero through openings.
-- Split-unit sale lines (flag = 1) lower the split stock (vDepotChaiLing), never tnum.
-- Every lookup is a seek on a covering index, so the cost per row does not grow with the number
-- of documents.
CREATE VIEW vDepot AS
SELECT b.id, b.rkdate, b.supply, b.pjdate, b.fapiao, b.piaoju, b.medicinecode, b.medicinename,
       b.usualname, b.medicineunit, b.manufacturer, b.units, b.number, b.position, b.BatchNo,
       b.madedate, b.medicinetype, b.vipprice, b.stockprice, b.saleprice,
       b.stockmoney, b.EffectDate, b.Inspector, b.Buyer, b.memo, b.billcode, b.Percentage, b.clunit,
       b.clnumber, b.clunits,
       b.remain - CASE WHEN b.opened <= 0 THEN 0
                       ELSE max(0, min(b.remain, b.opened - (
                         SELECT total(p.number
                                      - (SELECT total(s.number) FROM tSale s
                                          WHERE s.Stockbill = p.billcode AND s.medicinecode = p.medicinecode
                                            AND s.batchno = p.BatchNo AND s.flag = 0)
                                      - (SELECT total(o.number) FROM tOut o
                                          WHERE o.StockBill = p.billcode AND o.medicinecode = p.medicinecode
                                            AND o.batchno = p.BatchNo))
                           FROM tStock p
                          WHERE p.medicinecode = b.medicinecode AND p.BatchNo = b.BatchNo AND p.id < b.id)))
                  END AS tnum
  FROM (SELECT t.*,
               coalesce(t.number, 0)
               - (SELECT total(s.number) FROM tSale s
                   WHERE s.Stockbill = t.billcode AND s.medicinecode = t.medicinecode
                     AND s.batchno = t.BatchNo AND s.flag = 0)
               - (SELECT total(o.number) FROM tOut o
                   WHERE o.StockBill = t.billcode AND o.medicinecode = t.medicinecode
                     AND o.batchno = t.BatchNo) AS remain,
               (SELECT total(c.number) FROM tChailing c
                 WHERE c.medicinecode = t.medicinecode AND c.batchno = t.BatchNo) AS opened
          FROM tStock t) b;

-- vDepotChaiLing: one row per tChailing row (kept when sold out). clnumber is the split units on
-- hand: the units produced by opened packs less the split-unit sale lines (tSale.flag = 1) of that
-- medicine and batch; clproduced keeps the units produced, number the packs opened.
CREATE VIEW vDepotChaiLing AS
SELECT c.id, c.medicinecode, c.medicinename, c.medicineunit, c.manufacturer, c.position, c.effectdate,
       c.batchno, c.stockprice, c.saleprice, c.vipprice, c.clunit, c.clunits,
       coalesce(c.clnumber, 0)
       - (SELECT total(s.number) FROM tSale s
           WHERE s.medicinecode = c.medicinecode AND s.batchno = c.batchno AND s.flag = 1) AS clnumber,
       c.clnumber AS clproduced, c.number
  FROM tChailing c;

-- vRunningAccount: the cash journal. Collections at the till (tCash, the amount due after
-- discount and rounding-off) and customer receipts (tSK) come in; supplier payments (tFK) go out.
CREATE VIEW vRunningAccount AS
SELECT adddate, '销售收款' AS kind, cashcode AS billcode, totalmoney AS inmoney, 0 AS outmoney, maker
  FROM tCash
UNION ALL
SELECT adddate, '客户回款' AS kind, billcode, money AS inmoney, 0 AS outmoney, maker FROM tSK
UNION ALL
SELECT adddate, '供应商付款' AS kind, billcode, 0 AS inmoney, money AS outmoney, maker FROM tFK;
