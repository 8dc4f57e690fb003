#include "core/DataSetModel.h"

#include "core/Routines.h"
#include "core/Currency.h"
#include "core/DataSet.h"
#include "core/DbError.h"

#include <cmath>

// The listener the dataset holds: it outlives the model when the dataset does, and removes
// itself at the dataset's next change once the model is gone.
struct DataSetModel::Link {
    DataSetModel* model = nullptr;
    DataSet* ds = nullptr;
    int token = 0;
};

namespace {


// A decimal text ("-12.345", "7") rounded half away from zero to n decimals.
QString roundDecimalText(const QString& text, int n) {
    QString s = text;
    const bool negative = s.startsWith(QLatin1Char('-'));
    if (negative)
        s.remove(0, 1);
    const int dot = s.indexOf(QLatin1Char('.'));
    QString whole = dot < 0 ? s : s.left(dot);
    QString frac = dot < 0 ? QString() : s.mid(dot + 1);
    bool up = false;
    if (frac.size() > n) {
        up = frac[n] >= QLatin1Char('5');
        frac.truncate(n);
    } else {
        frac += QString(n - frac.size(), QLatin1Char('0'));
    }
    QString digits = whole + frac;
    if (up) {
        int i = digits.size() - 1;
        while (i >= 0 && digits[i] == QLatin1Char('9'))
            digits[i--] = QLatin1Char('0');
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
        else
            digits[i] = QChar(digits[i].unicode() + 1);
    }
    whole = digits.left(digits.size() - n);
    frac = digits.right(n);
    bool zero = true;
    for (QChar c : digits)
        zero = zero && c == QLatin1Char('0');
    QString r = (negative && !zero ? QStringLiteral("-") : QString()) +
                (whole.isEmpty() ? QStringLiteral("0") : whole);
    if (n > 0)
        r += QLatin1Char('.') + frac;
    return r;
}

} // namespace

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

DataSetModel::~DataSetModel() {
    if (m_link)
        m_link->model = nullptr;
}

void DataSetModel::setDataSet(DataSet* dataSet) {
    if (dataSet == m_ds)
        return;
    beginResetModel();
    if (m_link)
        m_link->model = nullptr; // the old dataset drops the listener at its next change
    m_link.reset();
    m_ds = dataSet;
    if (m_ds) {
        auto link = std::make_shared<Link>();
        link->model = this;
        link->ds = m_ds;
        link->token = m_ds->addListener([link](DataSet::Change c, int row) {
            if (!link->model) {
                link->ds->removeListener(link->token);
                return;
            }
            link->model->onChange(int(c), row);
        });
        m_link = link;
    }
    m_rows = m_ds && m_ds->isOpen() ? m_ds->recordCount() : 0;
    resolveFields();
    endResetModel();
}

void DataSetModel::setColumns(const QVector<GridColumn>& columns) {
    beginResetModel();
    m_columns = columns;
    m_markers.clear();
    resolveFields();
    endResetModel();
}

void DataSetModel::resolveFields() {
    m_fields.clear();
    for (const GridColumn& c : m_columns)
        m_fields << (m_ds ? m_ds->fieldIndex(c.field) : -1);
}

int DataSetModel::fieldIndex(int column) const {
    return m_fields.value(column, -1);
}

int DataSetModel::columnOfField(const QString& field) const {
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void DataSetModel::setReadOnly(bool on) {
    m_readOnly = on;
    if (m_rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns.size() - 1), {});
}

void DataSetModel::setSortMarkers(const QVector<SortMarker>& markers) {
    m_markers = markers;
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, m_columns.size() - 1);
}

void DataSetModel::onChange(int change, int row) {
    switch (DataSet::Change(change)) {
    case DataSet::Change::Reset:
        beginResetModel();
        m_rows = m_ds->isOpen() ? m_ds->recordCount() : 0;
        resolveFields();
        endResetModel();
        emit valuesChanged();
        break;
    case DataSet::Change::RowChanged:
        if (row >= 0 && row < m_rows && !m_columns.isEmpty())
            emit dataChanged(index(row, 0), index(row, m_columns.size() - 1));
        emit valuesChanged();
        break;
    case DataSet::Change::RowInserted:
        beginInsertRows(QModelIndex(), row, row);
        m_rows = m_ds->recordCount();
        endInsertRows();
        emit valuesChanged();
        break;
    case DataSet::Change::RowRemoved:
        beginRemoveRows(QModelIndex(), row, row);
        m_rows = m_ds->recordCount();
        endRemoveRows();
        emit valuesChanged();
        break;
    case DataSet::Change::Current:
        emit currentRowChanged(row);
        break;
    }
}

bool DataSetModel::isNumericField(int field) const {
    const DataSet::Kind k = m_ds->fieldKind(field);
    return k == DataSet::Kind::Integer || k == DataSet::Kind::Real || k == DataSet::Kind::Currency;
}

QString DataSetModel::formatValue(const QVariant& value, int decimals) {
    if (!value.isValid() || value.isNull())
        return QString();
    if (!IsNumeric(value))
        return value.toString();
    const double d = value.toDouble();
    if (!std::isfinite(d))
        return QString();
    if (value.typeId() != QMetaType::Double && value.typeId() != QMetaType::Float)
        return decimals < 0 ? value.toString() : roundDecimalText(value.toString(), decimals);
    // Fifteen significant digits are what was typed or computed; the rest is binary noise.
    const QString text = QString::number(d, 'g', 15);
    if (text.contains(QLatin1Char('e')))
        return decimals < 0 ? text : QString::number(d, 'f', decimals);
    return decimals < 0 ? text : roundDecimalText(text, decimals);
}

QString DataSetModel::footerText(int column) const {
    if (column < 0 || column >= m_columns.size() || !m_columns[column].sum || !m_ds || !m_ds->isOpen())
        return QString();
    const int f = m_fields[column];
    if (f < 0)
        return QString();
    return formatValue(m_ds->sum(f), m_columns[column].decimals);
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns.size();
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!m_ds || !index.isValid() || index.row() >= m_rows || index.column() >= m_columns.size())
        return QVariant();
    const GridColumn& c = m_columns[index.column()];
    const int f = m_fields[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return f < 0 ? QVariant() : QVariant(formatValue(m_ds->value(index.row(), f), c.decimals));
    case Qt::EditRole:
        return f < 0 ? QVariant() : m_ds->value(index.row(), f);
    case Qt::TextAlignmentRole:
        if (f >= 0 && isNumericField(f))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case ButtonRole:
        return c.button;
    case FieldRole:
        return c.field;
    default:
        return QVariant();
    }
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !m_ds || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int f = m_fields[index.column()];
    try {
        if (m_ds->recNo() != index.row())
            m_ds->setRecNo(index.row());
        const QVariant old = m_ds->value(index.row(), f);
        const bool same = old.isNull() ? (value.isNull() || value.toString().isEmpty())
                                       : (!value.isNull() && old.toString() == value.toString());
        if (same)
            return true;
        m_ds->setValue(f, value);
    } catch (const DbError& e) {
        m_lastError = e.message();
        emit editFailed(m_lastError);
        // The view repaints the cell with the value the dataset kept.
        emit dataChanged(index, index);
        return false;
    }
    m_lastError.clear();
    return true;
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= m_columns.size())
        return QVariant();
    if (role == FieldRole)
        return m_columns[section].field;
    if (role != Qt::DisplayRole)
        return QVariant();
    QString caption = m_columns[section].caption;
    for (int i = 0; i < m_markers.size(); ++i) {
        if (m_markers[i].field.compare(m_columns[section].field, Qt::CaseInsensitive) != 0)
            continue;
        caption += QLatin1Char(' ') + (m_markers[i].descending ? QStringLiteral("▼") : QStringLiteral("▲"));
        if (m_markers.size() > 1)
            caption += QString::number(i + 1);
        break;
    }
    return caption;
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags fl = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_readOnly && index.column() < m_columns.size() && !m_columns[index.column()].readOnly &&
        m_fields.value(index.column(), -1) >= 0)
        fl |= Qt::ItemIsEditable;
    return fl;
}
