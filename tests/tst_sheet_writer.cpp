#include "sheet/SheetWriter.h"
#include "sheet/Workbook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

// The grid export's writer, read back by our own .xlsx reader, and its file-name rule.
class TestSheetWriter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void roundTrip();
    void textIsNeverAFormula_data();
    void textIsNeverAFormula();
    void replacesAnExistingFile();
    void sheetNames_data();
    void sheetNames();
    void unwritableTargets_data();
    void unwritableTargets();
    void cancelLeavesNothing();
    void exportFileName_data();
    void exportFileName();

private:
    QStringList entries() const;
    std::unique_ptr<QTemporaryDir> m_dir;
};

static QVector<ExportColumn> stockColumns() {
    return {{QStringLiteral("药品编码"), ExportColumn::Kind::Text, QString()},
            {QStringLiteral("药品名称"), ExportColumn::Kind::Text, QString()},
            {QStringLiteral("数量"), ExportColumn::Kind::Number, QString()},
            {QStringLiteral("进价"), ExportColumn::Kind::Number, QStringLiteral("0.00")},
            {QStringLiteral("金额"), ExportColumn::Kind::Number, QStringLiteral("#,##0.00")},
            {QStringLiteral("备注"), ExportColumn::Kind::Text, QString()}};
}

static QByteArray sheetXml(const QString& path) {
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(QStringLiteral("xl/worksheets/sheet1.xml")))
        return QByteArray();
    QuaZipFile f(&zip);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

// libxlsxwriter must not be linked (it is loaded at run time beside QuaZip, see
// sheet/XlsxWriterLibrary.h): nothing has loaded it before the first export.
void TestSheetWriter::initTestCase() {
    QVERIFY(!dlopen("libxlsxwriter.so.4", RTLD_LAZY | RTLD_NOLOAD));
    QVERIFY(dlopen("libquazip1-qt6.so.1", RTLD_LAZY | RTLD_NOLOAD)); // the reader's zip library is
}

void TestSheetWriter::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QStringList TestSheetWriter::entries() const {
    return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

void TestSheetWriter::roundTrip() {
    const QString path = m_dir->filePath(QStringLiteral("采购入库.xlsx"));
    const QVector<QVector<QVariant>> rows = {
        {QStringLiteral("YP0001"), QStringLiteral("阿莫西林胶囊"), 10, 8.5, 85.0, QStringLiteral("=1+1")},
        {QStringLiteral("000123"), QStringLiteral("带'引号\"的文字"), QVariant(), QStringLiteral("1.25"),
         1234.5, QString()},
        {QStringLiteral("YP0003"), QStringLiteral("布洛芬"), 3, QStringLiteral("十元"), -0.5,
         QStringLiteral("首营")},
    };
    QString error;
    QVERIFY2(SheetWriter::writeFile(path, QStringLiteral("药品资料"), stockColumns(), rows, &error),
             qPrintable(error));
    QVERIFY(error.isEmpty());
    QCOMPARE(entries(), QStringList{QStringLiteral("采购入库.xlsx")}); // no temporary file left

    const auto book = Workbook::open(path, &error);
    QVERIFY2(book, qPrintable(error));
    QCOMPARE(book->format(), Workbook::Format::Xlsx);
    QCOMPARE(book->sheetNames(), QStringList{QStringLiteral("药品资料")});
    QCOMPARE(book->rowCount(), 4);
    QCOMPARE(book->columnCount(), 6);
    const QVector<ExportColumn> columns = stockColumns();
    for (int c = 0; c < columns.size(); ++c) {
        QCOMPARE(book->cell(1, c + 1).type, SheetCell::Type::Text);
        QCOMPARE(book->text(1, c + 1), columns.at(c).caption);
    }

    // numbers are numbers, with their number format
    QCOMPARE(book->cell(2, 3).type, SheetCell::Type::Number);
    QCOMPARE(book->value(2, 3), QVariant(10.0));
    QCOMPARE(book->text(2, 3), QStringLiteral("10"));
    QCOMPARE(book->cell(2, 4).type, SheetCell::Type::Number);
    QCOMPARE(book->cell(2, 4).formatCode, QStringLiteral("0.00"));
    QCOMPARE(book->text(2, 4), QStringLiteral("8.50"));
    QCOMPARE(book->cell(2, 5).formatCode, QStringLiteral("#,##0.00"));
    QCOMPARE(book->text(2, 5), QStringLiteral("85.00"));
    QCOMPARE(book->text(3, 5), QStringLiteral("1,234.50"));
    QCOMPARE(book->text(4, 5), QStringLiteral("-0.50"));
    // a number column given the text of a number stores the number; other text stays text
    QCOMPARE(book->cell(3, 4).type, SheetCell::Type::Number);
    QCOMPARE(book->value(3, 4), QVariant(1.25));
    QCOMPARE(book->cell(4, 4).type, SheetCell::Type::Text);
    QCOMPARE(book->text(4, 4), QStringLiteral("十元"));

    // text is text: leading zeros kept, quotes kept, "=1+1" is no formula
    QCOMPARE(book->cell(3, 1).type, SheetCell::Type::Text);
    QCOMPARE(book->text(3, 1), QStringLiteral("000123"));
    QCOMPARE(book->text(3, 2), QStringLiteral("带'引号\"的文字"));
    QCOMPARE(book->cell(2, 6).type, SheetCell::Type::Text);
    QCOMPARE(book->text(2, 6), QStringLiteral("=1+1"));
    // null values and empty texts leave the cell empty
    QVERIFY(book->cell(3, 3).isEmpty());
    QVERIFY(book->cell(3, 6).isEmpty());
    QVERIFY(!sheetXml(path).contains("<f>"));
}

void TestSheetWriter::textIsNeverAFormula_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("=") << QStringLiteral("=1+1");
    QTest::newRow("= function") << QStringLiteral("=SUM(A1:A3)");
    QTest::newRow("+") << QStringLiteral("+86 13800000000");
    QTest::newRow("-") << QStringLiteral("-5");
    QTest::newRow("@") << QStringLiteral("@SUM(A1)");
    QTest::newRow("hyperlink") << QStringLiteral("=HYPERLINK(\"http://example.invalid\",\"x\")");
}

void TestSheetWriter::textIsNeverAFormula() {
    QFETCH(QString, text);
    const QString path = m_dir->filePath(QStringLiteral("f.xlsx"));
    const QVector<ExportColumn> columns = {{QStringLiteral("备注"), ExportColumn::Kind::Text, QString()}};
    QString error;
    QVERIFY2(SheetWriter::writeFile(path, QStringLiteral("表"), columns, {{text}}, &error),
             qPrintable(error));
    const auto book = Workbook::open(path, &error);
    QVERIFY2(book, qPrintable(error));
    QCOMPARE(book->cell(2, 1).type, SheetCell::Type::Text);
    QCOMPARE(book->text(2, 1), text);
    QVERIFY(!sheetXml(path).contains("<f>"));
}

void TestSheetWriter::replacesAnExistingFile() {
    const QString path = m_dir->filePath(QStringLiteral("stock.xlsx"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older export");
    old.close();
    const QVector<ExportColumn> columns = {{QStringLiteral("数量"), ExportColumn::Kind::Number, QString()}};
    QString error;
    QVERIFY2(SheetWriter::writeFile(path, QStringLiteral("库存"), columns, {{1}, {2}}, &error),
             qPrintable(error));
    const auto book = Workbook::open(path, &error);
    QVERIFY2(book, qPrintable(error));
    QCOMPARE(book->rowCount(), 3);
    QCOMPARE(book->value(3, 1), QVariant(2.0));
    QCOMPARE(entries(), QStringList{QStringLiteral("stock.xlsx")});
    // the file is readable by others, not left with a temporary file's owner-only mode
    QVERIFY(QFileInfo(path).permissions() & QFileDevice::ReadOther);
}

void TestSheetWriter::sheetNames_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << QStringLiteral("入库单") << QStringLiteral("入库单");
    QTest::newRow("forbidden characters")
        << QStringLiteral("入库/单[1]:*?\\") << QStringLiteral("入库_单_1_____");
    QTest::newRow("empty") << QString() << QStringLiteral("Sheet1");
    QTest::newRow("apostrophes") << QStringLiteral("'药品'") << QStringLiteral("药品");
    QTest::newRow("too long") << QString(40, QChar(0x836F)) << QString(31, QChar(0x836F));
}

void TestSheetWriter::sheetNames() {
    QFETCH(QString, given);
    QFETCH(QString, written);
    QCOMPARE(SheetWriter::sheetNameFor(given), written);
    const QString path = m_dir->filePath(QStringLiteral("n.xlsx"));
    const QVector<ExportColumn> columns = {{QStringLiteral("列"), ExportColumn::Kind::Text, QString()}};
    QString error;
    QVERIFY2(SheetWriter::writeFile(path, given, columns, {{QStringLiteral("x")}}, &error),
             qPrintable(error));
    const auto book = Workbook::open(path, &error);
    QVERIFY2(book, qPrintable(error));
    QCOMPARE(book->sheetNames(), QStringList{written});
}

void TestSheetWriter::unwritableTargets_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << QStringLiteral("no/such/folder/stock.xlsx");
    QTest::newRow("a file as folder") << QStringLiteral("plain.txt/stock.xlsx");
    QTest::newRow("a folder as target") << QStringLiteral("folder");
    if (QFileInfo(QStringLiteral("/proc/self")).exists()) // a folder nobody can create files in, root neither
        QTest::newRow("unwritable folder") << QStringLiteral("/proc/pelmora-export.xlsx");
}

void TestSheetWriter::unwritableTargets() {
    QFETCH(QString, relative);
    QFile plain(m_dir->filePath(QStringLiteral("plain.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    const QStringList before = entries();

    const QString path = QDir::isAbsolutePath(relative) ? relative : m_dir->filePath(relative);
    const QVector<ExportColumn> columns = {{QStringLiteral("列"), ExportColumn::Kind::Text, QString()}};
    QString error;
    QVERIFY(!SheetWriter::writeFile(path, QStringLiteral("表"), columns, {{QStringLiteral("x")}}, &error));
    QVERIFY2(error.startsWith(QStringLiteral("无法写入Excel文件：")), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())), qPrintable(error));
    QCOMPARE(entries(), before);

    // the step-by-step interface reports the same and refuses rows afterwards
    SheetWriter writer;
    QVERIFY(!writer.begin(path, QStringLiteral("表"), columns));
    QVERIFY(writer.errorString().startsWith(QStringLiteral("无法写入Excel文件：")));
    QVERIFY(!writer.addRow({QStringLiteral("x")}));
    QVERIFY(!writer.finish());
}

void TestSheetWriter::cancelLeavesNothing() {
    const QString path = m_dir->filePath(QStringLiteral("stock.xlsx"));
    const QVector<ExportColumn> columns = {{QStringLiteral("列"), ExportColumn::Kind::Text, QString()}};
    {
        SheetWriter writer;
        QVERIFY(writer.begin(path, QStringLiteral("表"), columns));
        QVERIFY(writer.addRow({QStringLiteral("x")}));
        writer.cancel();
        QVERIFY(!writer.finish());
    }
    {
        SheetWriter writer; // dropped unfinished
        QVERIFY(writer.begin(path, QStringLiteral("表"), columns));
        QVERIFY(writer.addRow({QStringLiteral("x")}));
    }
    QVERIFY(entries().isEmpty());
    SheetWriter empty;
    QVERIFY(!empty.begin(path, QStringLiteral("表"), {}));
    QVERIFY(empty.errorString().startsWith(QStringLiteral("无法写入Excel文件：")));
    QVERIFY(entries().isEmpty());
}

void TestSheetWriter::exportFileName_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("used");
    QTest::newRow("no extension") << QStringLiteral("stock") << QStringLiteral("stock.xlsx");
    QTest::newRow("trimmed") << QStringLiteral("  stock  ") << QStringLiteral("stock.xlsx");
    QTest::newRow("Chinese caption") << QStringLiteral("采购入库") << QStringLiteral("采购入库.xlsx");
    QTest::newRow(".xls kept") << QStringLiteral("stock.xls") << QStringLiteral("stock.xls");
    QTest::newRow(".xls inside a longer extension")
        << QStringLiteral("stock.xls.bak") << QStringLiteral("stock.xls.bak");
    QTest::newRow(".xlsx kept") << QStringLiteral("a.xlsx") << QStringLiteral("a.xlsx");
    QTest::newRow(".xlsm kept") << QStringLiteral("a.xlsm") << QStringLiteral("a.xlsm");
    QTest::newRow("trimmed .xlsx") << QStringLiteral(" report.xlsx ") << QStringLiteral("report.xlsx");
    QTest::newRow("upper-case .XLS gets .xlsx") << QStringLiteral("A.XLS") << QStringLiteral("A.XLS.xlsx");
    QTest::newRow("other extension") << QStringLiteral("stock.txt") << QStringLiteral("stock.txt.xlsx");
    QTest::newRow("full path") << QStringLiteral("/home/u/stock") << QStringLiteral("/home/u/stock.xlsx");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks") << QStringLiteral("   ") << QString();
}

void TestSheetWriter::exportFileName() {
    QFETCH(QString, given);
    QFETCH(QString, used);
    QCOMPARE(SheetWriter::exportFileName(given), used);
}

QTEST_APPLESS_MAIN(TestSheetWriter)
#include "tst_sheet_writer.moc"
