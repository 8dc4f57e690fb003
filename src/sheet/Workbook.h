#pragma once

#include "sheet/SheetCell.h"
#include "sheet/SheetData.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

// A workbook opened for reading: what the imports need of a spreadsheet application.
//
// Workbook::open() picks the reader by the file's content (not its extension): an OLE2
// compound file holding a BIFF workbook is read by XlsWorkbook (freexl), a zip package by
// XlsxWorkbook (QuaZip + QXmlStreamReader). A damaged, empty, password-protected or foreign
// file gives a Chinese message beginning "无法打开Excel文件：".
//
// Sheets are numbered from 0 in workbook order (as sheetNames() lists them); rows and columns
// are numbered from 1, as on the sheet itself (row 1 is the first row, column 1 is column A).
// The used range always starts at A1: rowCount() is the number of the last row and
// columnCount() the number of the last column that holds a value (a cell with only a style
// does not count, a cell holding an empty text does). The selected sheet is read whole into
// memory when it is selected.
class Workbook {
    Q_DECLARE_TR_FUNCTIONS(Workbook)

public:
    enum class Format { Unknown, Xls, Xlsx };

    virtual ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // Opens the workbook and selects its first sheet. Null (with *errorMessage set) on failure.
    static std::unique_ptr<Workbook> open(const QString& path, QString* errorMessage = nullptr);
    // The format the file's first bytes announce (Xls for any OLE2 compound file).
    static Format detectFormat(const QString& path);

    QString path() const { return m_path; }
    virtual Format format() const = 0;
    bool date1904() const { return m_date1904; }

    QStringList sheetNames() const { return m_sheetNames; }
    int sheetCount() const { return m_sheetNames.size(); }
    // False (with errorString()) for an index out of range or a sheet that cannot be read;
    // the previous selection is then kept.
    bool selectSheet(int index);
    // The sheet of that name; letter case is ignored when no name matches exactly.
    bool selectSheet(const QString& name);
    int currentSheet() const { return m_current; }
    QString currentSheetName() const { return m_sheetNames.value(m_current); }

    int rowCount() const { return m_cells.rowCount(); }
    int columnCount() const { return m_cells.columnCount(); }

    SheetCell cell(int row, int column) const;
    // The raw value (SheetCell::value()): double, QString, bool, a date's serial number, or
    // an invalid QVariant for an empty cell.
    QVariant value(int row, int column) const { return cell(row, column).value(); }
    bool isDate(int row, int column) const { return cell(row, column).isDate(); }
    // The text as the sheet displays it, with the cell's number or date format applied.
    QString text(int row, int column) const;
    // The value converted to text without its number format: General for numbers,
    // "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss" for dates ("HH:mm:ss" when the cell's format shows
    // only a time), "TRUE"/"FALSE" for booleans.
    QString valueText(int row, int column) const;

    QString errorString() const { return m_error; }

    // The Chinese message for a file that cannot be opened: "无法打开Excel文件：" + reason.
    static QString openError(const QString& path, const QString& reason);

protected:
    explicit Workbook(const QString& path);

    // Reads sheet `index` into `cells`.
    virtual bool loadSheet(int index, SheetData* cells, QString* error) = 0;

    void setSheetNames(const QStringList& names) { m_sheetNames = names; }
    void setDate1904(bool on) { m_date1904 = on; }

private:
    QString m_path;
    QStringList m_sheetNames;
    bool m_date1904 = false;
    int m_current = -1;
    SheetData m_cells;
    QString m_error;
};
