#pragma once

#include "sheet/SheetCell.h"

#include <QHash>
#include <QStringList>

#include <vector>

// The cells of one sheet, compact: one vector per row up to its last cell, the format codes
// kept once in a table (and texts shared with the shared-string table they came from).
class SheetData {
public:
    // row and column from 1; a later cell at the same place replaces the earlier one.
    void insert(int row, int column, const SheetCell& cell);
    SheetCell cell(int row, int column) const;
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int columnCount() const { return m_columns; }

private:
    struct Stored {
        double number = 0;
        QString string;
        qint32 format = 0;
        SheetCell::Type type = SheetCell::Type::Empty;
    };

    std::vector<std::vector<Stored>> m_rows;
    QStringList m_formats;
    QHash<QString, qint32> m_formatIndex;
    int m_columns = 0;
};
