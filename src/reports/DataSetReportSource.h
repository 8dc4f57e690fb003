#pragma once

#include "reports/engine/ReportDataSource.h"

#include <QHash>

class DataSet;

// A report dataset over one of the program's datasets, read as it stands at print time (the list
// as its window shows it: filter and order included). Field names are matched without regard to
// case; renames give a field another name in the report (BillCode for billcode).
class DataSetReportSource : public ReportDataSource {
public:
    DataSetReportSource(const QString& name, DataSet* data, const QHash<QString, QString>& renames = {});

    QString name() const override { return m_name; }
    int rowCount() const override;
    QVariant value(int row, const QString& field) const override;
    QStringList fieldNames() const override;

private:
    QString m_name;
    DataSet* m_data;
    QHash<QString, QString> m_toData;   // report field (lower case) -> dataset field
    QHash<QString, QString> m_toReport; // dataset field (lower case) -> report field
};
