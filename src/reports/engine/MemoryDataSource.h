#pragma once

#include "reports/engine/ReportDataSource.h"

#include <QHash>
#include <QList>
#include <QVariantList>
#include <QVariantMap>

// Rows held in memory: for tests, benchmarks and small fixed lists.
class MemoryDataSource : public ReportDataSource {
public:
    MemoryDataSource(const QString& name, const QStringList& fields);

    QString name() const override { return m_name; }
    int rowCount() const override { return int(m_rows.size()); }
    QVariant value(int row, const QString& field) const override;
    QStringList fieldNames() const override { return m_fields; }

    // Values in the order of the fields; missing trailing values are empty.
    void addRow(const QVariantList& values);
    // Values by field name (without regard to case); unknown names are ignored.
    void addRow(const QVariantMap& values);
    void clear() { m_rows.clear(); }

private:
    QString m_name;
    QStringList m_fields;
    QHash<QString, int> m_index;
    QList<QVariantList> m_rows;
};
