#pragma once

#include "reports/engine/Report.h"

#include <QString>
#include <QStringList>

// The layouts the program prints with when no template file replaces them. Each returns a
// report named after itself, with no data sources bound.
//
// Objects that code fills by name: MemoTitle (company name) in the lists; MTitle (company
// name) and mbig ("合计：" and the amount in capitals) in FrxBill; MTitle, MemoBillType, mbig,
// MemoDepot, MemoCustomer, MemoRemark, MemoPayType, MemoPaid and MemoUnpaid in FrxBillNoCash.
namespace BuiltInLayouts {

// Medicine list over dataset Medicine, A4 portrait.
Report FrxMedicine();
// Supplier list over dataset Supply, A4 landscape.
Report FrxSupply();
// Customer list over dataset Cust, A4 landscape.
Report FrxCust();
// Employee list over dataset Employee, A4 portrait.
Report FrxEmployee();
// Member list over dataset Member, A4 portrait (built-in only, like the employee list).
Report FrxMember();
// Retail sale receipt over dataset Bill, A4 portrait.
Report FrxBill();
// Document with a bill header (dataset Bill) and its lines (dataset BillDetail), A4 portrait.
Report FrxBillNoCash();

QStringList reportNames();
// The layout of that name (without regard to case); an empty report for an unknown name.
Report byName(const QString& reportName);
// The template file under the program's Reports folder ("FrxCustom.fr3"); empty for a report
// that has no template file (FrxEmployee) and for unknown names.
QString templateFileName(const QString& reportName);

} // namespace BuiltInLayouts
