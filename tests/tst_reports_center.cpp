#include "core/Routines.h"
#include "core/ProgramFolder.h"
#include "core/UData.h"
#include "reports/ReportCenter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The program's reports over the data module's datasets, as the windows leave them.
class TestReportCenter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void receiptOfThreeLines();
    void filteredListInWindowOrder();
    void emptyCompanyPrintsEmptyTitles();
    void templatesReplaceAndFallBack();

private:
    QTemporaryDir m_home;
    TFrmData* m_data = nullptr;
};

void TestReportCenter::initTestCase() {
    QVERIFY(ProgramFolder::prepare(m_home.path(), true).isEmpty());
    m_data = new TFrmData(m_home.path());
    ReportCenter::instance().attach(m_data);
    m_data->FormCreate();
    QVERIFY(m_data->connected());
}

void TestReportCenter::cleanupTestCase() { delete m_data; }

void TestReportCenter::receiptOfThreeLines() {
    RunSQL(QStringLiteral("UPDATE tCompany SET Company = '康宁大药房'"));
    m_data->QryCompany.close();
    DataSet& sale = m_data->QrySale;
    OpenSQL(sale, QStringLiteral("SELECT * FROM tSale WHERE id < 0"));
    const struct {
        const char* name;
        const char* price;
        double number;
    } lines[] = {{"阿莫西林胶囊", "12.5", 3}, {"布洛芬缓释胶囊", "18.8", 1}, {"板蓝根颗粒", "9.9", 2}};
    for (const auto& l : lines) {
        sale.append();
        sale.setValue(QStringLiteral("billcode"), QStringLiteral("XS202612110001"));
        sale.setValue(QStringLiteral("adddate"), QStringLiteral("2026-12-11"));
        sale.setValue(QStringLiteral("medicinename"), QString::fromUtf8(l.name));
        sale.setValue(QStringLiteral("price"), QString::fromLatin1(l.price));
        sale.setValue(QStringLiteral("number"), l.number);
        sale.post();
    }
    // 37.5 + 18.8 + 19.8 = 76.1 on the lines; the checkout took 70 after a discount.
    Report* r = ReportCenter::instance().prepareBill(70.0);
    const QString text = r->prepare().toText();
    QVERIFY2(text.contains(QStringLiteral("康宁大药房")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("XS202612110001")));
    for (const char* n : {"阿莫西林胶囊", "布洛芬缓释胶囊", "板蓝根颗粒"})
        QVERIFY(text.contains(QString::fromUtf8(n)));
    // Line numbers 1..3 in front of their lines, the totals of the lines, mbig of the amount due.
    QStringList detail, summary;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString value = line.section(QStringLiteral(": "), 1);
        if (line.startsWith(QStringLiteral("MasterData")))
            detail << value;
        else if (line.startsWith(QStringLiteral("ReportSummary")))
            summary << value;
    }
    int at = 0;
    for (int i = 0; i < 3; ++i) {
        at = detail.indexOf(QString::number(i + 1), at);
        QVERIFY(at >= 0);
        QCOMPARE(detail.value(at + 1), QString::fromUtf8(lines[i].name));
    }
    QVERIFY(summary.contains(QStringLiteral("合计：人民币柒拾元整")));
    QVERIFY(summary.contains(QStringLiteral("6")));
    QVERIFY(summary.contains(QStringLiteral("76.10")));
}
void TestReportCenter::filteredListInWindowOrder() {
    DataSet& m = m_data->QryMedicine;
    OpenSQL(m, QStringLiteral("SELECT * FROM tMedicine WHERE MedicineName LIKE ? ORDER BY MedicineCode DESC"),
            {QStringLiteral("%胶囊%")});
    QVERIFY(m.recordCount() > 2);
    const QString first = m.value(0, m.fieldIndex(QStringLiteral("MedicineCode"))).toString();
    const QString second = m.value(1, m.fieldIndex(QStringLiteral("MedicineCode"))).toString();
    const QString text = ReportCenter::instance().prepareList(QStringLiteral("FrxMedicine"))->prepare().toText();
    QVERIFY(text.indexOf(first) >= 0 && text.indexOf(first) < text.indexOf(second));
    const QString other = m_data->db()
                              .scalar(QStringLiteral("SELECT MedicineCode FROM tMedicine WHERE MedicineName NOT LIKE '%囊%' "
                                                     "ORDER BY id LIMIT 1"))
                              .toString();
    QVERIFY(!other.isEmpty());
    QVERIFY(!text.contains(QStringLiteral(": ") + other + QLatin1Char('\n')));
}

void TestReportCenter::emptyCompanyPrintsEmptyTitles() {
    RunSQL(QStringLiteral("UPDATE tCompany SET Company = ''"));
    m_data->QryCompany.close();
    OpenSQL(m_data->QryCustom, QStringLiteral("SELECT * FROM tCustom ORDER BY id"));
    const QString text = ReportCenter::instance().prepareList(QStringLiteral("FrxMedicine"))->prepare().toText();
    QVERIFY(text.contains(QStringLiteral("/MemoTitle: \n")));
    QVERIFY(!text.contains(QStringLiteral("康宁大药房")));
}

void TestReportCenter::templatesReplaceAndFallBack() {
    const QString reports = m_data->reportsPath();
    // The supplier list template shipped with the program replaced the built-in layout.
    QVERIFY(QFileInfo::exists(QDir(reports).filePath(QStringLiteral("FrxSupply.fr3"))));
    // A receipt template of our own replaces the built-in receipt.
    Report* bill = ReportCenter::instance().report(QStringLiteral("FrxBill"));
    Report changed = *bill;
    QVERIFY(changed.setMemoText(QStringLiteral("MemoBillType"), QStringLiteral("零售小票")));
    const QString path = QDir(reports).filePath(QStringLiteral("frxBill.fr3"));
    QVERIFY(changed.saveTemplate(path));
    ReportCenter::instance().loadTemplates(reports);
    QVERIFY(ReportCenter::instance().prepareBill(1)->prepare().toText().contains(QStringLiteral("零售小票")));
    // A damaged template never stops the loading; the layout stays.
    QFile f(QDir(reports).filePath(QStringLiteral("FrxMedicine.fr3")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<PelmoraReport");
    f.close();
    QCOMPARE(ReportCenter::instance().loadTemplates(reports).size(), 1);
    QVERIFY(ReportCenter::instance().report(QStringLiteral("FrxMedicine"))->findMemo(QStringLiteral("MemoTitle")));
    // Deleted templates: the next start prints with the built-in layouts again.
    QFile::remove(path);
    QFile::remove(f.fileName());
    ReportCenter::instance().attach(m_data);
    ReportCenter::instance().loadTemplates(reports);
    const QString text = ReportCenter::instance().prepareBill(1)->prepare().toText();
    QVERIFY(!text.contains(QStringLiteral("零售小票")));
    QVERIFY(text.contains(QStringLiteral("销售单")));
}

QTEST_MAIN(TestReportCenter)
#include "tst_reports_center.moc"
