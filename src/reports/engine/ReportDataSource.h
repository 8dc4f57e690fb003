#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// What a report reads its rows from. The program binds each dataset name of a layout (Medicine,
// Bill, ...) to one implementation over its query; the engine only reads.
class ReportDataSource {
public:
    virtual ~ReportDataSource();

    // The dataset name the layout's expressions use ([Medicine."MedicineCode"]).
    virtual QString name() const = 0;
    virtual int rowCount() const = 0;
    // The value of a field in a row; the field name is matched without regard to case. An
    // unknown field or a row out of range gives an invalid QVariant.
    virtual QVariant value(int row, const QString& field) const = 0;
    virtual QStringList fieldNames() const = 0;
};
