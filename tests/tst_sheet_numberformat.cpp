#include "sheet/NumberFormat.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

// The number-format renderer as a table: the public fixture (values, codes and the text an
// independent implementation displays) and our own cases for each part of the format language.
class TestNumberFormat : public QObject {
    Q_OBJECT
private slots:
    void fixture_data();
    void fixture();
    void numbers_data();
    void numbers();
    void dates_data();
    void dates();
    void texts_data();
    void texts();
    void general_data();
    void general();
    void builtinCodes();
    void dateFormats_data();
    void dateFormats();
    void timeFormats();
};

static QString dataPath(const QString& name) {
    return QStringLiteral(PELMORA_TEST_DATA "/sheet/") + name;
}

void TestNumberFormat::fixture_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("displayed");

    QFile json(dataPath(QStringLiteral("formats-public.json")));
    QVERIFY(json.open(QIODevice::ReadOnly));
    const QJsonArray cases = QJsonDocument::fromJson(json.readAll()).array();
    QFile tsv(dataPath(QStringLiteral("formats-public.expected.tsv")));
    QVERIFY(tsv.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(tsv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size() - 1, cases.size()); // a header line, then one line per case
    for (int i = 0; i < cases.size(); ++i) {
        const QJsonArray c = cases.at(i).toArray();
        const QStringList fields = lines.at(i + 1).split(QLatin1Char('\t'));
        QCOMPARE(fields.size(), 3);
        QCOMPARE(fields.at(1), c.at(2).toString());
        QTest::newRow(qPrintable(QStringLiteral("row %1: %2").arg(fields.at(0), fields.at(1))))
            << c.at(0).toString() << c.at(1).toVariant() << fields.at(1) << fields.at(2);
    }
}

void TestNumberFormat::fixture() {
    QFETCH(QString, kind);
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, displayed);
    if (kind == QLatin1String("n"))
        QCOMPARE(NumberFormat::render(value.toDouble(), format), displayed);
    else
        QCOMPARE(NumberFormat::renderText(value.toString(), format), displayed);
}

void TestNumberFormat::numbers_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("displayed");
    auto row = [](const char* name, double v, const QString& f, const QString& d) {
        QTest::newRow(name) << v << f << d;
    };
    row("empty code is General", 12.5, QString(), QStringLiteral("12.5"));
    row("0.00 ties away from zero", 1.005, QStringLiteral("0.00"), QStringLiteral("1.01"));
    row("0.00 of zero", 0, QStringLiteral("0.00"), QStringLiteral("0.00"));
    row("0.00 negative", -1.234, QStringLiteral("0.00"), QStringLiteral("-1.23"));
    row("0 negative tie", -2.5, QStringLiteral("0"), QStringLiteral("-3"));
    row("#,##0 zero", 0, QStringLiteral("#,##0"), QStringLiteral("0"));
    row("#,##0 carries", 999.5, QStringLiteral("#,##0"), QStringLiteral("1,000"));
    row("#,##0 negative", -1234567, QStringLiteral("#,##0"), QStringLiteral("-1,234,567"));
    row("#,##0.00", 1234.5, QStringLiteral("#,##0.00"), QStringLiteral("1,234.50"));
    row("trailing comma scales", 1234567, QStringLiteral("#,##0,"), QStringLiteral("1,235"));
    row("two trailing commas", 1234567, QStringLiteral("0.0,,"), QStringLiteral("1.2"));
    row("# drops a zero integer", 0.5, QStringLiteral("#.##"), QStringLiteral(".5"));
    row("# keeps the point", 5, QStringLiteral("#.##"), QStringLiteral("5."));
    row("0.0# short", 1.5, QStringLiteral("0.0#"), QStringLiteral("1.5"));
    row("0.0# long", 1.234, QStringLiteral("0.0#"), QStringLiteral("1.23"));
    row("? pads with spaces", 1.5, QStringLiteral("???.??"), QStringLiteral("  1.5 "));
    row("literal inside digits", 1234567, QStringLiteral("000-0000"), QStringLiteral("123-4567"));
    row("00000 overflow", 1234567, QStringLiteral("00000"), QStringLiteral("1234567"));
    row("exponent", 12345, QStringLiteral("0.00E+00"), QStringLiteral("1.23E+04"));
    row("exponent small", 0.00012, QStringLiteral("0.00E+00"), QStringLiteral("1.20E-04"));
    row("exponent zero", 0, QStringLiteral("0.00E+00"), QStringLiteral("0.00E+00"));
    row("exponent rounds up", 9.999, QStringLiteral("0.00E+00"), QStringLiteral("1.00E+01"));
    row("exponent E-", 12345, QStringLiteral("0.0E-0"), QStringLiteral("1.2E4"));
    row("engineering", 12345, QStringLiteral("##0.0E+0"), QStringLiteral("12.3E+3"));
    row("engineering 2", 1234567, QStringLiteral("##0.0E+0"), QStringLiteral("1.2E+6"));
    row("fraction", 1.5, QStringLiteral("# ?/?"), QStringLiteral("1 1/2"));
    row("fraction two digits", 3.14159265358979, QStringLiteral("# ?\?/?\?"), QStringLiteral("3 14/99"));
    row("fraction whole", 2, QStringLiteral("# ?/?"), QStringLiteral("2    "));
    row("fraction fixed denominator", 0.5, QStringLiteral("?/8"), QStringLiteral("4/8"));
    row("fraction without integer", 1.75, QStringLiteral("?/?"), QStringLiteral("7/4"));
    row("percent", 0.5, QStringLiteral("0%"), QStringLiteral("50%"));
    row("percent negative", -0.1234, QStringLiteral("0.0%"), QStringLiteral("-12.3%"));
    row("negative section", -5, QStringLiteral("0;(0)"), QStringLiteral("(5)"));
    row("zero section", 0, QStringLiteral("0;-0;\"零\""), QStringLiteral("零"));
    row("empty negative section", -5, QStringLiteral("0;;"), QString());
    row("all sections empty", 5, QStringLiteral(";;;"), QString());
    row("condition first", 150, QStringLiteral("[>=100]\"大\";[<0]\"负\";\"小\""), QStringLiteral("大"));
    row("condition second", -3, QStringLiteral("[>=100]\"大\";[<0]\"负\";\"小\""), QStringLiteral("负"));
    row("condition else", 5, QStringLiteral("[>=100]\"大\";[<0]\"负\";\"小\""), QStringLiteral("小"));
    row("condition phone short", 5551234, QStringLiteral("[<=9999999]###-####;(###) ###-####"),
        QStringLiteral("555-1234"));
    row("condition phone long", 8005551234.0, QStringLiteral("[<=9999999]###-####;(###) ###-####"),
        QStringLiteral("(800) 555-1234"));
    row("condition keeps the sign", -5, QStringLiteral("[>=100]0;0.0"), QStringLiteral("-5.0"));
    row("colour ignored", -1, QStringLiteral("[Red]0.00"), QStringLiteral("-1.00"));
    row("colour number ignored", 3, QStringLiteral("[Color10]0"), QStringLiteral("3"));
    row("quoted suffix", 5, QStringLiteral("0\"元\""), QStringLiteral("5元"));
    row("unquoted CJK suffix", 5, QStringLiteral("0.00元"), QStringLiteral("5.00元"));
    row("escaped characters", 1.5, QStringLiteral("0.0\\ \\k\\g"), QStringLiteral("1.5 kg"));
    row("currency negative, one section", -12.5, QStringLiteral("\"￥\"#,##0.00"),
        QStringLiteral("-￥12.50"));
    row("underscore spaces", 5, QStringLiteral("_(0_)"), QStringLiteral(" 5 "));
    row("fill dropped", 5, QStringLiteral("* 0"), QStringLiteral("5"));
    row("General with a suffix", 5, QStringLiteral("General\" 元\""), QStringLiteral("5 元"));
    row("General with a suffix, negative", -5, QStringLiteral("General\" 元\""), QStringLiteral("-5 元"));
    row("number in a text format", 123456, QStringLiteral("@"), QStringLiteral("123456"));
    row("currency prefix", 1234.5, QStringLiteral("[$￥-804]#,##0.00"), QStringLiteral("￥1,234.50"));
    row("locale prefix dropped", 3.5, QStringLiteral("[$-804]0.0"), QStringLiteral("3.5"));
    row("built-in 7 positive", 12.5, NumberFormat::builtinCode(7), QStringLiteral("¥12.50"));
    row("built-in 7 negative", -12.5, NumberFormat::builtinCode(7), QStringLiteral("¥-12.50"));
    row("accounting zero", 0, NumberFormat::builtinCode(41), QStringLiteral(" - "));
    row("accounting positive", 1234, NumberFormat::builtinCode(41), QStringLiteral(" 1,234 "));
    row("built-in 37 negative", -1234, NumberFormat::builtinCode(37), QStringLiteral("(1,234)"));
    row("built-in 11", 1234.5, NumberFormat::builtinCode(11), QStringLiteral("1.23E+03"));
    row("built-in 12", 0.25, NumberFormat::builtinCode(12), QStringLiteral(" 1/4"));
}

void TestNumberFormat::numbers() {
    QFETCH(double, value);
    QFETCH(QString, format);
    QFETCH(QString, displayed);
    QCOMPARE(NumberFormat::render(value, format), displayed);
}

void TestNumberFormat::dates_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("date1904");
    QTest::addColumn<QString>("displayed");
    auto row = [](const char* name, double v, const QString& f, const QString& d, bool d1904 = false) {
        QTest::newRow(name) << v << f << d1904 << d;
    };
    const double june30 = 45838; // 2025-06-30, a Monday
    row("yyyy-mm-dd", june30, QStringLiteral("yyyy-mm-dd"), QStringLiteral("2025-06-30"));
    row("yy/m/d", june30, QStringLiteral("yy/m/d"), QStringLiteral("25/6/30"));
    row("mmm d, yyyy", june30, QStringLiteral("mmm d, yyyy"), QStringLiteral("Jun 30, 2025"));
    row("mmmm", june30, QStringLiteral("mmmm"), QStringLiteral("June"));
    row("mmmmm", june30, QStringLiteral("mmmmm"), QStringLiteral("J"));
    row("ddd", june30, QStringLiteral("ddd"), QStringLiteral("Mon"));
    row("dddd", june30, QStringLiteral("dddd"), QStringLiteral("Monday"));
    row("aaaa", june30, QStringLiteral("aaaa"), QStringLiteral("星期一"));
    row("aaa", june30, QStringLiteral("aaa"), QStringLiteral("一"));
    row("Chinese month name", june30, QStringLiteral("[$-804]mmmm"), QStringLiteral("六月"));
    row("Chinese weekday", june30, QStringLiteral("[$-804]dddd"), QStringLiteral("星期一"));
    row("Chinese date", june30, QStringLiteral("[$-804]yyyy\"年\"m\"月\"d\"日\""),
        QStringLiteral("2025年6月30日"));
    row("system long date", june30, QStringLiteral("[$-F800]dddd, mmmm dd, yyyy"),
        QStringLiteral("2025年6月30日"));
    row("built-in 14", june30, NumberFormat::builtinCode(14), QStringLiteral("2025/6/30"));
    row("built-in 22", june30 + 0.5, NumberFormat::builtinCode(22), QStringLiteral("2025/6/30 12:00"));
    row("built-in 31", june30, NumberFormat::builtinCode(31), QStringLiteral("2025年6月30日"));
    row("built-in 57", june30, NumberFormat::builtinCode(57), QStringLiteral("2025年6月"));
    row("PM", 0.75, QStringLiteral("h:mm AM/PM"), QStringLiteral("6:00 PM"));
    row("AM", 0.25, QStringLiteral("h:mm AM/PM"), QStringLiteral("6:00 AM"));
    row("midnight", 0, QStringLiteral("h:mm AM/PM"), QStringLiteral("12:00 AM"));
    row("a/p", 0.75, QStringLiteral("h a/p"), QStringLiteral("6 p"));
    row("下午", 0.75, QStringLiteral("上午/下午h\"时\"mm\"分\""), QStringLiteral("下午6时00分"));
    row("built-in 35", 0.25, NumberFormat::builtinCode(35), QStringLiteral("上午6时00分00秒"));
    row("seconds", 0.5 + 1.0 / 86400, QStringLiteral("hh:mm:ss"), QStringLiteral("12:00:01"));
    row("fractional seconds", 1.5 / 86400, QStringLiteral("mm:ss.0"), QStringLiteral("00:01.5"));
    row("fractional seconds 3", 1.2345 / 86400, QStringLiteral("ss.000"), QStringLiteral("01.235"));
    row("elapsed hours", 1.5, QStringLiteral("[h]:mm:ss"), QStringLiteral("36:00:00"));
    row("elapsed minutes", 0.0625, QStringLiteral("[mm]:ss"), QStringLiteral("90:00"));
    row("m after h is minutes", 0.5 + 5.0 / 1440, QStringLiteral("h:m"), QStringLiteral("12:5"));
    row("m before s is minutes", 0.5 + 90.0 / 86400, QStringLiteral("mm:ss"), QStringLiteral("01:30"));
    row("m alone is the month", june30, QStringLiteral("m"), QStringLiteral("6"));
    row("rounds to the next day", june30 + 0.999999999, QStringLiteral("yyyy-mm-dd hh:mm:ss"),
        QStringLiteral("2025-07-01 00:00:00"));
    row("day 0", 0, QStringLiteral("yyyy-mm-dd"), QStringLiteral("1900-01-00"));
    row("day 1", 1, QStringLiteral("yyyy-mm-dd"), QStringLiteral("1900-01-01"));
    row("phantom 29 February", 60, QStringLiteral("yyyy-mm-dd"), QStringLiteral("1900-02-29"));
    row("1 March 1900", 61, QStringLiteral("yyyy-mm-dd"), QStringLiteral("1900-03-01"));
    row("1904 system", 0, QStringLiteral("yyyy-mm-dd"), QStringLiteral("1904-01-01"), true);
    row("1904 system, a later day", 44376, QStringLiteral("yyyy-mm-dd"), QStringLiteral("2025-06-30"), true);
    row("negative date shows General", -1, QStringLiteral("yyyy-mm-dd"), QStringLiteral("-1"));
    row("date in the second section", 5, QStringLiteral("0;yyyy"), QStringLiteral("5"));
}

void TestNumberFormat::dates() {
    QFETCH(double, value);
    QFETCH(QString, format);
    QFETCH(bool, date1904);
    QFETCH(QString, displayed);
    QCOMPARE(NumberFormat::render(value, format, date1904), displayed);
}

void TestNumberFormat::texts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("displayed");
    QTest::newRow("@") << QStringLiteral("阿莫西林") << QStringLiteral("@") << QStringLiteral("阿莫西林");
    QTest::newRow("literals around @")
        << QStringLiteral("abc") << QStringLiteral("\"前\"@\"后\"") << QStringLiteral("前abc后");
    QTest::newRow("number format keeps text")
        << QStringLiteral("十元") << QStringLiteral("0.00") << QStringLiteral("十元");
    QTest::newRow("General keeps text")
        << QStringLiteral("000123") << QStringLiteral("General") << QStringLiteral("000123");
    QTest::newRow("fourth section") << QStringLiteral("abc") << QStringLiteral("0;0;0;\"文本:\"@")
                                    << QStringLiteral("文本:abc");
    QTest::newRow("fourth section without @")
        << QStringLiteral("abc") << QStringLiteral("0;0;0;\"隐藏\"") << QStringLiteral("隐藏");
    QTest::newRow("apostrophe and percent")
        << QStringLiteral("处方药 O'Neil 50%") << QStringLiteral("@") << QStringLiteral("处方药 O'Neil 50%");
}

void TestNumberFormat::texts() {
    QFETCH(QString, text);
    QFETCH(QString, format);
    QFETCH(QString, displayed);
    QCOMPARE(NumberFormat::renderText(text, format), displayed);
}

void TestNumberFormat::general_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("displayed");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
    QTest::newRow("integer") << 100.0 << QStringLiteral("100");
    QTest::newRow("binary noise") << 0.1 + 0.2 << QStringLiteral("0.3");
    QTest::newRow("third") << 1.0 / 3 << QStringLiteral("0.333333333");
    QTest::newRow("two thirds") << 2.0 / 3 << QStringLiteral("0.666666667");
    QTest::newRow("eleven characters") << 12345.6789012 << QStringLiteral("12345.6789");
    QTest::newRow("ten digits") << 1234567890.5 << QStringLiteral("1234567891");
    QTest::newRow("eleven digits") << 12345678901.0 << QStringLiteral("12345678901");
    QTest::newRow("large") << 123456789012.0 << QStringLiteral("1.23457E+11");
    QTest::newRow("power of ten") << 1e11 << QStringLiteral("1E+11");
    QTest::newRow("small") << 0.000012345 << QStringLiteral("1.2345E-05");
    QTest::newRow("small but shown") << 0.000123456789 << QStringLiteral("0.000123457");
    QTest::newRow("negative") << -0.5 << QStringLiteral("-0.5");
    QTest::newRow("huge") << 1.5e100 << QStringLiteral("1.5E+100");
}

void TestNumberFormat::general() {
    QFETCH(double, value);
    QFETCH(QString, displayed);
    QCOMPARE(NumberFormat::general(value), displayed);
    QCOMPARE(NumberFormat::render(value, QStringLiteral("General")), displayed);
}

void TestNumberFormat::builtinCodes() {
    QCOMPARE(NumberFormat::builtinCode(0), QStringLiteral("General"));
    QCOMPARE(NumberFormat::builtinCode(2), QStringLiteral("0.00"));
    QCOMPARE(NumberFormat::builtinCode(14), QStringLiteral("yyyy/m/d"));
    QCOMPARE(NumberFormat::builtinCode(21), QStringLiteral("h:mm:ss"));
    QCOMPARE(NumberFormat::builtinCode(31), QStringLiteral("yyyy\"年\"m\"月\"d\"日\""));
    QCOMPARE(NumberFormat::builtinCode(49), QStringLiteral("@"));
    QVERIFY(NumberFormat::builtinCode(23).isEmpty());
    QVERIFY(NumberFormat::builtinCode(164).isEmpty());
    for (int id : {14, 15, 16, 17, 18, 19, 20, 21, 22, 27, 28, 29, 30, 31, 32, 33,
                   34, 35, 36, 45, 46, 47, 50, 51, 52, 53, 54, 55, 56, 57, 58})
        QVERIFY2(NumberFormat::isDateFormat(NumberFormat::builtinCode(id)), qPrintable(QString::number(id)));
    for (int id : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 37, 38, 39, 40, 41, 42, 43, 44, 48, 49})
        QVERIFY2(!NumberFormat::isDateFormat(NumberFormat::builtinCode(id)), qPrintable(QString::number(id)));
}

void TestNumberFormat::dateFormats_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("isDate");
    QTest::newRow("yyyy-mm-dd") << QStringLiteral("yyyy-mm-dd") << true;
    QTest::newRow("[h]:mm") << QStringLiteral("[h]:mm") << true;
    QTest::newRow("locale date") << QStringLiteral("[$-804]yyyy\"年\"") << true;
    QTest::newRow("0.00") << QStringLiteral("0.00") << false;
    QTest::newRow("General") << QStringLiteral("General") << false;
    QTest::newRow("quoted y") << QStringLiteral("\"y\"0") << false;
    QTest::newRow("escaped d") << QStringLiteral("0\\d") << false;
    QTest::newRow("colour") << QStringLiteral("[Red]0") << false;
    QTest::newRow("text") << QStringLiteral("@") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestNumberFormat::dateFormats() {
    QFETCH(QString, format);
    QFETCH(bool, isDate);
    QCOMPARE(NumberFormat::isDateFormat(format), isDate);
}

void TestNumberFormat::timeFormats() {
    QVERIFY(NumberFormat::isTimeFormat(QStringLiteral("h:mm:ss")));
    QVERIFY(NumberFormat::isTimeFormat(QStringLiteral("[h]:mm")));
    QVERIFY(NumberFormat::isTimeFormat(QStringLiteral("mm:ss.0")));
    QVERIFY(!NumberFormat::isTimeFormat(QStringLiteral("yyyy-mm-dd hh:mm")));
    QVERIFY(!NumberFormat::isTimeFormat(QStringLiteral("m/d")));
    QVERIFY(!NumberFormat::isTimeFormat(QStringLiteral("0.00")));
}

QTEST_APPLESS_MAIN(TestNumberFormat)
#include "tst_sheet_numberformat.moc"
