#include "reports/ReportCenter.h"

#include "core/Routines.h"
#include "core/UData.h"
#include "reports/DataSetReportSource.h"
#include "reports/engine/BuiltInLayouts.h"

#include <QDir>
#include <QFileInfo>

ReportCenter& ReportCenter::instance() {
    static ReportCenter center;
    return center;
}

ReportCenter::ReportCenter() { restoreBuiltIns(); }

void ReportCenter::restoreBuiltIns() {
    m_medicine = BuiltInLayouts::FrxMedicine();
    m_supply = BuiltInLayouts::FrxSupply();
    m_cust = BuiltInLayouts::FrxCust();
    m_employee = BuiltInLayouts::FrxEmployee();
    m_member = BuiltInLayouts::FrxMember();
    m_bill = BuiltInLayouts::FrxBill();
    m_billNoCash = BuiltInLayouts::FrxBillNoCash();
}

void ReportCenter::attach(TFrmData* data) {
    m_data = data;
    restoreBuiltIns();
    for (Report* r : {&m_medicine, &m_supply, &m_cust, &m_employee, &m_member, &m_bill, &m_billNoCash})
        bind(*r);
    TFrmData::setTemplateLoader([this](TFrmData& d) { loadTemplates(d.reportsPath()); });
}

void ReportCenter::bind(Report& r) {
    if (!m_data)
        return;
    const QString n = r.name().toLower();
    if (n == QLatin1String("frxmedicine"))
        r.setDataSource(std::make_shared<DataSetReportSource>(QStringLiteral("Medicine"), &m_data->QryMedicine));
    else if (n == QLatin1String("frxsupply"))
        r.setDataSource(std::make_shared<DataSetReportSource>(QStringLiteral("Supply"), &m_data->QrySupply));
    else if (n == QLatin1String("frxcust"))
        r.setDataSource(std::make_shared<DataSetReportSource>(QStringLiteral("Cust"), &m_data->QryCustom));
    else if (n == QLatin1String("frxemployee"))
        r.setDataSource(std::make_shared<DataSetReportSource>(QStringLiteral("Employee"), &m_data->QryEmployee));
    else if (n == QLatin1String("frxmember"))
        r.setDataSource(std::make_shared<DataSetReportSource>(QStringLiteral("Member"), &m_data->QryMember));
    if (n == QLatin1String("frxbill") || n == QLatin1String("frxbillnocash")) {
        // The receipt names three sale columns its own way.
        const QHash<QString, QString> renames = {{QStringLiteral("BillCode"), QStringLiteral("billcode")},
                                                 {QStringLiteral("AddDate"), QStringLiteral("adddate")},
                                                 {QStringLiteral("Maker"), QStringLiteral("maker")}};
        r.setDataSource(std::make_shared<DataSetReportSource>(QStringLiteral("Bill"), &m_data->QrySale, renames));
    }
    if (n == QLatin1String("frxbillnocash"))
        r.setDataSource(std::make_shared<DataSetReportSource>(QStringLiteral("BillDetail"), &m_data->QryBillDetail));
}

QStringList ReportCenter::loadTemplates(const QString& folder) {
    QStringList problems;
    for (Report* r : {&m_medicine, &m_supply, &m_cust, &m_employee, &m_member, &m_bill, &m_billNoCash}) {
        const QString file = BuiltInLayouts::templateFileName(r->name());
        if (file.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(file);
        if (!QFileInfo::exists(path))
            continue;
        QString error;
        // A template that does not load leaves the layout the report already has.
        if (!r->loadTemplate(path, &error))
            problems << file + QStringLiteral(": ") + error;
        bind(*r);
    }
    return problems;
}

Report* ReportCenter::report(const QString& name) {
    const QString n = name.toLower();
    for (Report* r : {&m_medicine, &m_supply, &m_cust, &m_employee, &m_member, &m_bill, &m_billNoCash})
        if (r->name().toLower() == n)
            return r;
    if (n == QLatin1String("frxcustom"))
        return &m_cust;
    return nullptr;
}

QString ReportCenter::companyName() const {
    if (!m_data)
        return QString();
    DataSet& c = m_data->QryCompany;
    if (!c.isOpen() && m_data->connected()) {
        try {
            OpenSQL(c, QStringLiteral("SELECT * FROM tCompany ORDER BY id LIMIT 1"));
        } catch (...) {
            return QString();
        }
    }
    return c.isOpen() && !c.isEmpty() ? c.value(0, c.fieldIndex(QStringLiteral("Company"))).toString() : QString();
}

Report* ReportCenter::prepareList(const QString& name) {
    Report* r = report(name);
    if (!r)
        return nullptr;
    r->setMemoText(QStringLiteral("MemoTitle"), companyName()); // a layout without it prints without it
    return r;
}

Report* ReportCenter::prepareBill(double amountDue) {
    m_bill.setMemoText(QStringLiteral("MTitle"), companyName());
    m_bill.setMemoText(QStringLiteral("mbig"), QStringLiteral("合计：") + MoneyToCapital(amountDue));
    return &m_bill;
}
