#pragma once

#include "sheet/ExportColumn.h"

#include <QCoreApplication>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

// Writes one sheet of an .xlsx workbook through libxlsxwriter: the captions in row 1 (bold),
// then one row per addRow(). Number columns hold numbers with their number format (a value
// that is not a number is written as text); text columns hold plain strings, so a text that
// begins with "=", "+", "-" or "@" stays text and never becomes a formula. Null values leave
// the cell empty.
//
// Rows are streamed to disk (libxlsxwriter's constant-memory mode) into a temporary file in
// the target folder; finish() replaces the target with it only when the whole workbook was
// written. On any failure the target is left as it was and errorString() tells why in Chinese.
class SheetWriter {
    Q_DECLARE_TR_FUNCTIONS(SheetWriter)

public:
    static constexpr int kMaxRows = 1048576; // including the caption row
    static constexpr int kMaxColumns = 16384;
    static constexpr int kMaxTextLength = 32767;

    SheetWriter();
    ~SheetWriter(); // discards an unfinished workbook
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;

    bool begin(const QString& path, const QString& sheetName, const QVector<ExportColumn>& columns);
    bool addRow(const QVector<QVariant>& values);
    bool finish();
    void cancel();
    QString errorString() const { return m_error; }

    // begin(), addRow() for each row, finish().
    static bool writeFile(const QString& path, const QString& sheetName, const QVector<ExportColumn>& columns,
                          const QVector<QVector<QVariant>>& rows, QString* errorMessage = nullptr);

    // The export's file name rule: the name trimmed; a name that does not contain ".xls" gets
    // ".xlsx" appended, a name that contains it anywhere is kept ("stock" -> "stock.xlsx",
    // "stock.xls.bak" and "a.xlsx" unchanged, "A.XLS" -> "A.XLS.xlsx"). An empty name stays
    // empty (no file).
    static QString exportFileName(const QString& name);
    // A valid sheet name: at most 31 characters, none of []:*?/\, not starting or ending with
    // an apostrophe; "Sheet1" when nothing is left.
    static QString sheetNameFor(const QString& name);

private:
    bool fail(const QString& reason);

    struct State;
    std::unique_ptr<State> m_state;
    QString m_error;
};
