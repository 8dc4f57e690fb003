#include "core/widgets/GridExport.h"

#include "core/DataSet.h"
#include "core/MsgBox.h"
#include "core/Routines.h"
#include "core/widgets/DataGrid.h"
#include "sheet/SheetWriter.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QObject>
#include <QUrl>

namespace {

QString askWithDialog(QWidget* parent, const QString& defaultName, const QString& filter) {
    QString start = defaultName;
    const QString docs = MyDocumentsPath();
    if (!docs.isEmpty() && QFileInfo(defaultName).isRelative())
        start = QDir(docs).filePath(defaultName);
    return QFileDialog::getSaveFileName(parent, QObject::tr("导出Excel"), start, filter);
}

ExportFileNameProvider& provider() {
    static ExportFileNameProvider p;
    return p;
}


// Numbers stay numbers: typed number fields, and untyped fields (computed columns) whose every
// value is a number. Everything else is written as text.
ExportColumn::Kind kindOf(const DataSet& ds, int field) {
    if (field < 0)
        return ExportColumn::Kind::Text;
    switch (ds.fieldKind(field)) {
    case DataSet::Kind::Integer:
    case DataSet::Kind::Real:
    case DataSet::Kind::Currency:
        return ExportColumn::Kind::Number;
    case DataSet::Kind::Variant:
        for (int row = 0; row < ds.recordCount(); ++row) {
            const QVariant v = ds.value(row, field);
            if (!v.isNull() && !IsNumeric(v))
                return ExportColumn::Kind::Text;
        }
        return ExportColumn::Kind::Number;
    default:
        return ExportColumn::Kind::Text;
    }
}

} // namespace

ExportFileNameProvider SetExportFileNameProvider(ExportFileNameProvider p) {
    ExportFileNameProvider old = provider();
    provider() = std::move(p);
    return old;
}

QString ExportOpenQuestion(const QString& fileName) {
    return QObject::tr("文件") + QLatin1Char('"') + fileName + QObject::tr("已建立，是否打开文件？") +
           QLatin1Char('"') + QObject::tr("吗?");
}

bool WriteGridToXlsx(DataGrid* grid, const QString& path, const QString& sheetName, QString* error) {
    const DataSet* ds = grid->dataSet();
    const QVector<GridColumn> columns = grid->visibleColumns();
    QVector<int> fields;
    QVector<ExportColumn> sheetColumns;
    for (const GridColumn& c : columns) {
        const int f = ds->fieldIndex(c.field);
        fields << f;
        ExportColumn e;
        e.caption = c.caption;
        e.kind = kindOf(*ds, f);
        e.numberFormat = e.kind == ExportColumn::Kind::Number ? c.format() : QString();
        sheetColumns << e;
    }
    SheetWriter writer;
    bool ok = writer.begin(path, sheetName, sheetColumns);
    QVector<QVariant> values(fields.size());
    for (int row = 0; ok && row < ds->recordCount(); ++row) {
        for (int i = 0; i < fields.size(); ++i)
            values[i] = fields[i] < 0 ? QVariant() : ds->value(row, fields[i]);
        ok = writer.addRow(values);
    }
    ok = ok && writer.finish();
    if (!ok && error)
        *error = writer.errorString();
    return ok;
}

bool ExportGridToExcel(DataGrid* grid, const QString& defaultName) {
    const DataSet* ds = grid ? grid->dataSet() : nullptr;
    if (!ds || !ds->isOpen()) {
        MsgInfo(QObject::tr("数据没有显示不能导出成Excel文件!"));
        return false;
    }
    if (ds->isEmpty()) {
        MsgInfo(QObject::tr("没有数据,不能导出成Excel文件!"));
        return false;
    }
    const QString filter = QObject::tr("EXCEL文件(*.xlsx)");
    const QString answer =
        provider() ? provider()(grid, defaultName, filter) : askWithDialog(grid, defaultName, filter);
    const QString fileName = SheetWriter::exportFileName(answer);
    if (fileName.isEmpty())
        return false;
    const QString sheet = SheetWriter::sheetNameFor(
        defaultName.trimmed().isEmpty() ? QFileInfo(fileName).completeBaseName() : defaultName);
    QString error;
    if (!WriteGridToXlsx(grid, fileName, sheet, &error)) {
        MsgError(error);
        return false;
    }
    if (MsgBox(ExportOpenQuestion(fileName), Msg::YesNo | Msg::IconQuestion, QObject::tr("提示")) ==
        Msg::IdYes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
    return true;
}
