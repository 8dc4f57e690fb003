#pragma once

#include "reports/engine/Report.h"

#include <QString>

class TFrmData;

// The program's report objects with their datasets bound to the data module's shared queries,
// their layouts loaded from the Reports folder at start (a missing or unreadable template
// leaves the built-in layout), and the memos code fills before printing.
class ReportCenter {
public:
    static ReportCenter& instance();

    // Starts every report from its built-in layout, binds its datasets to the data module and
    // registers the template loading that runs as the data module is created.
    void attach(TFrmData* data);
    // Loads every template found under folder; returns the problems met (missing files are none).
    QStringList loadTemplates(const QString& folder);

    // FrxMedicine, FrxSupply, FrxCust, FrxEmployee, FrxMember, FrxBill, FrxBillNoCash (without case).
    Report* report(const QString& name);

    // A list ready to show: MemoTitle holds the company name (tCompany.Company).
    Report* prepareList(const QString& name);
    // The sale receipt over the lines in QrySale: MTitle the company name, mbig "合计：" and the
    // amount due in capitals.
    Report* prepareBill(double amountDue);

    QString companyName() const;

private:
    ReportCenter();
    void restoreBuiltIns();
    void bind(Report& r);

    TFrmData* m_data = nullptr;
    Report m_medicine, m_supply, m_cust, m_employee, m_member, m_bill, m_billNoCash;
};
