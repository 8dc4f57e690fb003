#!/usr/bin/env python3
"""Checks the starting rows (data/*.tsv) and the sample-shop lists (demo/*.tsv).

Run from anywhere: python3 src/core/schema/check_data.py
Exits with status 1 and lists every problem when a file is inconsistent:
column counts, headers, category codes and their parents, grid column sets
(captions, fields, order), the permission catalogue, import mappings and the
sample lists (codes, categories, units, prices, mnemonics).
"""
import os
import re
import glob
import shutil
import sqlite3
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "data")
DEMO = os.path.join(HERE, "demo")
CATALOGUE_SHEET = os.path.join(HERE, "..", "..", "..", "..", "shared", "fixtures", "spreadsheets",
                               "catalogue-import.xlsx")

# Columns of the tables and views, without the generated key `id`.
TABLES = {
    "tMedicine": "MedicineCode MedicineName UsualName EnglishName JiXing AgreeNo MedicineUnit Brand "
                 "Manufacturer GSP FirstUnits SecondUnits Rate StockPrice WholesalePrice SalePrice DepotUP "
                 "DepotDown BatchNo Expiry Remark1 Remark2 MedicineType ChemicalName TypeCode Percentage "
                 "ShortName Barcode",
    "tSupply": "SupplyCode SupplyName SupplyType SupplyZone Company TaxNo LegalPerson BankName Account GSP "
               "Address Zip Tel Fax EMail Remark1 Remark2 TypeCode",
    "tCustom": "CustCode CustName CustType CustZone Company TaxNo LegalPerson BankName Account GSP Address "
               "Zip Tel Fax EMail Remark1 Remark2 TypeCode",
    "tEmployee": "EmployeeCode EmployeeName EmployeeType Depart Tel Mobile Address Remark1 Remark2 EMail "
                 "TypeCode",
    "tMember": "MemberCode MemberName ShortName Birthday Sex Address idCard Tel MemberType Point Memo "
               "CreateDate EditDate",
    "tCompany": "Company Contact Address Zip Tel Fax Email",
    "tAccount": "name inimon",
    "tStock": "rkdate supply pjdate fapiao piaoju medicinecode medicinename usualname medicineunit "
              "manufacturer units number position BatchNo madedate medicinetype vipprice stockprice "
              "saleprice stockmoney EffectDate Inspector Buyer memo billcode Percentage clunit clnumber clunits",
    "tSale": "billcode adddate maker medicinecode medicinename medicineunit units manufacturer batchno price "
             "number money flag Stockbill membercode membername stockprice",
    "tCash": "cashcode billcode totalmoney money discount moling cashtype adddate maker",
    "tOut": "billcode adddate maker medicinecode medicinename medicineunit units manufacturer batchno price "
            "number money custname billtype StockBill",
    "tChailing": "medicinecode medicinename medicineunit manufacturer position effectdate batchno stockprice "
                 "saleprice vipprice clunit clnumber clunits number",
    "tChangePrice": "medicinecode medicinename medicineunit medicinetype units manufacturer batchno effectdate "
                    "position madedate reason oldsaleprice oldvipprice newsaleprice newvipprice maker adddate",
    "tNursing": "medicinecode medicinename medicineunit units manufacturer batchno effectdate position number "
                "rkdate madedate maker adddate",
    "tFK": "adddate billcode money maker",
    "tSK": "adddate billcode money maker",
    "tType": "tablename code name",
    "tOther": "tablename name note",
    "tUnits": "name",
    "tFieldShow": "TableName Field Name Width ShowID show showmoney SumField ShowButton DotSize ReadOnly Color",
    "tImport": "tablename S_Field FieldName F_Field",
    "tSoftInfo": "DotPrice DotNumber DotMoney fGoodsCode SoftName Version",
    "tAdmin": "tablename username password team memo authority",
    "tAuthority": "code name authority",
}
TABLES = {t: c.split() for t, c in TABLES.items()}
VIEWS = {
    "vDepot": TABLES["tStock"] + ["tnum"],
    "vDepotChaiLing": TABLES["tChailing"] + ["clproduced"],
    "vRunningAccount": "adddate kind billcode inmoney outmoney maker".split(),
}

# What each grid column set shows: the fields its window's statement returns.
GRID_SOURCES = {
    "Medicine": TABLES["tMedicine"],
    "SelectMedicine": TABLES["tMedicine"],
    "stockbill": TABLES["tStock"],
    "stockbilldetail": TABLES["tStock"],
    "salebill": TABLES["tSale"] + ["isflag"],
    "salebilldetail": TABLES["tSale"],
    "selectbatch": VIEWS["vDepot"],
    "chailing": VIEWS["vDepotChaiLing"],
    "zhenghe": VIEWS["vDepot"],
    "outbill": TABLES["tOut"],
    "out": "billcode adddate maker custname billtype".split(),
    "changeprice": TABLES["tChangePrice"],
    "nursing": TABLES["tNursing"],
    "expiry": VIEWS["vDepot"] + ["CountDay"],
    "Supply": TABLES["tSupply"],
    "Custom": TABLES["tCustom"],
    "Employee": TABLES["tEmployee"],
    "Member": TABLES["tMember"],  # also the member picker's "member": set names compare without case
    "import": ["ImportID"] + TABLES["tImport"],
    "fk": "billcode rkdate supply fapiao tmon ymon wmon salemon".split(),
    "sk": "billcode adddate Custname billtype tmon ymon wmon".split(),
    "fkdetail": TABLES["tFK"],
    "membersale": TABLES["tSale"],
    "membergain": "membercode membername tsalemon tstockmon tmon".split(),
    "runningaccount": VIEWS["vRunningAccount"],
    "Other": TABLES["tOther"] + TABLES["tAccount"],
    "user": TABLES["tAdmin"],
}
# The same sets as statements of the windows, run against the real schema when it is at hand.
# A field of a set must be a column of one of its statements' results.
GRID_QUERIES = {
    "Medicine": ["SELECT * FROM tMedicine"],
    "SelectMedicine": ["SELECT * FROM tMedicine"],
    "stockbill": ["SELECT * FROM tStock"],
    "stockbilldetail": ["SELECT * FROM tStock"],
    "salebill": ["SELECT *, CASE WHEN flag = 1 THEN '零' ELSE '整' END AS isflag FROM tSale"],
    "salebilldetail": ["SELECT * FROM tSale"],
    "selectbatch": ["SELECT * FROM vDepot"],
    "chailing": ["SELECT * FROM vDepotChaiLing"],
    "zhenghe": ["SELECT * FROM vDepot"],
    "outbill": ["SELECT * FROM tOut"],
    "out": ["SELECT DISTINCT billcode, adddate, maker, custname, billtype FROM tOut"],
    "changeprice": ["SELECT * FROM tChangePrice"],
    "nursing": ["SELECT * FROM tNursing"],
    "expiry": ["SELECT * FROM (SELECT *, julianday(EffectDate) - julianday('now') AS CountDay FROM vDepot) AS s"],
    "Supply": ["SELECT * FROM tSupply"],
    "Custom": ["SELECT * FROM tCustom"],
    "Employee": ["SELECT * FROM tEmployee"],
    "Member": ["SELECT * FROM tMember"],
    "import": ["SELECT * FROM tImport"],
    "fk": ["SELECT s1.billcode, rkdate, supply, fapiao, tmon, ymon, (tmon - ymon) AS wmon, salemon FROM "
           "(SELECT billcode, rkdate, supply, fapiao, sum(stockmoney) AS tmon FROM tStock "
           "GROUP BY billcode, rkdate, supply, fapiao) AS s1 "
           "LEFT JOIN (SELECT billcode, total(money) AS ymon FROM tFK GROUP BY billcode) AS s2 "
           "ON s1.billcode = s2.billcode "
           "LEFT JOIN (SELECT stockbill, total(money) AS salemon FROM tSale GROUP BY stockbill) AS s3 "
           "ON s1.billcode = s3.stockbill"],
    "sk": ["SELECT s1.billcode, adddate, Custname, billtype, tmon, ymon, (tmon - ymon) AS wmon FROM "
           "(SELECT billcode, adddate, custname, billtype, sum(money) AS tmon FROM tOut "
           "GROUP BY billcode, adddate, custname, billtype) AS s1 "
           "LEFT JOIN (SELECT billcode, total(money) AS ymon FROM tSK GROUP BY billcode) AS s2 "
           "ON s1.billcode = s2.billcode"],
    "fkdetail": ["SELECT * FROM tFK", "SELECT * FROM tSK"],
    "membersale": ["SELECT * FROM tSale"],
    "membergain": ["SELECT membercode, membername, sum(money) AS tsalemon, total(stockprice * number) AS tstockmon, "
                   "sum(money) - total(stockprice * number) AS tmon FROM tSale GROUP BY membercode, membername"],
    "runningaccount": ["SELECT * FROM vRunningAccount"],
    "Other": ["SELECT * FROM tOther", "SELECT * FROM tAccount"],
    "user": ["SELECT * FROM tAdmin"],
}
# The list windows search over every field of their set, so those sets hold table columns only.
SEARCHED_SETS = {"Medicine", "Supply", "Custom", "Employee"}
MAX_GRID_COLUMNS = 51
SECRET_FIELDS = {"password", "authority"}

# Commands of the main window.
ACTIONS = """OpenMedicine AddMedicine EditMedicine DelMedicine MedicineType PrintMedicine
OpenCustom AddCustom EditCustom DelCustom CustType PrintCustom
OpenSupply AddSupply EditSupply DelSupply SupplyType PrintSupply
OpenEmployee AddEmployee EditEmployee DelEmployee EmployeeType PrintEmployee
AddMember EditMember DelMember SetMember RMemberSale RMemberGain
Units Depart JiXing DepotName CashType SetPosition Zone Account Company
SetUser ClearData Backup Restore ExcelToSQLC ExcelToSQLS ExcelToSQLM SetGSP
DesignMedicine DesignSupply DesignEmployee DesignBill
SetStock SetSale SetChaiLing SetOut SetChangePrice SetNursing Expired SetFK SetSK
RunningAccount SearchStock SearchSale""".split()

LISTS = ["Units", "Depart", "JiXing", "DepotName", "CashType", "Position"]
TREES = ["Medicine", "Supply", "Custom", "Employee", "Zone"]
IMPORT_TABLES = {"Medicine": "tMedicine", "Custom": "tCustom", "Supply": "tSupply"}

problems = []
warnings = []


def problem(where, text):
    problems.append(f"{where}: {text}")


def warn(where, text):
    warnings.append(f"{where}: {text}")


def read_tsv(path, table):
    """Rows of one file as dicts; checks the header and the cell count of every line."""
    name = os.path.relpath(path, HERE)
    if not os.path.exists(path):
        problem(name, "file is missing")
        return []
    with open(path, encoding="utf-8", newline="") as fh:
        raw = fh.read()
    if raw.startswith("\ufeff"):
        problem(name, "starts with a byte-order mark")
    if "\r" in raw:
        problem(name, "has carriage returns")
    lines = raw.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if not lines:
        problem(name, "is empty")
        return []
    head = lines[0].split("\t")
    expected = TABLES[table]
    if [h.lower() for h in head] != [c.lower() for c in expected]:
        problem(name, f"header {head} differs from the columns {expected}")
    if any(h.lower() == "id" for h in head):
        problem(name, "has an id column")
    rows = []
    for no, line in enumerate(lines[1:], 2):
        if line.startswith("#"):
            continue
        cells = line.split("\t")
        if len(cells) != len(head):
            problem(f"{name}:{no}", f"{len(cells)} cells, header has {len(head)}")
            continue
        for c in cells:
            if c != c.strip():
                problem(f"{name}:{no}", f"cell {c!r} has leading or trailing blanks")
        row = dict(zip(head, cells))
        row["_line"] = f"{name}:{no}"
        rows.append(row)
    return rows


def is_int(text):
    return re.fullmatch(r"-?\d+", text) is not None


def is_number(text):
    return re.fullmatch(r"-?\d+(\.\d+)?", text) is not None


def check_codes(rows, where, code_key="code"):
    """Two digits per level, unique, every parent present."""
    codes = set()
    for r in rows:
        c = r[code_key]
        if not re.fullmatch(r"(\d\d)+", c) or any(c[i:i + 2] == "00" for i in range(0, len(c), 2)):
            problem(r["_line"], f"{where}: code {c!r} is not made of two-digit groups 01..99")
        if c in codes:
            problem(r["_line"], f"{where}: code {c} appears twice")
        codes.add(c)
    for r in rows:
        c = r[code_key]
        if len(c) > 2 and c[:-2] not in codes:
            problem(r["_line"], f"{where}: parent {c[:-2]} of {c} does not exist")
    return codes


# ---- mnemonic initials, as the program computes them --------------------------------------------
GBK_INITIALS = [
    ("a", 0xB0A1, 0xB0C4), ("b", 0xB0C5, 0xB2C0), ("c", 0xB2C1, 0xB4ED), ("d", 0xB4EE, 0xB6E9),
    ("e", 0xB6EA, 0xB7A1), ("f", 0xB7A2, 0xB8C0), ("g", 0xB8C1, 0xB9FD), ("h", 0xB9FE, 0xBBF6),
    ("j", 0xBBF7, 0xBFA5), ("k", 0xBFA6, 0xC0AB), ("l", 0xC0AC, 0xC2E7), ("m", 0xC2E8, 0xC4C2),
    ("n", 0xC4C3, 0xC5B5), ("o", 0xC5B6, 0xC5BD), ("p", 0xC5BE, 0xC6D9), ("q", 0xC6DA, 0xC8BA),
    ("r", 0xC8BB, 0xC8F5), ("s", 0xC8F6, 0xCBF9), ("t", 0xCBFA, 0xCDD9), ("w", 0xCDDA, 0xCEF3),
    ("x", 0xCEF4, 0xD1B8), ("y", 0xD1B9, 0xD4D0), ("z", 0xD4D1, 0xD7F9),
]
_han_latin = {}
UCONV = shutil.which("uconv")


def char_initial(ch):
    """Letter of a Han character: the GB2312 level-one table first, transliteration for the rest.
    Returns None for a character without an initial, '?' when the letter cannot be worked out here."""
    try:
        b = ch.encode("gbk")
    except UnicodeEncodeError:
        b = b""
    v = b[0] * 256 + b[1] if len(b) == 2 else 0
    for letter, lo, hi in GBK_INITIALS:
        if lo <= v <= hi:
            return letter
    if not 0x4E00 <= ord(ch) <= 0x9FFF:
        return None
    if UCONV is None:
        return "?"
    if ch not in _han_latin:
        out = subprocess.run([UCONV, "-x", "Han-Latin; Latin-ASCII"], input=ch, capture_output=True,
                             text=True).stdout.strip().lower()
        _han_latin[ch] = out[:1] if out[:1].isalpha() else None
    return _han_latin[ch]


def initials_match(text, mnemonic):
    if len(text) != len(mnemonic):
        return False
    for ch, m in zip(text, mnemonic):
        if ord(ch) < 0x80:
            if ch != m:
                return False
            continue
        letter = char_initial(ch)
        if letter is None or (letter != "?" and letter != m) or (letter == "?" and not m.islower()):
            return False
    return True


# ---- starting rows -------------------------------------------------------------------------------
def check_other():
    rows = read_tsv(os.path.join(DATA, "tOther.tsv"), "tOther")
    names = {}
    for r in rows:
        if r["tablename"] not in LISTS:
            problem(r["_line"], f"unknown list {r['tablename']!r}")
        if not r["name"]:
            problem(r["_line"], "empty entry")
        names.setdefault(r["tablename"], []).append(r["name"])
    for lst in LISTS:
        entries = names.get(lst, [])
        if not entries:
            problem("data/tOther.tsv", f"list {lst} has no entries")
        dup = {e for e in entries if entries.count(e) > 1}
        if dup:
            problem("data/tOther.tsv", f"list {lst} repeats {sorted(dup)}")
    return {k: set(v) for k, v in names.items()}


def check_units():
    rows = read_tsv(os.path.join(DATA, "tUnits.tsv"), "tUnits")
    names = [r["name"] for r in rows]
    if len(set(names)) != len(names):
        problem("data/tUnits.tsv", "repeats a split unit")
    if not names:
        problem("data/tUnits.tsv", "has no split units")


def check_types():
    rows = read_tsv(os.path.join(DATA, "tType.tsv"), "tType")
    trees = {}
    for r in rows:
        if r["tablename"] not in TREES:
            problem(r["_line"], f"unknown tree {r['tablename']!r}")
        if not r["name"]:
            problem(r["_line"], "node without a name")
        trees.setdefault(r["tablename"], []).append(r)
    nodes = {}
    for tree in TREES:
        if tree not in trees:
            problem("data/tType.tsv", f"tree {tree} has no nodes")
            continue
        check_codes(trees[tree], f"tree {tree}")
        nodes[tree] = {r["code"]: r["name"] for r in trees[tree]}
        names = [r["name"] for r in trees[tree]]
        dup = {n for n in names if names.count(n) > 1}
        if dup:
            problem("data/tType.tsv", f"tree {tree} repeats the names {sorted(dup)}")
    return nodes


def check_field_show():
    rows = read_tsv(os.path.join(DATA, "tFieldShow.tsv"), "tFieldShow")
    sets = {}
    for r in rows:
        sets.setdefault(r["TableName"], []).append(r)
        for col in ("Width", "ShowID", "show", "showmoney", "SumField", "ShowButton", "DotSize", "ReadOnly"):
            if not is_int(r[col]):
                problem(r["_line"], f"{col} {r[col]!r} is not a whole number")
                break
        else:
            for col in ("show", "showmoney", "SumField", "ShowButton", "ReadOnly"):
                if r[col] not in ("0", "1"):
                    problem(r["_line"], f"{col} must be 0 or 1")
            if r["DotSize"] not in ("0", "1", "2", "3"):
                problem(r["_line"], "DotSize must be 0 to 3")
            if not 30 <= int(r["Width"]) <= 400:
                problem(r["_line"], f"width {r['Width']} is implausible")
            if r["show"] == "1" and r["showmoney"] == "1":
                problem(r["_line"], "a column left out of the chooser must not be shown")
        if r["Color"]:
            problem(r["_line"], "Color is not used and stays empty")
    # set names compare without case, so two spellings would be loaded into one grid together
    lowered = {}
    for name in sets:
        lowered.setdefault(name.lower(), []).append(name)
    for variants in lowered.values():
        if len(variants) > 1:
            problem("data/tFieldShow.tsv", f"set written in several spellings: {variants}")
    sources = {k.lower(): v for k, v in GRID_SOURCES.items()}
    for name in GRID_SOURCES:
        if name.lower() not in lowered:
            problem("data/tFieldShow.tsv", f"set {name} is missing")
    for name, rs in sets.items():
        source = sources.get(name.lower())
        if source is None:
            problem("data/tFieldShow.tsv", f"set {name} is used by no window")
            continue
        known = {f.lower() for f in source}
        fields = [r["Field"].lower() for r in rs]
        captions = [r["Name"] for r in rs]
        for r in rs:
            if r["Field"].lower() not in known:
                problem(r["_line"], f"set {name}: field {r['Field']} is not returned by its window")
            if r["Field"].lower() in SECRET_FIELDS:
                problem(r["_line"], f"set {name}: {r['Field']} must never reach a grid")
            if r["Field"] != r["Field"].strip() or not r["Name"].strip():
                problem(r["_line"], "field or caption is blank")
            if r["SumField"] == "1" and r["DotSize"] not in ("2", "3"):
                warn(r["_line"], f"set {name}: {r['Field']} is summed but is neither quantity nor money")
        for f in set(fields):
            if fields.count(f) > 1:
                problem("data/tFieldShow.tsv", f"set {name}: field {f} appears twice")
        for c in set(captions):
            if captions.count(c) > 1:
                problem("data/tFieldShow.tsv", f"set {name}: caption {c} appears twice")
        ids = sorted(int(r["ShowID"]) for r in rs if is_int(r["ShowID"]))
        if ids != list(range(len(rs))):
            problem("data/tFieldShow.tsv", f"set {name}: ShowID is not 0..{len(rs) - 1}")
        shown = [r for r in rs if r["show"] == "1"]
        if not shown:
            problem("data/tFieldShow.tsv", f"set {name} shows no column")
        if len(shown) > MAX_GRID_COLUMNS:
            problem("data/tFieldShow.tsv", f"set {name} shows more than {MAX_GRID_COLUMNS} columns")
        if name in SEARCHED_SETS:
            table = {f.lower() for f in source}
            for r in rs:
                if r["Field"].lower() not in table:
                    problem(r["_line"], f"set {name} is searched column by column; {r['Field']} is no column")


def check_authority():
    rows = read_tsv(os.path.join(DATA, "tAuthority.tsv"), "tAuthority")
    check_codes(rows, "permission tree")
    names = [r["name"] for r in rows]
    for n in set(names):
        if names.count(n) > 1:
            problem("data/tAuthority.tsv", f"name {n} appears twice (nodes are looked up by name)")
    granted = []
    for r in rows:
        depth = len(r["code"]) // 2
        if depth == 1 and r["authority"]:
            problem(r["_line"], "a heading node grants nothing")
        if depth > 1 and not r["authority"]:
            problem(r["_line"], "a leaf node must name a command")
        if r["authority"]:
            if r["authority"] not in ACTIONS:
                problem(r["_line"], f"{r['authority']} is no command of the main window")
            granted.append(r["authority"])
    for a in set(granted):
        if granted.count(a) > 1:
            problem("data/tAuthority.tsv", f"{a} is granted by two nodes")
    for a in granted:
        for b in granted:
            if a != b and a in b:
                warn("data/tAuthority.tsv",
                     f"{a} is part of {b}: permission strings must be matched by whole name, not by substring")
    return set(granted)


def sheet_headers(path):
    if not os.path.exists(path):
        return None
    with zipfile.ZipFile(path) as z:
        shared = re.findall(r"<si>.*?</si>", z.read("xl/sharedStrings.xml").decode("utf-8"), re.S)
        shared = ["".join(re.findall(r"<t[^>]*>(.*?)</t>", s, re.S)) for s in shared]
        sheet = z.read("xl/worksheets/sheet1.xml").decode("utf-8")
        row1 = re.search(r'<row r="1".*?</row>', sheet, re.S).group(0)
        out = []
        for cell in re.findall(r"<c [^>]*?(?:/>|>.*?</c>)", row1, re.S):
            v = re.search(r"<v>(.*?)</v>", cell)
            out.append(shared[int(v.group(1))] if 't="s"' in cell and v else (v.group(1) if v else ""))
        return out


def check_import():
    rows = read_tsv(os.path.join(DATA, "tImport.tsv"), "tImport")
    per = {}
    for r in rows:
        per.setdefault(r["tablename"], []).append(r)
    headers = sheet_headers(CATALOGUE_SHEET)
    for mapping, table in IMPORT_TABLES.items():
        rs = per.get(mapping, [])
        if not rs:
            problem("data/tImport.tsv", f"no mapping rows for {mapping}")
            continue
        cols = {c.lower(): c for c in TABLES[table]}
        targets = [r["S_Field"].lower() for r in rs]
        for r in rs:
            if r["S_Field"].lower() not in cols:
                problem(r["_line"], f"{r['S_Field']} is no column of {table}")
            if len(r["S_Field"]) > 30 or len(r["FieldName"]) > 50 or len(r["F_Field"]) > 50:
                problem(r["_line"], "text longer than its column")
            if not r["FieldName"]:
                problem(r["_line"], "mapping without a caption")
        for t in set(targets):
            if targets.count(t) > 1:
                problem("data/tImport.tsv", f"{mapping}: {t} is mapped twice")
        missing = set(cols) - set(targets)
        if missing:
            warn("data/tImport.tsv", f"{mapping}: columns not importable: {sorted(missing)}")
        captions = [r["FieldName"] for r in rs]
        for c in set(captions):
            if captions.count(c) > 1:
                problem("data/tImport.tsv", f"{mapping}: caption {c} appears twice")
        if mapping == "Medicine" and headers is not None:
            for r in rs:
                if r["F_Field"] and r["F_Field"] not in headers:
                    problem(r["_line"], f"{r['F_Field']} is no header of the catalogue sheet")
            # the first mapping is by position: row i takes the i-th header
            for i, h in enumerate(headers):
                if i < len(rs) and rs[i]["F_Field"] != h:
                    warn(rs[i]["_line"], f"position {i + 1} holds {rs[i]['FieldName']}, the sheet has {h}")
    for extra in set(per) - set(IMPORT_TABLES):
        problem("data/tImport.tsv", f"mapping for unknown table {extra}")


def check_soft_info():
    rows = read_tsv(os.path.join(DATA, "tSoftInfo.tsv"), "tSoftInfo")
    if len(rows) != 1:
        problem("data/tSoftInfo.tsv", "must hold exactly one row")
    for r in rows:
        for col in ("DotPrice", "DotNumber", "DotMoney"):
            if not is_int(r[col]) or not 0 <= int(r[col]) <= 10:
                problem(r["_line"], f"{col} must be 0 to 10")
        if r["fGoodsCode"] not in ("0", "1"):
            problem(r["_line"], "fGoodsCode must be 0 or 1")


# ---- against the real schema ------------------------------------------------------------------
def build_schema():
    """An in-memory database made from the schema steps, or None when they are not at hand."""
    steps = sorted(glob.glob(os.path.join(HERE, "schema_*.sql")))
    if not steps:
        return None
    db = sqlite3.connect(":memory:")
    for step in steps:
        with open(step, encoding="utf-8") as fh:
            db.executescript(fh.read())
    return db


def real_columns(db, name):
    return [r[1] for r in db.execute(f'SELECT * FROM pragma_table_info("{name}")')]


def check_against_schema(db):
    for table, cols in TABLES.items():
        real = [c for c in real_columns(db, table) if c.lower() not in ("id", "importid")]
        if not real:
            problem("schema", f"table {table} does not exist")
        elif [c.lower() for c in real] != [c.lower() for c in cols]:
            problem("schema", f"columns of {table} differ from this checker's list: {real}")
    for view, cols in VIEWS.items():
        real = {c.lower() for c in real_columns(db, view)}
        missing = [c for c in cols if c.lower() not in real]
        if missing:
            problem("schema", f"view {view} lacks {missing}")
    for name, statements in GRID_QUERIES.items():
        returned = set()
        for sql in statements:
            try:
                cur = db.execute(sql)
            except sqlite3.Error as e:
                problem("schema", f"statement of set {name} fails: {e}")
                continue
            returned |= {d[0].lower() for d in cur.description}
        for f in GRID_SOURCES[name]:
            if f.lower() not in returned:
                problem("schema", f"set {name}: {f} is not returned by its statement")


def load_into(db, folder):
    """Inserts the rows of every file of a folder the way a new database receives them."""
    for path in sorted(glob.glob(os.path.join(folder, "*.tsv"))):
        table = os.path.basename(path)[:-4]
        if table not in TABLES:
            problem(os.path.relpath(path, HERE), "names no known table")
            continue
        types = {r[1].lower(): r[2].upper() for r in db.execute(f'SELECT * FROM pragma_table_info("{table}")')}
        for r in read_tsv(path, table):
            cols, values = [], []
            try:
                for c in TABLES[table]:
                    v, kind = r.get(c, ""), types.get(c.lower(), "TEXT")
                    if kind != "TEXT":
                        if v == "":
                            v = None
                        elif kind == "INTEGER" and "." in v:
                            v = int(round(float(v) * 10000))  # money in yuan -> ten-thousandths
                        elif kind == "INTEGER":
                            v = int(v)
                        else:
                            v = float(v)
                    cols.append(f'"{c}"')
                    values.append(v)
                db.execute(f'INSERT INTO "{table}" ({",".join(cols)}) VALUES ({",".join("?" * len(cols))})', values)
            except (sqlite3.Error, ValueError) as e:
                problem(r["_line"], f"the database refuses the row: {e}")


# ---- sample shop -----------------------------------------------------------------------------------
def check_category(r, where, name_col, code_col, tree, nodes):
    code, name = r[code_col], r[name_col]
    if tree not in nodes:
        return
    if code not in nodes[tree]:
        problem(r["_line"], f"{where}: category code {code!r} is not in the tree {tree}")
    elif nodes[tree][code] != name:
        problem(r["_line"], f"{where}: category {name!r} is not the name of {code} ({nodes[tree][code]})")


def unique(rows, col, where):
    seen = {}
    for r in rows:
        key = r[col].lower()
        if not key:
            problem(r["_line"], f"{where}: empty {col}")
        elif key in seen:
            problem(r["_line"], f"{where}: {col} {r[col]} repeats {seen[key]}")
        else:
            seen[key] = r["_line"]


def check_demo(lists, nodes):
    zones = set(nodes.get("Zone", {}).values())
    meds = read_tsv(os.path.join(DEMO, "tMedicine.tsv"), "tMedicine")
    unique(meds, "MedicineCode", "medicine")
    unique(meds, "MedicineName", "medicine")
    unique(meds, "Barcode", "medicine")
    for r in meds:
        if not re.fullmatch(r"YP\d{4}", r["MedicineCode"]):
            problem(r["_line"], f"medicine code {r['MedicineCode']} is not YP + four digits")
        for col in ("MedicineName", "Manufacturer", "JiXing", "FirstUnits"):
            if not r[col]:
                problem(r["_line"], f"{col} is required")
        if r["JiXing"] not in lists.get("JiXing", set()):
            problem(r["_line"], f"dosage form {r['JiXing']} is not in the list JiXing")
        for col in ("FirstUnits", "SecondUnits"):
            if r[col] and r[col] not in lists.get("Units", set()):
                problem(r["_line"], f"unit {r[col]} is not in the list Units")
        check_category(r, "medicine", "MedicineType", "TypeCode", "Medicine", nodes)
        for col in ("Rate", "StockPrice", "WholesalePrice", "SalePrice", "DepotUP", "DepotDown", "Expiry",
                    "Percentage"):
            if r[col] and not is_number(r[col]):
                problem(r["_line"], f"{col} {r[col]!r} is not a number")
        for col in ("StockPrice", "WholesalePrice", "SalePrice"):
            if r[col] and not re.fullmatch(r"\d+\.\d\d", r[col]):
                problem(r["_line"], f"{col} {r[col]!r} is not written in yuan with two decimals")
        if is_number(r["StockPrice"]) and is_number(r["SalePrice"]):
            buy, sell = float(r["StockPrice"]), float(r["SalePrice"])
            if buy <= 0 or not 1.2 <= sell / buy <= 1.6 + 1e-9:
                problem(r["_line"], f"sale price {sell} is not 20-60 % above the purchase price {buy}")
            if r["WholesalePrice"] and not buy <= float(r["WholesalePrice"]) <= sell:
                problem(r["_line"], "wholesale price lies outside purchase and sale price")
        if r["AgreeNo"] and not re.fullmatch(r"国药准字[HZ]\d{8}|国食健注G\d{8}|.械注准\d{10,12}", r["AgreeNo"]):
            problem(r["_line"], f"approval number {r['AgreeNo']} looks wrong")
        if not initials_match(r["MedicineName"], r["ShortName"]):
            problem(r["_line"], f"mnemonic {r['ShortName']} does not spell the initials of {r['MedicineName']}")
        if r["Barcode"] and not (re.fullmatch(r"\d{13}", r["Barcode"]) and ean13_ok(r["Barcode"])):
            problem(r["_line"], f"bar code {r['Barcode']} is not a valid EAN-13")
    agree = [r["AgreeNo"] for r in meds if r["AgreeNo"]]
    if len(set(agree)) != len(agree):
        problem("demo/tMedicine.tsv", "an approval number is used twice")

    for table, prefix, tree in (("tSupply", "Supply", "Supply"), ("tCustom", "Cust", "Custom")):
        rs = read_tsv(os.path.join(DEMO, table + ".tsv"), table)
        unique(rs, prefix + "Name", table)
        unique(rs, prefix + "Code", table)
        for r in rs:
            check_category(r, table, prefix + "Type", "TypeCode", tree, nodes)
            if r[prefix + "Zone"] and r[prefix + "Zone"] not in zones:
                problem(r["_line"], f"area {r[prefix + 'Zone']} is not in the tree Zone")
    emps = read_tsv(os.path.join(DEMO, "tEmployee.tsv"), "tEmployee")
    unique(emps, "EmployeeCode", "employee")
    unique(emps, "EmployeeName", "employee")
    for r in emps:
        check_category(r, "employee", "EmployeeType", "TypeCode", "Employee", nodes)
        if r["Depart"] not in lists.get("Depart", set()):
            problem(r["_line"], f"department {r['Depart']} is not in the list Depart")
    mems = read_tsv(os.path.join(DEMO, "tMember.tsv"), "tMember")
    unique(mems, "MemberCode", "member")
    for r in mems:
        if r["MemberType"] not in ("高级会员", "普通会员"):
            problem(r["_line"], f"member type {r['MemberType']} is unknown")
        if r["Sex"] not in ("男", "女"):
            problem(r["_line"], f"sex {r['Sex']!r}")
        if r["Point"] and not is_number(r["Point"]):
            problem(r["_line"], "points are not a number")
        for col in ("Birthday", "CreateDate", "EditDate"):
            if r[col] and not re.fullmatch(r"\d{4}-\d\d-\d\d", r[col]):
                problem(r["_line"], f"{col} {r[col]!r} is not yyyy-MM-dd")
        if not initials_match(r["MemberName"], r["ShortName"]):
            problem(r["_line"], f"mnemonic {r['ShortName']} does not spell the initials of {r['MemberName']}")
    company = read_tsv(os.path.join(DEMO, "tCompany.tsv"), "tCompany")
    if len(company) != 1:
        problem("demo/tCompany.tsv", "must hold exactly one row")
    return {"tMedicine": len(meds), "tMember": len(mems), "tEmployee": len(emps)}


def ean13_ok(code):
    s = sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(code[:12]))
    return (10 - s % 10) % 10 == int(code[12])


def main():
    lists = check_other()
    check_units()
    nodes = check_types()
    check_field_show()
    gated = check_authority()
    check_import()
    check_soft_info()
    counts = check_demo(lists, nodes)
    db = build_schema()
    if db is None:
        print("note: no schema steps beside this script; fields checked against the built-in column lists only")
    else:
        check_against_schema(db)
        load_into(db, DATA)
        load_into(db, DEMO)
    for w in warnings:
        print("warning:", w)
    for p in problems:
        print("problem:", p)
    ungated = [a for a in ACTIONS if a not in gated]
    print(f"{len(gated)} commands gated, {len(ungated)} not gated{': ' + ' '.join(ungated) if ungated else ''}")
    print(f"sample shop: {counts}")
    print(f"{0 if problems else 1} passed, {1 if problems else 0} failed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
