#include "sheet/SheetData.h"

void SheetData::insert(int row, int column, const SheetCell& cell) {
    if (row < 1 || column < 1 || cell.isEmpty())
        return;
    if (m_rows.size() < static_cast<size_t>(row))
        m_rows.resize(static_cast<size_t>(row));
    std::vector<Stored>& cells = m_rows[static_cast<size_t>(row - 1)];
    if (cells.size() < static_cast<size_t>(column))
        cells.resize(static_cast<size_t>(column));
    Stored& s = cells[static_cast<size_t>(column - 1)];
    s.type = cell.type;
    s.number = cell.number;
    s.string = cell.string;
    auto it = m_formatIndex.constFind(cell.formatCode);
    if (it == m_formatIndex.constEnd()) {
        it = m_formatIndex.insert(cell.formatCode, static_cast<qint32>(m_formats.size()));
        m_formats << cell.formatCode;
    }
    s.format = it.value();
    m_columns = qMax(m_columns, column);
}

SheetCell SheetData::cell(int row, int column) const {
    SheetCell c;
    if (row < 1 || column < 1 || static_cast<size_t>(row) > m_rows.size())
        return c;
    const std::vector<Stored>& cells = m_rows[static_cast<size_t>(row - 1)];
    if (static_cast<size_t>(column) > cells.size())
        return c;
    const Stored& s = cells[static_cast<size_t>(column - 1)];
    if (s.type == SheetCell::Type::Empty)
        return c;
    c.type = s.type;
    c.number = s.number;
    c.string = s.string;
    c.formatCode = m_formats.at(s.format);
    return c;
}
