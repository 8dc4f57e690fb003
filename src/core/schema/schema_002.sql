-- Pelmora database, step 2: the search texts of the master lists.
--
-- A list window finds the typed text in any column that its grid set (tFieldShow) names. Each
-- row's search text is kept here, in step with the row: the text of every listed column (nulls
-- as empty text, money and numbers as the grid's plain text), joined by char(31) so that a
-- match never spans two columns, in lower case (ASCII), as the searches fold the typed text.
--
-- v<Set>Search computes the text from the row and the set; triggers write it into the FTS5
-- table t<Set>Search (trigram tokens: substring matches of three characters and more) on every
-- insert, update and delete. A change of a set's fields marks its texts stale in tSearchState;
-- the search rebuilds them before it runs. version counts the changes, so that a copy of the
-- texts held by the program knows when to read them again.

CREATE TABLE tSearchState (
  tablename TEXT COLLATE NOCASE PRIMARY KEY,
  stale INTEGER NOT NULL DEFAULT 0,
  version INTEGER NOT NULL DEFAULT 0
) STRICT;

-- Medicine ------------------------------------------------------------------------------

CREATE VIEW vMedicineSearch AS
SELECT r.id AS id,
       lower(coalesce((SELECT group_concat(CASE f.Field
                   WHEN 'id' THEN CAST(r.id AS TEXT)
                   WHEN 'MedicineCode' THEN r.MedicineCode
                   WHEN 'MedicineName' THEN r.MedicineName
                   WHEN 'UsualName' THEN r.UsualName
                   WHEN 'EnglishName' THEN r.EnglishName
                   WHEN 'JiXing' THEN r.JiXing
                   WHEN 'AgreeNo' THEN r.AgreeNo
                   WHEN 'MedicineUnit' THEN r.MedicineUnit
                   WHEN 'Brand' THEN r.Brand
                   WHEN 'Manufacturer' THEN r.Manufacturer
                   WHEN 'GSP' THEN r.GSP
                   WHEN 'FirstUnits' THEN r.FirstUnits
                   WHEN 'SecondUnits' THEN r.SecondUnits
                   WHEN 'Rate' THEN iif(r.Rate IS NULL, NULL, printf('%.15g', r.Rate))
                   WHEN 'StockPrice' THEN iif(r.StockPrice IS NULL, NULL, rtrim(rtrim(printf('%.4f', r.StockPrice / 10000.0), '0'), '.'))
                   WHEN 'WholesalePrice' THEN iif(r.WholesalePrice IS NULL, NULL, rtrim(rtrim(printf('%.4f', r.WholesalePrice / 10000.0), '0'), '.'))
                   WHEN 'SalePrice' THEN iif(r.SalePrice IS NULL, NULL, rtrim(rtrim(printf('%.4f', r.SalePrice / 10000.0), '0'), '.'))
                   WHEN 'DepotUP' THEN iif(r.DepotUP IS NULL, NULL, printf('%.15g', r.DepotUP))
                   WHEN 'DepotDown' THEN iif(r.DepotDown IS NULL, NULL, printf('%.15g', r.DepotDown))
                   WHEN 'BatchNo' THEN r.BatchNo
                   WHEN 'Expiry' THEN iif(r.Expiry IS NULL, NULL, printf('%.15g', r.Expiry))
                   WHEN 'Remark1' THEN r.Remark1
                   WHEN 'Remark2' THEN r.Remark2
                   WHEN 'MedicineType' THEN r.MedicineType
                   WHEN 'ChemicalName' THEN r.ChemicalName
                   WHEN 'TypeCode' THEN r.TypeCode
                   WHEN 'Percentage' THEN iif(r.Percentage IS NULL, NULL, printf('%.15g', r.Percentage))
                   WHEN 'ShortName' THEN r.ShortName
                   WHEN 'Barcode' THEN r.Barcode
                   END, char(31))
          FROM tFieldShow f WHERE f.TableName = 'Medicine'), '')) AS body
  FROM tMedicine r;

CREATE VIRTUAL TABLE tMedicineSearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tMedicineSearch (rowid, body) SELECT id, body FROM vMedicineSearch;
INSERT INTO tSearchState (tablename) VALUES ('Medicine');

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
       lower(coalesce((SELECT group_concat(CASE f.Field
                   WHEN 'id' THEN CAST(r.id AS TEXT)
                   WHEN 'SupplyCode' THEN r.SupplyCode
                   WHEN 'SupplyName' THEN r.SupplyName
                   WHEN 'SupplyType' THEN r.SupplyType
                   WHEN 'SupplyZone' THEN r.SupplyZone
                   WHEN 'Company' THEN r.Company
                   WHEN 'TaxNo' THEN r.TaxNo
                   WHEN 'LegalPerson' THEN r.LegalPerson
                   WHEN 'BankName' THEN r.BankName
                   WHEN 'Account' THEN r.Account
                   WHEN 'GSP' THEN r.GSP
                   WHEN 'Address' THEN r.Address
                   WHEN 'Zip' THEN r.Zip
                   WHEN 'Tel' THEN r.Tel
                   WHEN 'Fax' THEN r.Fax
                   WHEN 'EMail' THEN r.EMail
                   WHEN 'Remark1' THEN r.Remark1
                   WHEN 'Remark2' THEN r.Remark2
                   WHEN 'TypeCode' THEN r.TypeCode
                   END, char(31))
          FROM tFieldShow f WHERE f.TableName = 'Supply'), '')) AS body
  FROM tSupply r;

CREATE VIRTUAL TABLE tSupplySearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tSupplySearch (rowid, body) SELECT id, body FROM vSupplySearch;
INSERT INTO tSearchState (tablename) VALUES ('Supply');

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
       lower(coalesce((SELECT group_concat(CASE f.Field
                   WHEN 'id' THEN CAST(r.id AS TEXT)
                   WHEN 'CustCode' THEN r.CustCode
                   WHEN 'CustName' THEN r.CustName
                   WHEN 'CustType' THEN r.CustType
                   WHEN 'CustZone' THEN r.CustZone
                   WHEN 'Company' THEN r.Company
                   WHEN 'TaxNo' THEN r.TaxNo
                   WHEN 'LegalPerson' THEN r.LegalPerson
                   WHEN 'BankName' THEN r.BankName
                   WHEN 'Account' THEN r.Account
                   WHEN 'GSP' THEN r.GSP
                   WHEN 'Address' THEN r.Address
                   WHEN 'Zip' THEN r.Zip
                   WHEN 'Tel' THEN r.Tel
                   WHEN 'Fax' THEN r.Fax
                   WHEN 'EMail' THEN r.EMail
                   WHEN 'Remark1' THEN r.Remark1
                   WHEN 'Remark2' THEN r.Remark2
                   WHEN 'TypeCode' THEN r.TypeCode
                   END, char(31))
          FROM tFieldShow f WHERE f.TableName = 'Custom'), '')) AS body
  FROM tCustom r;

CREATE VIRTUAL TABLE tCustomSearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tCustomSearch (rowid, body) SELECT id, body FROM vCustomSearch;
INSERT INTO tSearchState (tablename) VALUES ('Custom');

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
       lower(coalesce((SELECT group_concat(CASE f.Field
                   WHEN 'id' THEN CAST(r.id AS TEXT)
                   WHEN 'EmployeeCode' THEN r.EmployeeCode
                   WHEN 'EmployeeName' THEN r.EmployeeName
                   WHEN 'EmployeeType' THEN r.EmployeeType
                   WHEN 'Depart' THEN r.Depart
                   WHEN 'Tel' THEN r.Tel
                   WHEN 'Mobile' THEN r.Mobile
                   WHEN 'Address' THEN r.Address
                   WHEN 'Remark1' THEN r.Remark1
                   WHEN 'Remark2' THEN r.Remark2
                   WHEN 'EMail' THEN r.EMail
                   WHEN 'TypeCode' THEN r.TypeCode
                   END, char(31))
          FROM tFieldShow f WHERE f.TableName = 'Employee'), '')) AS body
  FROM tEmployee r;

CREATE VIRTUAL TABLE tEmployeeSearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tEmployeeSearch (rowid, body) SELECT id, body FROM vEmployeeSearch;
INSERT INTO tSearchState (tablename) VALUES ('Employee');

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
       lower(coalesce((SELECT group_concat(CASE f.Field
                   WHEN 'id' THEN CAST(r.id AS TEXT)
                   WHEN 'MemberCode' THEN r.MemberCode
                   WHEN 'MemberName' THEN r.MemberName
                   WHEN 'ShortName' THEN r.ShortName
                   WHEN 'Birthday' THEN r.Birthday
                   WHEN 'Sex' THEN r.Sex
                   WHEN 'Address' THEN r.Address
                   WHEN 'idCard' THEN r.idCard
                   WHEN 'Tel' THEN r.Tel
                   WHEN 'MemberType' THEN r.MemberType
                   WHEN 'Point' THEN iif(r.Point IS NULL, NULL, printf('%.15g', r.Point))
                   WHEN 'Memo' THEN r.Memo
                   WHEN 'CreateDate' THEN r.CreateDate
                   WHEN 'EditDate' THEN r.EditDate
                   END, char(31))
          FROM tFieldShow f WHERE f.TableName = 'Member'), '')) AS body
  FROM tMember r;

CREATE VIRTUAL TABLE tMemberSearch USING fts5(body, tokenize = 'trigram case_sensitive 1');
INSERT INTO tMemberSearch (rowid, body) SELECT id, body FROM vMemberSearch;
INSERT INTO tSearchState (tablename) VALUES ('Member');

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
-- Widths, order and shown state do not change what is searched; adding, removing or renaming a
-- field does.

CREATE TRIGGER trFieldShowSearchInsert AFTER INSERT ON tFieldShow BEGIN
  UPDATE tSearchState SET stale = 1 WHERE tablename = NEW.TableName;
END;
CREATE TRIGGER trFieldShowSearchDelete AFTER DELETE ON tFieldShow BEGIN
  UPDATE tSearchState SET stale = 1 WHERE tablename = OLD.TableName;
END;
CREATE TRIGGER trFieldShowSearchUpdate AFTER UPDATE OF TableName, Field ON tFieldShow BEGIN
  UPDATE tSearchState SET stale = 1 WHERE tablename IN (OLD.TableName, NEW.TableName);
END;
