#include "reports/widgets/ReportCommands.h"

#include "core/Routines.h"
#include "core/widgets/Commands.h"
#include "reports/ReportCenter.h"
#include "reports/engine/ReportTable.h"
#include "core/UData.h"
#include "reports/engine/BuiltInLayouts.h"
#include "reports/engine/widgets/uDesigner.h"
#include "reports/engine/widgets/uPreview.h"

#include <QDir>
#include "sheet/SheetWriter.h"

namespace {

QWidget* parentOr(QWidget* parent) { return parent ? parent : Commands::mainWindow(); }


} // namespace

bool WriteReportTable(const QString& path, const ReportTable& table, QString* error) {
    QVector<ExportColumn> columns;
    for (int c = 0; c < table.captions.size(); ++c) {
        ExportColumn col;
        col.caption = table.captions[c];
        // A column is numeric when every value it holds is a number.
        bool numbers = !table.rows.isEmpty();
        for (const QVariantList& row : table.rows)
            if (c < row.size() && !row[c].isNull() && !IsNumeric(row[c]))
                numbers = false;
        col.kind = numbers ? ExportColumn::Kind::Number : ExportColumn::Kind::Text;
        col.numberFormat = c < table.formats.size() ? table.formats[c] : QString();
        columns << col;
    }
    QVector<QVector<QVariant>> rows;
    for (const QVariantList& r : table.rows)
        rows << QVector<QVariant>(r.begin(), r.end());
    if (!table.totals.isEmpty())
        rows << QVector<QVariant>(table.totals.begin(), table.totals.end());
    return SheetWriter::writeFile(path, SheetWriter::sheetNameFor(table.title), columns, rows, error);
}

void PrintListReport(const QString& reportName, QWidget* parent) {
    if (Report* r = ReportCenter::instance().prepareList(reportName))
        TFrmPreview::showReport(r, parentOr(parent));
}

void PrintSaleReceipt(double amountDue, QWidget* parent) {
    TFrmPreview::showReport(ReportCenter::instance().prepareBill(amountDue), parentOr(parent));
}

void RegisterReportCommands() {
    TFrmPreview::setDefaultExcelExporter(&WriteReportTable);
    const struct {
        const char* action;
        const char* report;
    } prints[] = {{"PrintMedicine", "FrxMedicine"}, {"PrintSupply", "FrxSupply"}, {"PrintCustom", "FrxCust"},
                  {"PrintEmployee", "FrxEmployee"}, {"PrintMember", "FrxMember"}};
    for (const auto& p : prints) {
        const QString report = QString::fromLatin1(p.report);
        Commands::setHandler(QString::fromLatin1(p.action), [report]() { PrintListReport(report); });
    }
    // The designer edits the report object itself, so a changed layout prints for the rest of
    // the run; saving writes the template the next start loads.
    const struct {
        const char* action;
        const char* report;
    } designs[] = {{"DesignMedicine", "FrxMedicine"}, {"DesignSupply", "FrxSupply"},
                   {"DesignEmployee", "FrxEmployee"}, {"DesignBill", "FrxBill"}};
    for (const auto& d : designs) {
        const QString name = QString::fromLatin1(d.report);
        Commands::setHandler(QString::fromLatin1(d.action), [name]() {
            Report* r = ReportCenter::instance().report(name);
            if (!r)
                return;
            const QString file = BuiltInLayouts::templateFileName(name);
            const QString path = file.isEmpty() || !FrmData ? QString() : QDir(FrmData->reportsPath()).filePath(file);
            TFrmDesigner::design(r, path, Commands::mainWindow());
        });
    }
}
