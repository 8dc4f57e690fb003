#include "reports/engine/BuiltInLayouts.h"

#include "reports/engine/ReportMemo.h"

#include <vector>

namespace {

const QString kSong = QStringLiteral("宋体");
const QString kKai = QStringLiteral("楷体_GB2312");
constexpr double kRow = 6;

QFont makeFont(const QString& family, double size, bool bold = false) {
    QFont font;
    font.setFamily(family);
    font.setPointSizeF(size);
    font.setBold(bold);
    return font;
}

struct Column {
    QString caption;
    QString field; // empty: the cell holds text instead
    double width;
    QString text = QString();
    QString format = QString();
};

// Builds one layout page band by band; memos get Memo1, Memo2, ... unless named.
class LayoutWriter {
public:
    LayoutWriter(Report* report, QPageLayout::Orientation orientation) : m_report(report) {
        auto page = std::make_unique<ReportPage>(QStringLiteral("Page1"));
        page->setPageSize(QPageSize(QPageSize::A4));
        page->setOrientation(orientation);
        page->setMargins(QMarginsF(10, 10, 10, 10));
        m_page = report->addPage(std::move(page));
        report->setDefaultFont(makeFont(kSong, 9));
    }

    double width() const { return m_page->contentWidth(); }

    ReportBand* band(ReportBandType type, double height, const QString& dataSet = QString(),
                     bool stretch = false) {
        auto band = std::make_unique<ReportBand>(type, reportBandTypeName(type) + QLatin1Char('1'));
        band->setHeight(height);
        band->setDataSetName(dataSet);
        band->setStretch(stretch);
        return m_page->addBand(std::move(band));
    }

    ReportMemo* memo(ReportBand* band, const QRectF& geometry, const QString& text, const QFont& font,
                     bool framed, const QString& name = QString(),
                     Qt::Alignment alignment = Qt::AlignCenter) {
        auto memo = std::make_unique<ReportMemo>();
        memo->setName(name.isEmpty() ? QStringLiteral("Memo%1").arg(++m_counter) : name);
        memo->setGeometry(geometry);
        memo->setText(text);
        memo->setFont(font);
        memo->setAlignment(alignment);
        memo->setWordWrap(true);
        if (framed)
            memo->setFrame(ReportFrame::all());
        return static_cast<ReportMemo*>(band->addObject(std::move(memo)));
    }

    // A row of column titles over a row of fields, left to right from x = 0.
    void table(ReportBand* header, double headerTop, ReportBand* data, const QString& dataSet,
               const std::vector<Column>& columns, const QFont& headerFont) {
        double x = 0;
        for (const Column& c : columns) {
            memo(header, QRectF(x, headerTop, c.width, kRow), c.caption, headerFont, true);
            const QString text =
                c.field.isEmpty() ? c.text : QStringLiteral("[%1.\"%2\"]").arg(dataSet, c.field);
            ReportMemo* cell = memo(data, QRectF(x, 0, c.width, kRow), text, makeFont(kSong, 9), true);
            cell->setDisplayFormat(c.format);
            x += c.width;
        }
    }

    // "第 n 页，共 m 页" centred at the bottom.
    void pageNumberFooter() {
        ReportBand* footer = band(ReportBandType::PageFooter, 8);
        memo(footer, QRectF(0, 2, width(), 5), QStringLiteral("第 [Page#] 页，共 [TotalPages#] 页"),
             makeFont(kSong, 9), false, QStringLiteral("MemoPage"));
    }

private:
    Report* m_report;
    ReportPage* m_page;
    int m_counter = 0;
};

// A list: company line and caption in the title, bold column titles, one row per record.
Report listReport(const QString& name, QPageLayout::Orientation orientation, const QString& dataSet,
                  const QString& caption, const std::vector<Column>& columns) {
    Report report(name);
    LayoutWriter w(&report, orientation);
    ReportBand* title = w.band(ReportBandType::ReportTitle, 22);
    w.memo(title, QRectF(0, 0, w.width(), 8), QString(), makeFont(kKai, 14, true), false,
           QStringLiteral("MemoTitle"));
    w.memo(title, QRectF(0, 8, w.width(), 12), caption, makeFont(kKai, 22, true), false);
    ReportBand* header = w.band(ReportBandType::PageHeader, kRow);
    ReportBand* data = w.band(ReportBandType::MasterData, kRow, dataSet, true);
    w.table(header, 0, data, dataSet, columns, makeFont(kSong, 9, true));
    w.pageNumberFooter();
    return report;
}

} // namespace

namespace BuiltInLayouts {

Report FrxMedicine() {
    Report report(QStringLiteral("FrxMedicine"));
    LayoutWriter w(&report, QPageLayout::Portrait);
    ReportBand* title = w.band(ReportBandType::ReportTitle, 12);
    w.memo(title, QRectF(0, 0, w.width(), 10), QString(), makeFont(kSong, 14, true), false,
           QStringLiteral("MemoTitle"));
    ReportBand* header = w.band(ReportBandType::PageHeader, kRow);
    ReportBand* data = w.band(ReportBandType::MasterData, kRow, QStringLiteral("Medicine"), true);
    w.table(header, 0, data, QStringLiteral("Medicine"),
            {{QStringLiteral("药品编码"), QStringLiteral("MedicineCode"), 21},
             {QStringLiteral("药品名称"), QStringLiteral("MedicineName"), 23},
             {QStringLiteral("单位"), QStringLiteral("FirstUnits"), 10},
             {QStringLiteral("规格型号"), QStringLiteral("MedicineUnit"), 30},
             {QStringLiteral("批准文号"), QStringLiteral("AgreeNo"), 29},
             {QStringLiteral("生产厂家"), QStringLiteral("Manufacturer"), 37},
             {QStringLiteral("备注"), QStringLiteral("Remark1"), 40}},
            makeFont(kSong, 9, true));
    w.pageNumberFooter();
    return report;
}

Report FrxSupply() {
    return listReport(QStringLiteral("FrxSupply"), QPageLayout::Landscape, QStringLiteral("Supply"),
                      QStringLiteral("供应商信息"),
                      {{QStringLiteral("供应商编码"), QStringLiteral("SupplyCode"), 22},
                       {QStringLiteral("供应商名称"), QStringLiteral("SupplyName"), 48},
                       {QStringLiteral("供应商类别"), QStringLiteral("SupplyType"), 18},
                       {QStringLiteral("地区"), QStringLiteral("SupplyZone"), 20},
                       {QStringLiteral("法人"), QStringLiteral("LegalPerson"), 16},
                       {QStringLiteral("地址"), QStringLiteral("Address"), 50},
                       {QStringLiteral("电话"), QStringLiteral("Tel"), 25},
                       {QStringLiteral("传真"), QStringLiteral("Fax"), 25},
                       {QStringLiteral("GSP证书"), QStringLiteral("GSP"), 28},
                       {QStringLiteral("备注一"), QStringLiteral("Remark1"), 25}});
}

Report FrxCust() {
    return listReport(QStringLiteral("FrxCust"), QPageLayout::Landscape, QStringLiteral("Cust"),
                      QStringLiteral("客户信息"),
                      {{QStringLiteral("客户名称"), QStringLiteral("CustName"), 55},
                       {QStringLiteral("客户类别"), QStringLiteral("CustType"), 18},
                       {QStringLiteral("客户地区"), QStringLiteral("CustZone"), 25},
                       {QStringLiteral("公司名称"), QStringLiteral("Company"), 36},
                       {QStringLiteral("法人"), QStringLiteral("LegalPerson"), 16},
                       {QStringLiteral("地址"), QStringLiteral("Address"), 52},
                       {QStringLiteral("电话"), QStringLiteral("Tel"), 25},
                       {QStringLiteral("EMail"), QStringLiteral("EMail"), 25},
                       {QStringLiteral("备注一"), QStringLiteral("Remark1"), 25}});
}

Report FrxEmployee() {
    Report report(QStringLiteral("FrxEmployee"));
    LayoutWriter w(&report, QPageLayout::Portrait);
    ReportBand* title = w.band(ReportBandType::ReportTitle, 22);
    w.memo(title, QRectF(0, 0, w.width(), 12), QString(), makeFont(kKai, 24, true), false,
           QStringLiteral("MemoTitle"));
    w.memo(title, QRectF(0, 12, w.width(), 8), QStringLiteral("员工资料"), makeFont(kKai, 16, true), false);
    ReportBand* header = w.band(ReportBandType::PageHeader, kRow);
    ReportBand* data = w.band(ReportBandType::MasterData, kRow, QStringLiteral("Employee"), true);
    w.table(header, 0, data, QStringLiteral("Employee"),
            {{QStringLiteral("员工姓名"), QStringLiteral("EmployeeName"), 25},
             {QStringLiteral("员工类别"), QStringLiteral("EmployeeType"), 25},
             {QStringLiteral("所属部门"), QStringLiteral("Depart"), 25},
             {QStringLiteral("电话"), QStringLiteral("Tel"), 25},
             {QStringLiteral("手机"), QStringLiteral("Mobile"), 25},
             {QStringLiteral("邮箱"), QStringLiteral("EMail"), 32},
             {QStringLiteral("备注一"), QStringLiteral("Remark1"), 33}},
            makeFont(kSong, 9));
    w.band(ReportBandType::PageFooter, 8);
    return report;
}

Report FrxMember() {
    return listReport(QStringLiteral("FrxMember"), QPageLayout::Portrait, QStringLiteral("Member"),
                      QStringLiteral("会员信息"),
                      {{QStringLiteral("会员卡号"), QStringLiteral("MemberCode"), 26},
                       {QStringLiteral("会员姓名"), QStringLiteral("MemberName"), 22},
                       {QStringLiteral("性别"), QStringLiteral("Sex"), 10},
                       {QStringLiteral("会员类别"), QStringLiteral("MemberType"), 20},
                       {QStringLiteral("电话"), QStringLiteral("Tel"), 26},
                       {QStringLiteral("积分"), QStringLiteral("Point"), 14},
                       {QStringLiteral("地址"), QStringLiteral("Address"), 44},
                       {QStringLiteral("备注"), QStringLiteral("Memo"), 28}});
}

Report FrxBill() {
    Report report(QStringLiteral("FrxBill"));
    LayoutWriter w(&report, QPageLayout::Portrait);
    const QFont song = makeFont(kSong, 9);

    ReportBand* title = w.band(ReportBandType::ReportTitle, 20);
    w.memo(title, QRectF(0, 0, w.width(), 11), QString(), makeFont(kKai, 20, true), false,
           QStringLiteral("MTitle"));
    w.memo(title, QRectF(0, 11, w.width(), 8), QStringLiteral("销售单"), makeFont(kKai, 14, true), false,
           QStringLiteral("MemoBillType"));

    ReportBand* header = w.band(ReportBandType::PageHeader, 2 * kRow);
    w.memo(header, QRectF(0, 0, 25, kRow), QString(), song, false);
    w.memo(header, QRectF(25, 0, 70, kRow), QStringLiteral("[Bill.\"BillCode\"]"), song, false);
    w.memo(header, QRectF(95, 0, 25, kRow), QString(), song, false);
    w.memo(header, QRectF(120, 0, 77, kRow), QStringLiteral("[Bill.\"AddDate\"]"), song, false);

    ReportBand* data = w.band(ReportBandType::MasterData, kRow, QStringLiteral("Bill"), true);
    w.table(header, kRow, data, QStringLiteral("Bill"),
            {{QStringLiteral("序号"), QString(), 10, QStringLiteral("[Line#]")},
             {QStringLiteral("药品名称"), QStringLiteral("medicinename"), 31},
             {QStringLiteral("规格型号"), QStringLiteral("medicineunit"), 25},
             {QStringLiteral("批号"), QStringLiteral("batchno"), 25},
             {QStringLiteral("单位"), QStringLiteral("units"), 9},
             {QStringLiteral("数量"), QStringLiteral("number"), 12},
             {QStringLiteral("单价"), QStringLiteral("price"), 12, QString(), QStringLiteral("0.00")},
             {QStringLiteral("金额"), QStringLiteral("money"), 14, QString(), QStringLiteral("0.00")},
             {QStringLiteral("生产厂家"), QStringLiteral("manufacturer"), 52}},
            song);

    ReportBand* summary = w.band(ReportBandType::ReportSummary, kRow, QString(), true);
    w.memo(summary, QRectF(0, 0, 10, kRow), QStringLiteral("合计"), song, true);
    w.memo(summary, QRectF(10, 0, 90, kRow), QString(), song, true, QStringLiteral("mbig"));
    w.memo(summary, QRectF(100, 0, 12, kRow), QStringLiteral("[SUM(<Bill.\"number\">,MasterData1)]"), song,
           true);
    w.memo(summary, QRectF(112, 0, 12, kRow), QString(), song, true);
    w.memo(summary, QRectF(124, 0, 14, kRow), QStringLiteral("[SUM(<Bill.\"money\">,MasterData1)]"), song,
           true)
        ->setDisplayFormat(QStringLiteral("0.00"));
    w.memo(summary, QRectF(138, 0, 52, kRow), QString(), song, true);

    ReportBand* footer = w.band(ReportBandType::PageFooter, 8);
    w.memo(footer, QRectF(w.width() - 34, 1, 34, kRow), QStringLiteral("[Page#]"), song, false, QString(),
           Qt::AlignRight | Qt::AlignVCenter);
    return report;
}

Report FrxBillNoCash() {
    Report report(QStringLiteral("FrxBillNoCash"));
    LayoutWriter w(&report, QPageLayout::Portrait);
    const QFont song = makeFont(kSong, 9);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

    ReportBand* title = w.band(ReportBandType::ReportTitle, 20);
    w.memo(title, QRectF(0, 0, w.width(), 11), QStringLiteral("公司名称"), makeFont(kKai, 20, true), false,
           QStringLiteral("MTitle"));
    w.memo(title, QRectF(0, 11, w.width(), 8), QStringLiteral("单据类型"), makeFont(kKai, 14, true), false,
           QStringLiteral("MemoBillType"));

    // Bill header: label and value pairs on three lines, then the column titles.
    ReportBand* header = w.band(ReportBandType::PageHeader, 4 * kRow);
    struct Pair {
        QString label;
        QString value;
        QString name;
        double x;
        double y;
        double width;
    };
    const Pair pairs[] = {
        {QStringLiteral("单据编号："), QStringLiteral("[Bill.\"BillCode\"]"), QString(), 0, 0, 50},
        {QStringLiteral("日期："), QStringLiteral("[Bill.\"AddDate\"]"), QString(), 70, 0, 45},
        {QStringLiteral("操作员："), QStringLiteral("[Bill.\"Maker\"]"), QString(), 135, 0, 35},
        {QStringLiteral("仓库："), QString(), QStringLiteral("MemoDepot"), 0, kRow, 50},
        {QStringLiteral("客户："), QString(), QStringLiteral("MemoCustomer"), 70, kRow, 100},
        {QStringLiteral("备注："), QString(), QStringLiteral("MemoRemark"), 0, 2 * kRow, 170},
    };
    for (const Pair& p : pairs) {
        w.memo(header, QRectF(p.x, p.y, 20, kRow), p.label, song, false, QString(), right);
        w.memo(header, QRectF(p.x + 20, p.y, p.width, kRow), p.value, song, false, p.name, left);
    }

    ReportBand* data = w.band(ReportBandType::MasterData, kRow, QStringLiteral("BillDetail"), true);
    const QFont small = makeFont(kSong, 8);
    w.table(header, 3 * kRow, data, QStringLiteral("BillDetail"),
            {{QStringLiteral("编码"), QStringLiteral("MedicineCode"), 14},
             {QStringLiteral("药品名称"), QStringLiteral("MedicineName"), 22},
             {QStringLiteral("规格"), QStringLiteral("MedicineUnit"), 16},
             {QStringLiteral("剂型"), QStringLiteral("JiXing"), 10},
             {QStringLiteral("单位"), QStringLiteral("Units"), 8},
             {QStringLiteral("数量"), QStringLiteral("Number"), 10},
             {QStringLiteral("单价"), QStringLiteral("Price"), 12, QString(), QStringLiteral("0.00")},
             {QStringLiteral("折扣"), QStringLiteral("Discount"), 10},
             {QStringLiteral("金额"), QStringLiteral("Money"), 14, QString(), QStringLiteral("0.00")},
             {QStringLiteral("备注"), QStringLiteral("DetailMemo"), 14},
             {QStringLiteral("批号"), QStringLiteral("BatchNo"), 16},
             {QStringLiteral("有效期"), QStringLiteral("EffectDate"), 16},
             {QStringLiteral("生产厂家"), QStringLiteral("Manufacturer"), 28}},
            small);
    for (int i = 0; i < data->objectCount(); ++i)
        static_cast<ReportMemo*>(data->object(i))->setFont(small);

    ReportBand* summary = w.band(ReportBandType::ReportSummary, 3 * kRow, QString(), true);
    w.memo(summary, QRectF(0, 0, 70, kRow), QStringLiteral("合计"), song, true);
    w.memo(summary, QRectF(70, 0, 10, kRow), QStringLiteral("[SUM(<BillDetail.\"Number\">,MasterData1)]"),
           small, true);
    w.memo(summary, QRectF(80, 0, 22, kRow), QString(), small, true);
    w.memo(summary, QRectF(102, 0, 14, kRow), QStringLiteral("[SUM(<BillDetail.\"Money\">,MasterData1)]"),
           small, true)
        ->setDisplayFormat(QStringLiteral("0.00"));
    w.memo(summary, QRectF(116, 0, 74, kRow), QString(), small, true);
    w.memo(summary, QRectF(0, kRow, 20, kRow), QStringLiteral("大写："), song, false, QString(), right);
    w.memo(summary, QRectF(20, kRow, 170, kRow), QString(), song, false, QStringLiteral("mbig"), left);
    const Pair payment[] = {
        {QStringLiteral("付款方式："), QString(), QStringLiteral("MemoPayType"), 0, 2 * kRow, 40},
        {QStringLiteral("已付金额："), QString(), QStringLiteral("MemoPaid"), 62, 2 * kRow, 40},
        {QStringLiteral("未付金额："), QString(), QStringLiteral("MemoUnpaid"), 124, 2 * kRow, 46},
    };
    for (const Pair& p : payment) {
        w.memo(summary, QRectF(p.x, p.y, 20, kRow), p.label, song, false, QString(), right);
        w.memo(summary, QRectF(p.x + 20, p.y, p.width, kRow), p.value, song, false, p.name, left);
    }

    ReportBand* footer = w.band(ReportBandType::PageFooter, 8);
    w.memo(footer, QRectF(w.width() - 50, 1, 50, kRow), QStringLiteral("第 [Page#] 页，共 [TotalPages#] 页"),
           song, false, QString(), right);
    return report;
}

QStringList reportNames() {
    return {QStringLiteral("FrxMedicine"), QStringLiteral("FrxSupply"), QStringLiteral("FrxCust"),
            QStringLiteral("FrxEmployee"), QStringLiteral("FrxMember"), QStringLiteral("FrxBill"),
            QStringLiteral("FrxBillNoCash")};
}

Report byName(const QString& reportName) {
    using Factory = Report (*)();
    const struct {
        const char* name;
        Factory factory;
    } factories[] = {{"FrxMedicine", FrxMedicine}, {"FrxSupply", FrxSupply},
                     {"FrxCust", FrxCust},         {"FrxEmployee", FrxEmployee}, {"FrxMember", FrxMember},
                     {"FrxBill", FrxBill},         {"FrxBillNoCash", FrxBillNoCash}};
    for (const auto& f : factories) {
        if (reportName.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return f.factory();
    }
    return Report(reportName);
}

QString templateFileName(const QString& reportName) {
    const struct {
        const char* name;
        const char* file;
    } files[] = {{"FrxMedicine", "FrxMedicine.fr3"},
                 {"FrxSupply", "FrxSupply.fr3"},
                 {"FrxCust", "FrxCustom.fr3"},
                 {"FrxBill", "frxBill.fr3"},
                 {"FrxBillNoCash", "frxBillNoCash.fr3"}};
    for (const auto& f : files) {
        if (reportName.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(f.file);
    }
    return QString();
}

} // namespace BuiltInLayouts
