#pragma once

#include <QString>

#include <functional>

class DataGrid;
class QWidget;

// Asks where an export goes: the dialog's parent, the proposed file name and the filter. An
// empty answer cancels. The default shows a save dialog.
using ExportFileNameProvider =
    std::function<QString(QWidget* parent, const QString& defaultName, const QString& filter)>;
// Installs a provider (an empty one restores the save dialog); returns the previous one.
ExportFileNameProvider SetExportFileNameProvider(ExportFileNameProvider provider);

// Exports every row of the grid's dataset, with the grid's visible columns in their shown order
// and captions, numbers as numbers in the grid's formats, to an .xlsx file the user names; then
// offers to open it. Refuses a dataset that is not open or empty with a message. Returns true
// when the file was written.
bool ExportGridToExcel(DataGrid* grid, const QString& defaultName = QString());

// The writing step alone: false with the reason in *error (the target is left as it was).
bool WriteGridToXlsx(DataGrid* grid, const QString& path, const QString& sheetName, QString* error);

// The closing question: 文件"<file>已建立，是否打开文件？"吗?
QString ExportOpenQuestion(const QString& fileName);
