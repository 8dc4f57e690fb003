#pragma once

#include <QString>

class QWidget;

// The print and design commands of the main window, and the sale receipt for the checkout.
void RegisterReportCommands();
// Shows one of the program's list reports (FrxMedicine, FrxSupply, FrxCust, FrxEmployee,
// FrxMember) in the preview, over the rows its list window holds now.
void PrintListReport(const QString& reportName, QWidget* parent = nullptr);
// The receipt of the sale held in the data module's QrySale, with the amount due in capitals.
void PrintSaleReceipt(double amountDue, QWidget* parent = nullptr);
// Writes a report's rows and totals as one sheet (the preview's Excel export).
bool WriteReportTable(const QString& path, const struct ReportTable& table, QString* error);
