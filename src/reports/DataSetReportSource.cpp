#include "reports/DataSetReportSource.h"

#include "core/DataSet.h"

DataSetReportSource::DataSetReportSource(const QString& name, DataSet* data, const QHash<QString, QString>& renames)
    : m_name(name), m_data(data) {
    for (auto it = renames.begin(); it != renames.end(); ++it) {
        m_toData.insert(it.key().toLower(), it.value());
        m_toReport.insert(it.value().toLower(), it.key());
    }
}

int DataSetReportSource::rowCount() const { return m_data && m_data->isOpen() ? m_data->recordCount() : 0; }

QVariant DataSetReportSource::value(int row, const QString& field) const {
    if (!m_data || !m_data->isOpen())
        return QVariant();
    const QString mapped = m_toData.value(field.toLower(), field);
    return m_data->value(row, m_data->fieldIndex(mapped));
}

QStringList DataSetReportSource::fieldNames() const {
    if (!m_data || !m_data->isOpen())
        return {};
    QStringList names = m_data->fieldNames();
    for (QString& n : names)
        n = m_toReport.value(n.toLower(), n);
    return names;
}
