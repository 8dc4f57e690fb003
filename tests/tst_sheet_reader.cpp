#include "sheet/NumberFormat.h"
#include "sheet/Workbook.h"
#include "sheet/XlsWorkbook.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

// Reading workbooks: both fixture formats through the one interface, the parts of the .xlsx
// format the fixtures do not use (from a workbook built here), and files that are no
// workbook at all.
class TestSheetReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void formatsFixture_data();
    void formatsFixture();
    void stockinLines_data();
    void stockinLines();
    void catalogue_data();
    void catalogue();
    void picksReaderByContent();
    void xlsxFeatures();
    void badFiles_data();
    void badFiles();
    void mutatedFilesNeverCrash_data();
    void mutatedFilesNeverCrash();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QString writeZip(const QString& name, const QList<QPair<QString, QByteArray>>& entries);
    QByteArray zipBytes(const QList<QPair<QString, QByteArray>>& entries);
    QTemporaryDir m_dir;
};

static QString dataPath(const QString& name) {
    return QStringLiteral(PELMORA_TEST_DATA "/sheet/") + name;
}

static QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A minimal OLE2 compound file holding one empty stream of the given name.
static QByteArray compoundFileWith(const QString& streamName) {
    QByteArray file(512 * 3, '\0');
    char* d = file.data();
    auto put16 = [&](int off, quint16 v) { qToLittleEndian(v, d + off); };
    auto put32 = [&](int off, quint32 v) { qToLittleEndian(v, d + off); };
    memcpy(d, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    put16(0x18, 0x3E);
    put16(0x1A, 3);
    put16(0x1C, 0xFFFE);
    put16(0x1E, 9);
    put16(0x20, 6);
    put32(0x2C, 1); // one FAT sector
    put32(0x30, 1); // directory in sector 1
    put32(0x38, 4096);
    put32(0x3C, 0xFFFFFFFE); // no mini FAT
    put32(0x44, 0xFFFFFFFE); // no DIFAT sectors
    put32(0x4C, 0);          // the FAT is sector 0
    for (int i = 1; i < 109; ++i)
        put32(0x4C + 4 * i, 0xFFFFFFFF);
    const int fat = 512;
    for (int i = 0; i < 128; ++i)
        put32(fat + 4 * i, 0xFFFFFFFF);
    put32(fat, 0xFFFFFFFD);
    put32(fat + 4, 0xFFFFFFFE);
    auto entry = [&](int index, const QString& name, int type) {
        const int off = 1024 + index * 128;
        for (int i = 0; i < name.size(); ++i)
            put16(off + 2 * i, name.at(i).unicode());
        put16(off + 64, static_cast<quint16>((name.size() + 1) * 2));
        d[off + 66] = static_cast<char>(type);
        put32(off + 68, 0xFFFFFFFF);
        put32(off + 72, 0xFFFFFFFF);
        put32(off + 76, type == 5 ? 1 : 0xFFFFFFFF);
        put32(off + 116, 0xFFFFFFFE);
        put32(off + 120, 0);
    };
    entry(0, QStringLiteral("Root Entry"), 5);
    entry(1, streamName, 2);
    return file;
}

void TestSheetReader::initTestCase() {
    QVERIFY(m_dir.isValid());
}

QString TestSheetReader::write(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    f.write(bytes);
    return path;
}

QString TestSheetReader::writeZip(const QString& name, const QList<QPair<QString, QByteArray>>& entries) {
    const QString path = m_dir.filePath(name);
    QFile::remove(path);
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return QString();
    for (const auto& e : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(e.first)))
            return QString();
        file.write(e.second);
        file.close();
    }
    zip.close();
    return path;
}

QByteArray TestSheetReader::zipBytes(const QList<QPair<QString, QByteArray>>& entries) {
    return readAll(writeZip(QStringLiteral("scratch.zip"), entries));
}

// A one-sheet package whose sheet part is `sheet`.
static QList<QPair<QString, QByteArray>> onePackage(const QByteArray& sheet) {
    const QByteArray workbook =
        "<?xml version=\"1.0\"?><workbook "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheets><sheet name=\"表\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    const QByteArray rels =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
        "Target=\"worksheets/sheet1.xml\"/></Relationships>";
    return {{QStringLiteral("xl/workbook.xml"), workbook},
            {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
            {QStringLiteral("xl/worksheets/sheet1.xml"), sheet}};
}

void TestSheetReader::formatsFixture_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");
    for (const char* file : {"formats-public.xlsx", "formats-public.xls"}) {
        for (int row = 2; row <= 23; ++row)
            QTest::newRow(qPrintable(QStringLiteral("%1 row %2").arg(QLatin1String(file)).arg(row)))
                << QString::fromLatin1(file) << row;
    }
}

// Column A holds a value with a number format, B the format code, C the text a spreadsheet
// shows for A.
void TestSheetReader::formatsFixture() {
    QFETCH(QString, file);
    QFETCH(int, row);
    QString error;
    const auto book = Workbook::open(dataPath(file), &error);
    QVERIFY2(book, qPrintable(error));
    QCOMPARE(book->sheetNames(), QStringList{QStringLiteral("格式")});
    QCOMPARE(book->rowCount(), 23);
    QCOMPARE(book->columnCount(), 3);
    QCOMPARE(book->text(1, 1), QStringLiteral("值"));
    QCOMPARE(book->cell(row, 1).formatCode, book->text(row, 2));
    QCOMPARE(book->text(row, 1), book->text(row, 3));
    QCOMPARE(book->isDate(row, 1), row >= 16 && row <= 20);
    if (row == 16)
        QCOMPARE(book->value(row, 1), QVariant(45838.0));
    if (row == 18) {
        QCOMPARE(book->value(row, 1), QVariant(45838.5));
        QCOMPARE(book->valueText(row, 1), QStringLiteral("2025-06-30 12:00:00"));
    }
    if (row == 19)
        QCOMPARE(book->valueText(row, 1), QStringLiteral("18:00:00"));
    if (row == 22) {
        QCOMPARE(book->cell(row, 1).type, SheetCell::Type::Text);
        QCOMPARE(book->value(row, 1), QVariant(QStringLiteral("000123")));
    }
    if (row == 23)
        QCOMPARE(book->value(row, 1), QVariant(123456.0));
}

void TestSheetReader::stockinLines_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("xlsx") << QStringLiteral("stockin-lines.xlsx");
    QTest::newRow("xls") << QStringLiteral("stockin-lines.xls");
}

void TestSheetReader::stockinLines() {
    QFETCH(QString, file);
    QString error;
    const auto book = Workbook::open(dataPath(file), &error);
    QVERIFY2(book, qPrintable(error));
    QCOMPARE(book->sheetNames(), QStringList{QStringLiteral("入库单")});
    QCOMPARE(book->currentSheet(), 0);
    QCOMPARE(book->rowCount(), 4);
    QCOMPARE(book->columnCount(), 21);
    const QStringList captions = {"药品编码", "药品名称", "规格",   "单位",     "数量",   "进价",
                                  "金额",     "批号",     "有效期", "生产厂家", "发票号", "票据编号",
                                  "货位",     "生产日期", "类别",   "会员价",   "售价",   "验收人",
                                  "采购员",   "提成",     "备注"};
    for (int c = 1; c <= 21; ++c)
        QCOMPARE(book->valueText(1, c), captions.at(c - 1));

    // the first line
    QCOMPARE(book->text(2, 1), QStringLiteral("YP0001"));
    QCOMPARE(book->text(2, 3), QStringLiteral("0.25g*24粒"));
    QCOMPARE(book->value(2, 5), QVariant(10.0));
    QCOMPARE(book->text(2, 5), QStringLiteral("10"));
    QCOMPARE(book->text(2, 6), QStringLiteral("8.50"));
    QCOMPARE(book->text(2, 7), QStringLiteral("85.00"));
    QCOMPARE(book->cell(2, 8).type, SheetCell::Type::Text);
    QCOMPARE(book->text(2, 8), QStringLiteral("20261101"));
    QVERIFY(book->isDate(2, 9));
    QCOMPARE(book->value(2, 9), QVariant(47087.0));
    QCOMPARE(book->text(2, 9), QStringLiteral("2028-11-30"));
    QCOMPARE(book->cell(2, 9).formatCode, QStringLiteral("yyyy-mm-dd"));
    QCOMPARE(book->valueText(2, 9), QStringLiteral("2028-11-30"));
    QVERIFY(book->isDate(2, 14));
    QCOMPARE(book->text(2, 14), QStringLiteral("2026-11-01"));
    QCOMPARE(book->text(2, 16), QStringLiteral("11"));
    QCOMPARE(book->text(2, 17), QStringLiteral("12.5"));
    QCOMPARE(book->text(2, 20), QStringLiteral("0"));
    QVERIFY(book->text(2, 21).isEmpty());

    // the second line has an empty first cell: an import skips it
    QVERIFY(book->text(3, 1).isEmpty());
    QCOMPARE(book->text(3, 2), QStringLiteral("（空编码的行应跳过）"));
    QVERIFY(!book->isDate(3, 9));
    QVERIFY(book->text(3, 9).isEmpty());

    // the third line
    QCOMPARE(book->text(4, 1), QStringLiteral("YP0005"));
    QCOMPARE(book->text(4, 6), QStringLiteral("1.25"));
    QCOMPARE(book->text(4, 7), QStringLiteral("3.75"));
    QCOMPARE(book->text(4, 9), QStringLiteral("2027-05-31"));
    QCOMPARE(book->text(4, 14), QStringLiteral("2025-05-01"));
    QCOMPARE(book->text(4, 20), QStringLiteral("0.1"));
    QCOMPARE(book->text(4, 21), QStringLiteral("首营"));

    // outside the used range
    QVERIFY(book->cell(5, 1).isEmpty());
    QVERIFY(book->cell(1, 22).isEmpty());
    QVERIFY(book->cell(0, 0).isEmpty());
    QVERIFY(!book->value(5, 1).isValid());
}

void TestSheetReader::catalogue_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("xlsx") << QStringLiteral("catalogue-import.xlsx");
    QTest::newRow("xls") << QStringLiteral("catalogue-import.xls");
}

void TestSheetReader::catalogue() {
    QFETCH(QString, file);
    QString error;
    const auto book = Workbook::open(dataPath(file), &error);
    QVERIFY2(book, qPrintable(error));
    QCOMPARE(book->sheetNames(), (QStringList{QStringLiteral("药品资料"), QStringLiteral("说明")}));
    QCOMPARE(book->currentSheetName(), QStringLiteral("药品资料"));
    QCOMPARE(book->rowCount(), 34); // header, 30 medicines, three odd rows
    QCOMPARE(book->columnCount(), 14);
    QCOMPARE(book->valueText(1, 1), QStringLiteral("药品编码"));
    QCOMPARE(book->valueText(1, 14), QStringLiteral("备注一"));

    QCOMPARE(book->text(2, 1), QStringLiteral("YP0001"));
    QCOMPARE(book->text(2, 2), QStringLiteral("阿莫西林胶囊"));
    QCOMPARE(book->text(2, 9), QStringLiteral("3.00"));
    QCOMPARE(book->value(2, 9), QVariant(3.0));
    QCOMPARE(book->text(2, 10), QStringLiteral("4.05"));
    QCOMPARE(book->text(2, 11), QStringLiteral("3.45"));
    QCOMPARE(book->text(2, 12), QStringLiteral("730"));
    QCOMPARE(book->text(2, 13), QStringLiteral("6901234100000"));
    QCOMPARE(book->cell(2, 13).type, SheetCell::Type::Text);

    // medicine 4: an apostrophe and a percent sign, read as they are
    QCOMPARE(book->text(5, 1), QStringLiteral("YP0004"));
    QCOMPARE(book->text(5, 14), QStringLiteral("处方药 O'Neil 50%"));

    QCOMPARE(book->text(31, 1), QStringLiteral("YP0030"));
    QCOMPARE(book->text(31, 9), QStringLiteral("42.73"));
    // a row with an empty code, a row repeating YP0002, a purchase price written as text
    QVERIFY(book->text(32, 1).isEmpty());
    QCOMPARE(book->text(32, 2), QStringLiteral("无编码的一行"));
    QCOMPARE(book->text(33, 1), QStringLiteral("YP0002"));
    QCOMPARE(book->text(34, 1), QStringLiteral("YP0099"));
    QCOMPARE(book->cell(34, 9).type, SheetCell::Type::Text);
    QCOMPARE(book->text(34, 9), QStringLiteral("十元"));
    QCOMPARE(book->value(34, 9), QVariant(QStringLiteral("十元")));

    // the second sheet, by name and by index
    QVERIFY(book->selectSheet(QStringLiteral("说明")));
    QCOMPARE(book->currentSheet(), 1);
    QCOMPARE(book->rowCount(), 1);
    QCOMPARE(book->columnCount(), 1);
    QCOMPARE(book->text(1, 1), QStringLiteral("第一张工作表是药品资料"));
    QVERIFY(book->selectSheet(0));
    QCOMPARE(book->rowCount(), 34);
    QVERIFY(book->selectSheet(1));
    QCOMPARE(book->rowCount(), 1);

    // a sheet that does not exist keeps the selection
    QVERIFY(!book->selectSheet(2));
    QVERIFY(!book->errorString().isEmpty());
    QVERIFY(!book->selectSheet(QStringLiteral("不存在")));
    QCOMPARE(book->currentSheet(), 1);
    QCOMPARE(book->text(1, 1), QStringLiteral("第一张工作表是药品资料"));
}

void TestSheetReader::picksReaderByContent() {
    QCOMPARE(Workbook::detectFormat(dataPath(QStringLiteral("stockin-lines.xls"))), Workbook::Format::Xls);
    QCOMPARE(Workbook::detectFormat(dataPath(QStringLiteral("stockin-lines.xlsx"))), Workbook::Format::Xlsx);

    // an .xlsx named .xls and an .xls named .xlsx open all the same
    const QString xlsxAsXls =
        write(QStringLiteral("really-xlsx.xls"), readAll(dataPath(QStringLiteral("stockin-lines.xlsx"))));
    const QString xlsAsXlsx =
        write(QStringLiteral("really-xls.xlsx"), readAll(dataPath(QStringLiteral("stockin-lines.xls"))));
    QString error;
    auto a = Workbook::open(xlsxAsXls, &error);
    QVERIFY2(a, qPrintable(error));
    QCOMPARE(a->format(), Workbook::Format::Xlsx);
    QCOMPARE(a->text(2, 9), QStringLiteral("2028-11-30"));
    auto b = Workbook::open(xlsAsXlsx, &error);
    QVERIFY2(b, qPrintable(error));
    QCOMPARE(b->format(), Workbook::Format::Xls);
    QCOMPARE(b->text(2, 9), QStringLiteral("2028-11-30"));
    QVERIFY(static_cast<XlsWorkbook*>(b.get())->hasFormats());
}

void TestSheetReader::xlsxFeatures() {
    const QByteArray rootRels = "<?xml version=\"1.0\"?><Relationships "
                                "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                "<Relationship Id=\"rId1\" "
                                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                                "officeDocument\" Target=\"xl/workbook.xml\"/>"
                                "</Relationships>";
    const QByteArray workbook =
        "<?xml version=\"1.0\"?><workbook "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<workbookPr date1904=\"1\"/><sheets>"
        "<sheet name=\"数据\" sheetId=\"1\" r:id=\"rId1\"/>"
        "<sheet name=\"图表\" sheetId=\"2\" r:id=\"rId2\"/>"
        "<sheet name=\"第二\" sheetId=\"3\" state=\"hidden\" r:id=\"rId3\"/>"
        "</sheets></workbook>";
    const QByteArray rels = "<?xml version=\"1.0\"?><Relationships "
                            "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                            "<Relationship Id=\"rId1\" "
                            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                            "worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                            "<Relationship Id=\"rId2\" "
                            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                            "chartsheet\" Target=\"chartsheets/sheet1.xml\"/>"
                            "<Relationship Id=\"rId3\" "
                            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                            "worksheet\" Target=\"/xl/worksheets/other.xml\"/>"
                            "<Relationship Id=\"rId4\" "
                            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                            "sharedStrings\" Target=\"strings.xml\"/>"
                            "<Relationship Id=\"rId5\" "
                            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                            "styles\" Target=\"styles.xml\"/>"
                            "</Relationships>";
    const QByteArray strings =
        "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<si><r><t>阿莫</t></r><r><rPr><b/></rPr><t>西林</t></r><rPh sb=\"0\" eb=\"1\"><t>アモ</t></rPh></si>"
        "<si><t>a_x000D_b</t></si>"
        "<si><t xml:space=\"preserve\"> 空格 </t></si>"
        "</sst>";
    const QByteArray styles = "<?xml version=\"1.0\"?><styleSheet "
                              "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                              "<numFmts count=\"1\"><numFmt numFmtId=\"164\" "
                              "formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/></numFmts>"
                              "<cellStyleXfs count=\"1\"><xf numFmtId=\"14\"/></cellStyleXfs>"
                              "<cellXfs count=\"3\"><xf numFmtId=\"0\" xfId=\"0\"/><xf numFmtId=\"164\" "
                              "xfId=\"0\"/><xf numFmtId=\"10\" xfId=\"0\"/></cellXfs>"
                              "</styleSheet>";
    const QByteArray sheet1 =
        "<?xml version=\"1.0\"?><worksheet "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<dimension ref=\"A1\"/><sheetData>"
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>内联</t></is></c>"
        "<c r=\"C1\" t=\"b\"><v>1</v></c><c r=\"D1\" t=\"e\"><v>#N/A</v></c>"
        "<c r=\"E1\" t=\"str\"><f>\"公式\"&amp;\"结果\"</f><v>公式结果</v></c></row>"
        "<row r=\"3\"><c s=\"1\"><v>0</v></c><c s=\"2\"><v>0.125</v></c><c r=\"G3\" s=\"1\"/></row>"
        "<row r=\"4\"><c r=\"C4\" t=\"s\"><v>1</v></c><c r=\"D4\" t=\"s\"><v>2</v></c><c "
        "r=\"F4\"><v></v></c></row>"
        "<row><c><v>7</v></c></row>"
        "</sheetData></worksheet>";
    const QByteArray other =
        "<?xml version=\"1.0\"?><worksheet "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<sheetData><row r=\"2\"><c r=\"B2\" "
        "t=\"inlineStr\"><is><r><t>第</t></r><r><t>二</t></r></is></c></row></sheetData></worksheet>";
    const QString path =
        writeZip(QStringLiteral("features.xlsx"), {{QStringLiteral("_rels/.rels"), rootRels},
                                                   {QStringLiteral("xl/workbook.xml"), workbook},
                                                   {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
                                                   {QStringLiteral("xl/strings.xml"), strings},
                                                   {QStringLiteral("xl/styles.xml"), styles},
                                                   {QStringLiteral("xl/worksheets/sheet1.xml"), sheet1},
                                                   {QStringLiteral("xl/worksheets/other.xml"), other}});
    QVERIFY(!path.isEmpty());
    QString error;
    const auto book = Workbook::open(path, &error);
    QVERIFY2(book, qPrintable(error));
    QVERIFY(book->date1904());
    QCOMPARE(book->sheetNames(), (QStringList{QStringLiteral("数据"), QStringLiteral("第二")}));
    // the real used range, not the dimension element; a cell with only a style does not count
    QCOMPARE(book->rowCount(), 5);
    QCOMPARE(book->columnCount(), 5);

    QCOMPARE(book->text(1, 1), QStringLiteral("阿莫西林"));
    QCOMPARE(book->text(1, 2), QStringLiteral("内联"));
    QCOMPARE(book->cell(1, 3).type, SheetCell::Type::Boolean);
    QCOMPARE(book->value(1, 3), QVariant(true));
    QCOMPARE(book->text(1, 3), QStringLiteral("TRUE"));
    QCOMPARE(book->cell(1, 4).type, SheetCell::Type::Error);
    QCOMPARE(book->text(1, 4), QStringLiteral("#N/A"));
    QCOMPARE(book->text(1, 5), QStringLiteral("公式结果"));

    QVERIFY(book->isDate(3, 1));
    QCOMPARE(book->value(3, 1), QVariant(0.0));
    QCOMPARE(book->text(3, 1), QStringLiteral("1904年1月1日"));
    QCOMPARE(book->valueText(3, 1), QStringLiteral("1904-01-01"));
    QCOMPARE(book->text(3, 2), QStringLiteral("12.50%"));
    QVERIFY(book->cell(3, 7).isEmpty());

    QCOMPARE(book->text(4, 3), QStringLiteral("a\rb"));
    QCOMPARE(book->text(4, 4), QStringLiteral(" 空格 "));
    QVERIFY(book->cell(4, 6).isEmpty());
    QCOMPARE(book->value(5, 1), QVariant(7.0));

    QVERIFY(book->selectSheet(QStringLiteral("第二")));
    QCOMPARE(book->rowCount(), 2);
    QCOMPARE(book->columnCount(), 2);
    QCOMPARE(book->text(2, 2), QStringLiteral("第二"));
}

void TestSheetReader::badFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason"); // a word the message must contain

    const QByteArray xlsx = readAll(dataPath(QStringLiteral("catalogue-import.xlsx")));
    const QByteArray xls = readAll(dataPath(QStringLiteral("catalogue-import.xls")));
    QTest::newRow("text renamed .xlsx")
        << QStringLiteral("text.xlsx") << QByteArray("药品编码,药品名称\nYP0001,阿莫西林\n")
        << QStringLiteral("不是Excel");
    QTest::newRow("empty .xls") << QStringLiteral("empty.xls") << QByteArray() << QStringLiteral("空");
    QTest::newRow("empty .xlsx") << QStringLiteral("empty.xlsx") << QByteArray() << QStringLiteral("空");
    QTest::newRow("truncated zip") << QStringLiteral("half.xlsx") << xlsx.left(xlsx.size() / 2)
                                   << QStringLiteral("损坏");
    QTest::newRow("zip header only") << QStringLiteral("header.xlsx") << xlsx.left(30)
                                     << QStringLiteral("损坏");
    QTest::newRow("truncated xls") << QStringLiteral("half.xls") << xls.left(2000) << QStringLiteral("损坏");
    QTest::newRow("compound file signature, then noise")
        << QStringLiteral("noise.xls") << QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(4000, '\x5A')
        << QStringLiteral("损坏");
    QTest::newRow("web page renamed .xls")
        << QStringLiteral("page.xls")
        << QByteArray("<html><body><table><tr><td>1</td></tr></table></body></html>")
        << QStringLiteral("网页");
    QTest::newRow("password-protected xlsx")
        << QStringLiteral("locked.xlsx") << compoundFileWith(QStringLiteral("EncryptedPackage"))
        << QStringLiteral("密码");
    QTest::newRow("zip without a workbook")
        << QStringLiteral("archive.xlsx") << zipBytes({{QStringLiteral("readme.txt"), QByteArray("hello")}})
        << QStringLiteral("缺少工作簿内容");
    QTest::newRow("sheet XML cut short")
        << QStringLiteral("cut.xlsx")
        << zipBytes(
               onePackage("<?xml version=\"1.0\"?><worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v>"))
        << QStringLiteral("工作表“表”");
    QTest::newRow("shared string out of range")
        << QStringLiteral("dangling.xlsx")
        << zipBytes(
               onePackage("<?xml version=\"1.0\"?><worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\">"
                          "<v>5</v></c></row></sheetData></worksheet>"))
        << QStringLiteral("共享字符串");
    QTest::newRow("Word document renamed .xls")
        << QStringLiteral("letter.xls") << compoundFileWith(QStringLiteral("WordDocument"))
        << QStringLiteral("不是Excel");
}

void TestSheetReader::badFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = write(name, bytes);
    QVERIFY(!path.isEmpty());
    QString error;
    const auto book = Workbook::open(path, &error);
    QVERIFY(!book);
    QVERIFY2(error.startsWith(QStringLiteral("无法打开Excel文件：")), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY2(error.contains(name), qPrintable(error));
}

void TestSheetReader::mutatedFilesNeverCrash_data() {
    QTest::addColumn<QString>("file");
    for (const char* f : {"formats-public.xls", "stockin-lines.xls", "catalogue-import.xls",
                          "formats-public.xlsx", "stockin-lines.xlsx", "catalogue-import.xlsx"})
        QTest::newRow(f) << QString::fromLatin1(f);
}

// Damaged copies of the fixtures (bytes changed, files cut short) open or fail with a message;
// nothing crashes, and every cell of an opened copy can be shown. PELMORA_SHEET_MUTATIONS and
// PELMORA_SHEET_SEED run more or other copies (for a sanitizer build, say).
void TestSheetReader::mutatedFilesNeverCrash() {
    QFETCH(QString, file);
    const QByteArray original = readAll(dataPath(file));
    QVERIFY(!original.isEmpty());
    const int count = qEnvironmentVariableIsSet("PELMORA_SHEET_MUTATIONS")
                          ? qEnvironmentVariableIntValue("PELMORA_SHEET_MUTATIONS")
                          : 150;
    const quint32 seed = qEnvironmentVariableIsSet("PELMORA_SHEET_SEED")
                             ? static_cast<quint32>(qEnvironmentVariableIntValue("PELMORA_SHEET_SEED"))
                             : 20251211u;
    QRandomGenerator random(seed);
    int opened = 0;
    for (int i = 0; i < count; ++i) {
        QByteArray bytes = original;
        if (i % 5 == 4) {
            bytes.truncate(static_cast<int>(random.bounded(static_cast<quint32>(bytes.size()))));
        } else {
            const int flips = 1 + static_cast<int>(random.bounded(8u));
            for (int k = 0; k < flips; ++k) {
                const int at = static_cast<int>(random.bounded(static_cast<quint32>(bytes.size())));
                bytes[at] = static_cast<char>(random.bounded(256u));
            }
        }
        const QString path = write(QStringLiteral("mutated-%1-%2").arg(i).arg(file), bytes);
        QString error;
        const auto book = Workbook::open(path, &error);
        if (!book) {
            QVERIFY2(error.startsWith(QStringLiteral("无法打开Excel文件：")), qPrintable(error));
            continue;
        }
        ++opened;
        for (int s = 0; s < book->sheetCount(); ++s) {
            if (!book->selectSheet(s)) {
                QVERIFY(!book->errorString().isEmpty());
                continue;
            }
            for (int r = 1; r <= qMin(book->rowCount(), 200); ++r) {
                for (int c = 1; c <= qMin(book->columnCount(), 64); ++c) {
                    book->text(r, c);
                    book->valueText(r, c);
                }
            }
        }
        QFile::remove(path);
    }
    qInfo("%d of %d damaged copies still opened", opened, count);
}

QTEST_APPLESS_MAIN(TestSheetReader)
#include "tst_sheet_reader.moc"
