#pragma once

#include "core/GridColumns.h"

#include <QAbstractTableModel>
#include <QVector>

#include <memory>

class DataSet;

// Shows a DataSet in a view through a chosen list of columns. Cells are read from the dataset
// only when the view asks for them, so a list of any length opens at once. Display texts carry
// each column's decimals; the edit role gives the raw value, and edits go through
// DataSet::setValue so field events run and bad input is refused (editFailed, old value kept).
// The model follows the dataset's changes; a changed row only repaints that row.
//
// The dataset may be destroyed before the model (a window's own query dies before the
// window's child widgets): the model never touches the dataset from its destructor.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Extra roles: whether the cell offers an ellipsis button; the column's field name.
    enum Role { ButtonRole = Qt::UserRole + 1, FieldRole };

    explicit DataSetModel(QObject* parent = nullptr);
    ~DataSetModel() override;

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return m_ds; }
    void setColumns(const QVector<GridColumn>& columns);
    const QVector<GridColumn>& columns() const { return m_columns; }
    GridColumn column(int column) const { return m_columns.value(column); }
    // Index of the dataset field shown in a column, -1 when the dataset lacks it.
    int fieldIndex(int column) const;
    // The model column showing a field, -1 when none does.
    int columnOfField(const QString& field) const;

    // Every cell read-only, whatever the columns say.
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }

    // Title sort markers shown in the header (▲ ascending, ▼ descending, numbered when several).
    void setSortMarkers(const QVector<SortMarker>& markers);
    const QVector<SortMarker>& sortMarkers() const { return m_markers; }

    // The display text of a value in a column's format.
    static QString formatValue(const QVariant& value, int decimals);
    // The footer text of a column: its sum in the column's format; empty for columns without sum.
    QString footerText(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QString lastError() const { return m_lastError; }

signals:
    // An edit was refused; the message says why.
    void editFailed(const QString& message);
    // The dataset's current row moved (cursor moves made by code, not by the view).
    void currentRowChanged(int row);
    // The values of the dataset changed (a row, or all of it): footers need recounting.
    void valuesChanged();

private:
    struct Link;
    void onChange(int change, int row);
    void resolveFields();
    bool isNumericField(int field) const;

    DataSet* m_ds = nullptr;
    std::shared_ptr<Link> m_link;
    QVector<GridColumn> m_columns;
    QVector<int> m_fields;
    QVector<SortMarker> m_markers;
    int m_rows = 0;
    bool m_readOnly = false;
    QString m_lastError;
};
