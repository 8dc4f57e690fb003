#include "reports/engine/MemoryDataSource.h"

MemoryDataSource::MemoryDataSource(const QString& name, const QStringList& fields)
    : m_name(name), m_fields(fields) {
    for (int i = 0; i < fields.size(); ++i)
        m_index.insert(fields.at(i).toLower(), i);
}

QVariant MemoryDataSource::value(int row, const QString& field) const {
    if (row < 0 || row >= m_rows.size())
        return QVariant();
    const int column = m_index.value(field.toLower(), -1);
    if (column < 0)
        return QVariant();
    return m_rows.at(row).value(column);
}

void MemoryDataSource::addRow(const QVariantList& values) {
    QVariantList row = values.mid(0, m_fields.size());
    while (row.size() < m_fields.size())
        row.append(QVariant());
    m_rows.append(row);
}

void MemoryDataSource::addRow(const QVariantMap& values) {
    QVariantList row;
    row.resize(m_fields.size());
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int column = m_index.value(it.key().toLower(), -1);
        if (column >= 0)
            row[column] = it.value();
    }
    m_rows.append(row);
}
