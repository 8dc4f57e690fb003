-- Pelmora database, step 2: the search texts of the master lists.
--
-- A list window finds the typed text in any column that its grid set (tFieldShow) names. Each
-- row's search text is kept here, in step with the row and the set: the text of every listed
-- column (nulls as empty text, money and numbers in their plain form), each followed by
-- char(31) so that a match never spans two columns, in lower case (ASCII letters), as the
-- searches fold the typed text.
--
-- tSearchState.mask has one bit per column of a table that its grid set names (vSearchMask,
-- kept by the triggers on tFieldShow). v<Set>Search computes a row's text from the row and the
-- mask; triggers write it into the FTS5 table t<Set>Search (trigram tokens: substring matches
-- of three characters and more) on every insert, update and delete. When a set's columns
-- change, its texts are marked stale and the search rebuilds them before it runs. version
-- counts the changes of a table, so that a copy of the texts held by the program knows when to
-- read them again.

CREATE TABLE tSearchState (
  tablename TEXT COLLATE NOCASE PRIMARY KEY,
  mask INTEGER NOT NULL DEFAULT 0,
  stale INTEGER NOT NULL DEFAULT 0,
  version INTEGER NOT NULL DEFAULT 0
) STRICT;

CREATE VIEW vSearchMask AS
SELECT 'Medicine' AS tablename,
       coalesce((SELECT sum(DISTINCT CASE f.Field
                 WHEN 'id' THEN 1
                 WHEN 'MedicineCode' THEN 2
                 WHEN 'MedicineName' THEN 4
                 WHEN 'UsualName' THEN 8
                 WHEN 'EnglishName' THEN 16
                 WHEN 'JiXing' THEN 32
                 WHEN 'AgreeNo' THEN 64
                 WHEN 'MedicineUnit' THEN 128
                 WHEN 'Brand' THEN 256
                 WHEN 'Manufacturer' THEN 512
                 WHEN 'GSP' THEN 1024
                 WHEN 'FirstUnits' THEN 2048
                 WHEN 'SecondUnits' THEN 4096
                 WHEN 'Rate' THEN 8192
                 WHEN 'StockPrice' THEN 16384
                 WHEN 'WholesalePrice' THEN 32768
                 WHEN 'SalePrice' THEN 65536
                 WHEN 'DepotUP' THEN 131072
                 WHEN 'DepotDown' THEN 262144
                 WHEN 'BatchNo' THEN 524288
                 WHEN 'Expiry' THEN 1048576
                 WHEN 'Remark1' THEN 2097152
                 WHEN 'Remark2' THEN 4194304
                 WHEN 'MedicineType' THEN 8388608
                 WHEN 'ChemicalName' THEN 16777216
                 WHEN 'TypeCode' THEN 33554432
                 WHEN 'Percentage' THEN 67108864
                 WHEN 'ShortName' THEN 134217728
                 WHEN 'Barcode' THEN 268435456
                 END)
          FROM tFieldShow f WHERE f.TableName = 'Medicine'), 0) AS mask
UNION ALL
SELECT 'Supply' AS tablename,
       coalesce((SELECT sum(DISTINCT CASE f.Field
                 WHEN 'id' THEN 1
                 WHEN 'SupplyCode' THEN 2
                 WHEN 'SupplyName' THEN 4
                 WHEN 'SupplyType' THEN 8
                 WHEN 'SupplyZone' THEN 16
                 WHEN 'Company' THEN 32
                 WHEN 'TaxNo' THEN 64
                 WHEN 'LegalPerson' THEN 128
                 WHEN 'BankName' THEN 256
                 WHEN 'Account' THEN 512
                 WHEN 'GSP' THEN 1024
                 WHEN 'Address' THEN 2048
                 WHEN 'Zip' THEN 4096
                 WHEN 'Tel' THEN 8192
                 WHEN 'Fax' THEN 16384
                 WHEN 'EMail' THEN 32768
                 WHEN 'Remark1' THEN 65536
                 WHEN 'Remark2' THEN 131072
                 WHEN 'TypeCode' THEN 262144
                 END)
          FROM tFieldShow f WHERE f.TableName = 'Supply'), 0) AS mask
UNION ALL
SELECT 'Custom' AS tablename,
       coalesce((SELECT sum(DISTINCT CASE f.Field
                 WHEN 'id' THEN 1
                 WHEN 'CustCode' THEN 2
                 WHEN 'CustName' THEN 4
                 WHEN 'CustType' THEN 8
                 WHEN 'CustZone' THEN 16
                 WHEN 'Company' THEN 32
                 WHEN 'TaxNo' THEN 64
                 WHEN 'LegalPerson' THEN 128
                 WHEN 'BankName' THEN 256
                 WHEN 'Account' THEN 512
                 WHEN 'GSP' THEN 1024
                 WHEN 'Address' THEN 2048
                 WHEN 'Zip' THEN 4096
                 WHEN 'Tel' THEN 8192
                 WHEN 'Fax' THEN 16384
                 WHEN 'EMail' THEN 32768
                 WHEN 'Remark1' THEN 65536
                 WHEN 'Remark2' THEN 131072
                 WHEN 'TypeCode' THEN 262144
                 END)
          FROM tFieldShow f WHERE f.TableName = 'Custom'), 0) AS mask
UNION ALL
SELECT 'Employee' AS tablename,
       coalesce((SELECT sum(DISTINCT CASE f.Field
                 WHEN 'id' THEN 1
                 WHEN 'EmployeeCode' THEN 2
                 WHEN 'EmployeeName' THEN 4
                 WHEN 'EmployeeType' THEN 8
                 WHEN 'Depart' THEN 16
                 WHEN 'Tel' THEN 32
                 WHEN 'Mobile' THEN 64
                 WHEN 'Address' THEN 128
                 WHEN 'Remark1' THEN 256
                 WHEN 'Remark2' THEN 512
                 WHEN 'EMail' THEN 1024
                 WHEN 'TypeCode' THEN 2048
                 END)
          FROM tFieldShow f WHERE f.TableName = 'Employee'), 0) AS mask
UNION ALL
SELECT 'Member' AS tablename,
       coalesce((SELECT sum(DISTINCT CASE f.Field
                 WHEN 'id' THEN 1
                 WHEN 'MemberCode' THEN 2
                 WHEN 'MemberName' THEN 4
                 WHEN 'ShortName' THEN 8
                 WHEN 'Birthday' THEN 16
                 WHEN 'Sex' THEN 32
                 WHEN 'Address' THEN 64
                 WHEN 'idCard' THEN 128
                 WHEN 'Tel' THEN 256
                 WHEN 'MemberType' THEN 512
                 WHEN 'Point' THEN 1024
                 WHEN 'Memo' THEN 2048
                 WHEN 'CreateDate' THEN 4096
                 WHEN 'EditDate' THEN 8192
                 END)
          FROM tFieldShow f WHERE f.TableName = 'Member'), 0) AS mask;

INSERT INTO tSearchState (tablename, mask) SELECT tablename, mask FROM vSearchMask;

-- Medicine ------------------------------------------------------------------------------

CREATE VIEW vMedicineSearch AS
SELECT r.id AS id,
       lower(
         iif(s.mask & 1, coalesce(CAST(r.id AS TEXT), '') || char(31), '') ||
         iif(s.mask & 2, coalesce(r.MedicineCode, '') || char(31), '') ||
         iif(s.mask & 4, coalesce(r.MedicineName, '') || char(31), '') ||
         iif(s.mask & 8, coalesce(r.UsualName, '') || char(31), '') ||
         iif(s.mask & 16, coalesce(r.EnglishName, '') || char(31), '') ||
         iif(s.mask & 32, coalesce(r.JiXing, '') || char(31), '') ||
         iif(s.mask & 64, coalesce(r.AgreeNo, '') || char(31), '') ||
         iif(s.mask & 128, coalesce(r.MedicineUnit, '') || char(31), '') ||
         iif(s.mask & 256, coalesce(r.Brand, '') || char(31), '') ||
         iif(s.mask & 512, coalesce(r.Manufacturer, '') || char(31), '') ||
         iif(s.mask & 1024, coalesce(r.GSP, '') || char(31), '') ||
         iif(s.mask & 2048, coalesce(r.FirstUnits, '') || char(31), '') ||
         iif(s.mask & 4096, coalesce(r.SecondUnits, '') || char(31), '') ||
         iif(s.mask & 8192, coalesce(iif(r.Rate IS NULL, NULL, printf('%.15g', r.Rate)), '') || char(31), '') ||
         iif(s.mask & 16384, coalesce(iif(r.StockPrice IS NULL, NULL, rtrim(rtrim(printf('%.4f', r.StockPrice / 10000.0), '0'), '.')), '') || char(31), '') ||
         iif(s.mask & 32768, coalesce(iif(r.WholesalePrice IS NULL, NULL, rtrim(rtrim(printf('%.4f', r.WholesalePrice / 10000.0), '0'), '.')), '') || char(31), '') ||
         iif(s.mask & 65536, coalesce(iif(r.SalePrice IS NULL, NULL, rtrim(rtrim(printf('%.4f', r.SalePrice / 10000.0), '0'), '.')), '') || char(31), '') ||
         iif(s.mask & 131072, coalesce(iif(r.DepotUP IS NULL, NULL, printf('%.15g', r.DepotUP)), '') || char(31), '') ||
         iif(s.mask & 262144, coalesce(iif(r.DepotDown IS NULL, NULL, printf('%.15g', r.DepotDown)), '') || char(31), '') ||
         iif(s.mask & 524288, coalesce(r.BatchNo, '') || char(31), '') ||
         iif(s.mask & 1048576, coalesce(iif(r.Expiry IS NULL, NULL, printf('%.15g', r.Expiry)), '') || char(31), '') ||
         iif(s.mask & 2097152, coalesce(r.Remark1, '') || char(31), '') ||
         iif(s.mask & 4194304, coalesce(r.Remark2, '') || char(31), '') ||
         iif(s.mask & 8388608, coalesce(r.MedicineType, '') || char(31), '') ||
         iif(s.mask & 16777216, coalesce(r.ChemicalName, '') || char(31), '') ||
         iif(s.mask & 33554432, coalesce(r.TypeCode, '') || char(31), '') ||
         iif(s.mask & 67108864, coalesce(iif(r.Percentage IS NULL, NULL, printf('%.15g', r.Percentage)), '') || char(31), '') ||
         iif(s.mask & 134217728, coalesce(r.ShortName, '') || char(31), '') ||
         iif(s.mask & 268435456, coalesce(r.Barcode, '') || char(31), '')
       ) AS body
  FROM tMedicine r JOIN tSearchState s ON s.tablename = 'Medicine';

CREATE VIRTUAL TABLE tMedicineSearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tMedicineSearch (rowid, body) SELECT id, body FROM vMedicineSearch;

CREATE TRIGGER trMedicineSearchInsert AFTER INSERT ON tMedicine BEGIN
  INSERT INTO tMedicineSearch (rowid, body) SELECT id, body FROM vMedicineSearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Medicine';
END;
CREATE TRIGGER trMedicineSearchUpdate AFTER UPDATE ON tMedicine BEGIN
  DELETE FROM tMedicineSearch WHERE rowid = OLD.id;
  INSERT INTO tMedicineSearch (rowid, body) SELECT id, body FROM vMedicineSearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Medicine';
END;
CREATE TRIGGER trMedicineSearchDelete AFTER DELETE ON tMedicine BEGIN
  DELETE FROM tMedicineSearch WHERE rowid = OLD.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Medicine';
END;

-- Supply --------------------------------------------------------------------------------

CREATE VIEW vSupplySearch AS
SELECT r.id AS id,
       lower(
         iif(s.mask & 1, coalesce(CAST(r.id AS TEXT), '') || char(31), '') ||
         iif(s.mask & 2, coalesce(r.SupplyCode, '') || char(31), '') ||
         iif(s.mask & 4, coalesce(r.SupplyName, '') || char(31), '') ||
         iif(s.mask & 8, coalesce(r.SupplyType, '') || char(31), '') ||
         iif(s.mask & 16, coalesce(r.SupplyZone, '') || char(31), '') ||
         iif(s.mask & 32, coalesce(r.Company, '') || char(31), '') ||
         iif(s.mask & 64, coalesce(r.TaxNo, '') || char(31), '') ||
         iif(s.mask & 128, coalesce(r.LegalPerson, '') || char(31), '') ||
         iif(s.mask & 256, coalesce(r.BankName, '') || char(31), '') ||
         iif(s.mask & 512, coalesce(r.Account, '') || char(31), '') ||
         iif(s.mask & 1024, coalesce(r.GSP, '') || char(31), '') ||
         iif(s.mask & 2048, coalesce(r.Address, '') || char(31), '') ||
         iif(s.mask & 4096, coalesce(r.Zip, '') || char(31), '') ||
         iif(s.mask & 8192, coalesce(r.Tel, '') || char(31), '') ||
         iif(s.mask & 16384, coalesce(r.Fax, '') || char(31), '') ||
         iif(s.mask & 32768, coalesce(r.EMail, '') || char(31), '') ||
         iif(s.mask & 65536, coalesce(r.Remark1, '') || char(31), '') ||
         iif(s.mask & 131072, coalesce(r.Remark2, '') || char(31), '') ||
         iif(s.mask & 262144, coalesce(r.TypeCode, '') || char(31), '')
       ) AS body
  FROM tSupply r JOIN tSearchState s ON s.tablename = 'Supply';

CREATE VIRTUAL TABLE tSupplySearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tSupplySearch (rowid, body) SELECT id, body FROM vSupplySearch;

CREATE TRIGGER trSupplySearchInsert AFTER INSERT ON tSupply BEGIN
  INSERT INTO tSupplySearch (rowid, body) SELECT id, body FROM vSupplySearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Supply';
END;
CREATE TRIGGER trSupplySearchUpdate AFTER UPDATE ON tSupply BEGIN
  DELETE FROM tSupplySearch WHERE rowid = OLD.id;
  INSERT INTO tSupplySearch (rowid, body) SELECT id, body FROM vSupplySearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Supply';
END;
CREATE TRIGGER trSupplySearchDelete AFTER DELETE ON tSupply BEGIN
  DELETE FROM tSupplySearch WHERE rowid = OLD.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Supply';
END;

-- Custom --------------------------------------------------------------------------------

CREATE VIEW vCustomSearch AS
SELECT r.id AS id,
       lower(
         iif(s.mask & 1, coalesce(CAST(r.id AS TEXT), '') || char(31), '') ||
         iif(s.mask & 2, coalesce(r.CustCode, '') || char(31), '') ||
         iif(s.mask & 4, coalesce(r.CustName, '') || char(31), '') ||
         iif(s.mask & 8, coalesce(r.CustType, '') || char(31), '') ||
         iif(s.mask & 16, coalesce(r.CustZone, '') || char(31), '') ||
         iif(s.mask & 32, coalesce(r.Company, '') || char(31), '') ||
         iif(s.mask & 64, coalesce(r.TaxNo, '') || char(31), '') ||
         iif(s.mask & 128, coalesce(r.LegalPerson, '') || char(31), '') ||
         iif(s.mask & 256, coalesce(r.BankName, '') || char(31), '') ||
         iif(s.mask & 512, coalesce(r.Account, '') || char(31), '') ||
         iif(s.mask & 1024, coalesce(r.GSP, '') || char(31), '') ||
         iif(s.mask & 2048, coalesce(r.Address, '') || char(31), '') ||
         iif(s.mask & 4096, coalesce(r.Zip, '') || char(31), '') ||
         iif(s.mask & 8192, coalesce(r.Tel, '') || char(31), '') ||
         iif(s.mask & 16384, coalesce(r.Fax, '') || char(31), '') ||
         iif(s.mask & 32768, coalesce(r.EMail, '') || char(31), '') ||
         iif(s.mask & 65536, coalesce(r.Remark1, '') || char(31), '') ||
         iif(s.mask & 131072, coalesce(r.Remark2, '') || char(31), '') ||
         iif(s.mask & 262144, coalesce(r.TypeCode, '') || char(31), '')
       ) AS body
  FROM tCustom r JOIN tSearchState s ON s.tablename = 'Custom';

CREATE VIRTUAL TABLE tCustomSearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tCustomSearch (rowid, body) SELECT id, body FROM vCustomSearch;

CREATE TRIGGER trCustomSearchInsert AFTER INSERT ON tCustom BEGIN
  INSERT INTO tCustomSearch (rowid, body) SELECT id, body FROM vCustomSearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Custom';
END;
CREATE TRIGGER trCustomSearchUpdate AFTER UPDATE ON tCustom BEGIN
  DELETE FROM tCustomSearch WHERE rowid = OLD.id;
  INSERT INTO tCustomSearch (rowid, body) SELECT id, body FROM vCustomSearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Custom';
END;
CREATE TRIGGER trCustomSearchDelete AFTER DELETE ON tCustom BEGIN
  DELETE FROM tCustomSearch WHERE rowid = OLD.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Custom';
END;

-- Employee ------------------------------------------------------------------------------

CREATE VIEW vEmployeeSearch AS
SELECT r.id AS id,
       lower(
         iif(s.mask & 1, coalesce(CAST(r.id AS TEXT), '') || char(31), '') ||
         iif(s.mask & 2, coalesce(r.EmployeeCode, '') || char(31), '') ||
         iif(s.mask & 4, coalesce(r.EmployeeName, '') || char(31), '') ||
         iif(s.mask & 8, coalesce(r.EmployeeType, '') || char(31), '') ||
         iif(s.mask & 16, coalesce(r.Depart, '') || char(31), '') ||
         iif(s.mask & 32, coalesce(r.Tel, '') || char(31), '') ||
         iif(s.mask & 64, coalesce(r.Mobile, '') || char(31), '') ||
         iif(s.mask & 128, coalesce(r.Address, '') || char(31), '') ||
         iif(s.mask & 256, coalesce(r.Remark1, '') || char(31), '') ||
         iif(s.mask & 512, coalesce(r.Remark2, '') || char(31), '') ||
         iif(s.mask & 1024, coalesce(r.EMail, '') || char(31), '') ||
         iif(s.mask & 2048, coalesce(r.TypeCode, '') || char(31), '')
       ) AS body
  FROM tEmployee r JOIN tSearchState s ON s.tablename = 'Employee';

CREATE VIRTUAL TABLE tEmployeeSearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tEmployeeSearch (rowid, body) SELECT id, body FROM vEmployeeSearch;

CREATE TRIGGER trEmployeeSearchInsert AFTER INSERT ON tEmployee BEGIN
  INSERT INTO tEmployeeSearch (rowid, body) SELECT id, body FROM vEmployeeSearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Employee';
END;
CREATE TRIGGER trEmployeeSearchUpdate AFTER UPDATE ON tEmployee BEGIN
  DELETE FROM tEmployeeSearch WHERE rowid = OLD.id;
  INSERT INTO tEmployeeSearch (rowid, body) SELECT id, body FROM vEmployeeSearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Employee';
END;
CREATE TRIGGER trEmployeeSearchDelete AFTER DELETE ON tEmployee BEGIN
  DELETE FROM tEmployeeSearch WHERE rowid = OLD.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Employee';
END;

-- Member --------------------------------------------------------------------------------

CREATE VIEW vMemberSearch AS
SELECT r.id AS id,
       lower(
         iif(s.mask & 1, coalesce(CAST(r.id AS TEXT), '') || char(31), '') ||
         iif(s.mask & 2, coalesce(r.MemberCode, '') || char(31), '') ||
         iif(s.mask & 4, coalesce(r.MemberName, '') || char(31), '') ||
         iif(s.mask & 8, coalesce(r.ShortName, '') || char(31), '') ||
         iif(s.mask & 16, coalesce(r.Birthday, '') || char(31), '') ||
         iif(s.mask & 32, coalesce(r.Sex, '') || char(31), '') ||
         iif(s.mask & 64, coalesce(r.Address, '') || char(31), '') ||
         iif(s.mask & 128, coalesce(r.idCard, '') || char(31), '') ||
         iif(s.mask & 256, coalesce(r.Tel, '') || char(31), '') ||
         iif(s.mask & 512, coalesce(r.MemberType, '') || char(31), '') ||
         iif(s.mask & 1024, coalesce(iif(r.Point IS NULL, NULL, printf('%.15g', r.Point)), '') || char(31), '') ||
         iif(s.mask & 2048, coalesce(r.Memo, '') || char(31), '') ||
         iif(s.mask & 4096, coalesce(r.CreateDate, '') || char(31), '') ||
         iif(s.mask & 8192, coalesce(r.EditDate, '') || char(31), '')
       ) AS body
  FROM tMember r JOIN tSearchState s ON s.tablename = 'Member';

CREATE VIRTUAL TABLE tMemberSearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tMemberSearch (rowid, body) SELECT id, body FROM vMemberSearch;

CREATE TRIGGER trMemberSearchInsert AFTER INSERT ON tMember BEGIN
  INSERT INTO tMemberSearch (rowid, body) SELECT id, body FROM vMemberSearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Member';
END;
CREATE TRIGGER trMemberSearchUpdate AFTER UPDATE ON tMember BEGIN
  DELETE FROM tMemberSearch WHERE rowid = OLD.id;
  INSERT INTO tMemberSearch (rowid, body) SELECT id, body FROM vMemberSearch WHERE id = NEW.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Member';
END;
CREATE TRIGGER trMemberSearchDelete AFTER DELETE ON tMember BEGIN
  DELETE FROM tMemberSearch WHERE rowid = OLD.id;
  UPDATE tSearchState SET version = version + 1 WHERE tablename = 'Member';
END;

-- Grid sets ---------------------------------------------------------------------------------
-- A set whose columns change (not its widths, order or shown state) gets a new mask, and its
-- texts are stale until the next search rebuilds them.

CREATE TRIGGER trFieldShowSearchInsert AFTER INSERT ON tFieldShow BEGIN
  UPDATE tSearchState
     SET stale = stale OR mask <> (SELECT v.mask FROM vSearchMask v WHERE v.tablename = tSearchState.tablename),
         mask = (SELECT v.mask FROM vSearchMask v WHERE v.tablename = tSearchState.tablename);
END;
CREATE TRIGGER trFieldShowSearchDelete AFTER DELETE ON tFieldShow BEGIN
  UPDATE tSearchState
     SET stale = stale OR mask <> (SELECT v.mask FROM vSearchMask v WHERE v.tablename = tSearchState.tablename),
         mask = (SELECT v.mask FROM vSearchMask v WHERE v.tablename = tSearchState.tablename);
END;
CREATE TRIGGER trFieldShowSearchUpdate AFTER UPDATE OF TableName, Field ON tFieldShow BEGIN
  UPDATE tSearchState
     SET stale = stale OR mask <> (SELECT v.mask FROM vSearchMask v WHERE v.tablename = tSearchState.tablename),
         mask = (SELECT v.mask FROM vSearchMask v WHERE v.tablename = tSearchState.tablename);
END;
