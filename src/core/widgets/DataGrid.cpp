#include "core/widgets/DataGrid.h"

#include "core/DataSetModel.h"
#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/Routines.h"
#include "core/widgets/Commands.h"
#include "core/widgets/DataGridDelegate.h"
#include "core/widgets/DataGridFooter.h"
#include "core/widgets/uFieldShow.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMenu>
#include <QSet>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Whole-row selection of the given rows, contiguous rows joined into one range.
QItemSelection rowSelection(QAbstractItemModel* model, QVector<int> rows) {
    QItemSelection sel;
    const int last = model->columnCount() - 1;
    if (last < 0)
        return sel;
    std::sort(rows.begin(), rows.end());
    for (int i = 0; i < rows.size();) {
        int j = i;
        while (j + 1 < rows.size() && rows[j + 1] <= rows[j] + 1)
            ++j;
        if (rows[i] >= 0 && rows[j] < model->rowCount())
            sel.select(model->index(rows[i], 0), model->index(rows[j], last));
        i = j + 1;
    }
    return sel;
}

} // namespace

DataGrid::DataGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DataGrid"));
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("gridView"));
    m_model = new DataSetModel(this);
    m_model->setObjectName(QStringLiteral("gridModel"));
    m_delegate = new DataGridDelegate(m_view);
    m_delegate->setObjectName(QStringLiteral("gridDelegate"));
    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_view->setWordWrap(false);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setSortingEnabled(false);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->installEventFilter(this);

    // Rows all have one height: nothing is measured over the rows, whatever their number.
    QHeaderView* rows = m_view->verticalHeader();
    rows->setObjectName(QStringLiteral("gridRowHeader"));
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->setMinimumSectionSize(fontMetrics().height() + 2);
    QHeaderView* titles = m_view->horizontalHeader();
    titles->setObjectName(QStringLiteral("gridHeader"));
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setSectionsMovable(true);
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    titles->setStretchLastSection(false);
    titles->setDefaultAlignment(Qt::AlignCenter);

    m_footer = new DataGridFooter(m_view, m_model, this);
    m_footer->setObjectName(QStringLiteral("gridFooter"));
    m_footer->hide();

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("gridMenu"));
    m_actChoose = m_menu->addAction(tr("设置列显示"));
    m_actChoose->setObjectName(QStringLiteral("actFieldShow"));
    m_actSave = m_menu->addAction(tr("保存列显示"));
    m_actSave->setObjectName(QStringLiteral("actSaveFieldShow"));
    connect(m_actChoose, &QAction::triggered, this, &DataGrid::chooseColumns);
    connect(m_actSave, &QAction::triggered, this, &DataGrid::saveColumns);
    updateMenu();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_footer);

    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_menu->popup(m_view->viewport()->mapToGlobal(pos)); });
    connect(titles, &QHeaderView::sectionClicked, this, &DataGrid::clickTitle);
    connect(m_view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit rowActivated(index.row());
    });
    connect(m_delegate, &DataGridDelegate::buttonClicked, this, [this](const QModelIndex& index) {
        m_view->setCurrentIndex(index);
        emit editButtonClicked(index.row(), m_model->column(index.column()).field);
    });
    connect(
        m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) { onViewCurrentChanged(current.isValid() ? current.row() : -1); });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DataGrid::onSelectionChanged);
    connect(m_model, &DataSetModel::currentRowChanged, this, &DataGrid::onDataSetCurrentChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::followDataSetRow);
    // The message is shown once the editor has closed.
    connect(
        m_model, &DataSetModel::editFailed, this, [](const QString& message) { MsgError(message); },
        Qt::QueuedConnection);
}

DataGrid::~DataGrid() = default;

DataSet* DataGrid::dataSet() const {
    return m_model->dataSet();
}

void DataGrid::setColumns(DataSet* dataSet, const QVector<GridColumn>& columns, const QString& setName) {
    m_setName = setName;
    m_model->setDataSet(dataSet);
    m_model->setColumns(columns);
    QHeaderView* titles = m_view->horizontalHeader();
    // A new set of columns starts in its stored order.
    for (int visual = 0; visual < titles->count(); ++visual) {
        const int logical = titles->logicalIndex(visual);
        if (logical != visual)
            titles->moveSection(titles->visualIndex(visual), visual);
    }
    bool sums = false;
    for (int i = 0; i < columns.size(); ++i) {
        titles->resizeSection(i, columns[i].width);
        sums = sums || columns[i].sum;
    }
    m_footer->setVisible(sums);
    m_footer->invalidate();
    if (dataSet)
        m_model->setSortMarkers(MarkersFromSortText(dataSet->sort(), *dataSet));
    updateMenu();
    followDataSetRow();
}

void DataGrid::updateMenu() {
    m_actChoose->setEnabled(!m_setName.isEmpty());
    m_actSave->setEnabled(!m_setName.isEmpty());
}

int DataGrid::columnCount() const {
    return m_model->columnCount();
}

QVector<GridColumn> DataGrid::visibleColumns() const {
    QVector<GridColumn> cols;
    const QHeaderView* titles = m_view->horizontalHeader();
    for (int visual = 0; visual < titles->count(); ++visual) {
        const int logical = titles->logicalIndex(visual);
        if (titles->isSectionHidden(logical))
            continue;
        GridColumn c = m_model->column(logical);
        c.width = titles->sectionSize(logical);
        cols << c;
    }
    return cols;
}

QVector<ColumnLayout> DataGrid::columnLayout() const {
    QVector<ColumnLayout> layout;
    for (const GridColumn& c : visibleColumns())
        layout.push_back({c.field, c.width});
    return layout;
}

int DataGrid::currentRow() const {
    const QModelIndex i = m_view->currentIndex();
    return i.isValid() ? i.row() : -1;
}

QVariant DataGrid::fieldValue(const QString& field) const {
    const DataSet* ds = dataSet();
    const int row = currentRow();
    if (!ds || row < 0)
        return QVariant();
    return ds->value(row, ds->fieldIndex(field));
}

QVector<DataSet::Bookmark> DataGrid::selectedBookmarks() const {
    const DataSet* ds = dataSet();
    return ds ? ds->selectedBookmarks() : QVector<DataSet::Bookmark>();
}

void DataGrid::selectRows(const QVector<int>& rows) {
    m_view->selectionModel()->select(rowSelection(m_model, rows), QItemSelectionModel::ClearAndSelect);
}

QVector<SortMarker> DataGrid::sortMarkers() const {
    return m_model->sortMarkers();
}

void DataGrid::setSortMarkers(const QVector<SortMarker>& markers) {
    m_model->setSortMarkers(markers);
    emit sortMarkersChanged();
}

void DataGrid::clickTitle(int column) {
    if (column < 0 || column >= m_model->columnCount())
        return;
    setSortMarkers(ToggleSortMarker(sortMarkers(), m_model->column(column).field));
    if (DataSet* ds = dataSet()) {
        try {
            SortByMarkers(this, *ds);
        } catch (const DbError& e) {
            MsgError(e.message());
        }
    }
}

void DataGrid::setReadOnly(bool on) {
    m_model->setReadOnly(on);
}

bool DataGrid::isReadOnly() const {
    return m_model->isReadOnly();
}

void DataGrid::setAlternatingRowColors(bool on) {
    m_view->setAlternatingRowColors(on);
}

bool DataGrid::isFooterVisible() const {
    return !m_footer->isHidden();
}

QString DataGrid::footerText(int column) const {
    return m_footer->text(column);
}

void DataGrid::chooseColumns() {
    if (m_setName.isEmpty())
        return;
    TFrmFieldShow dlg(this);
    dlg.setSetName(m_setName);
    dlg.exec();
}

void DataGrid::saveColumns() {
    if (m_setName.isEmpty())
        return;
    try {
        SaveGridColumns(this, m_setName, true);
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void DataGrid::onViewCurrentChanged(int row) {
    emit currentRowChanged(row);
    DataSet* ds = dataSet();
    if (m_syncing || !ds || row < 0 || row >= ds->recordCount() || ds->recNo() == row)
        return;
    try {
        ds->setRecNo(row);
    } catch (const DbError& e) {
        // The pending edit could not be posted: the dataset stays on its row, so does the view.
        MsgError(e.message());
        followDataSetRow();
    }
}

void DataGrid::onDataSetCurrentChanged(int row) {
    if (m_syncing || row < 0 || row >= m_model->rowCount() || currentRow() == row)
        return;
    m_syncing = true;
    const int column = qMax(0, m_view->currentIndex().column());
    // A selection of several rows stays; otherwise the selection follows the row, as a click would.
    const DataSet* ds = dataSet();
    const auto mode = ds && ds->selectedBookmarks().size() > 1
                          ? QItemSelectionModel::NoUpdate
                          : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    m_view->selectionModel()->setCurrentIndex(m_model->index(row, column), mode);
    m_view->scrollTo(m_model->index(row, column));
    m_syncing = false;
}

// After the dataset was opened again or sorted: the view goes to the dataset's row and shows
// the rows the dataset still holds as selected.
void DataGrid::followDataSetRow() {
    DataSet* ds = dataSet();
    if (!ds || m_model->rowCount() == 0 || m_model->columnCount() == 0)
        return;
    const int row = qBound(0, ds->recNo(), m_model->rowCount() - 1);
    const QVector<DataSet::Bookmark> marks = ds->selectedBookmarks();
    m_syncing = true;
    const QModelIndex index = m_model->index(row, qMax(0, m_view->currentIndex().column()));
    if (marks.isEmpty()) {
        m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    } else {
        m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        restoreSelection(marks);
    }
    m_syncing = false;
}

void DataGrid::restoreSelection(const QVector<DataSet::Bookmark>& marks) {
    const DataSet* ds = dataSet();
    const QSet<DataSet::Bookmark> wanted(marks.begin(), marks.end());
    QVector<int> rows;
    for (int r = 0; r < ds->recordCount() && rows.size() < wanted.size(); ++r)
        if (wanted.contains(ds->bookmarkAt(r)))
            rows << r;
    selectRows(rows);
}

void DataGrid::onSelectionChanged() {
    DataSet* ds = dataSet();
    if (!ds)
        return;
    // Rows from the selection's ranges: overlapping ranges are joined, each row counted once.
    QVector<QPair<int, int>> spans;
    for (const QItemSelectionRange& r : m_view->selectionModel()->selection())
        spans.push_back({r.top(), r.bottom()});
    std::sort(spans.begin(), spans.end());
    QVector<DataSet::Bookmark> marks;
    int next = 0;
    for (const auto& s : spans) {
        for (int row = qMax(s.first, next); row <= s.second && row < ds->recordCount(); ++row)
            marks << ds->bookmarkAt(row);
        next = qMax(next, s.second + 1);
    }
    ds->setSelectedBookmarks(marks);
}

bool DataGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && currentRow() >= 0 &&
            !m_view->indexWidget(m_view->currentIndex())) { // not while editing
            emit rowActivated(currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LoadGridColumns(DataGrid* grid, DataSet& dataSet, const QString& setName) {
    LoadDecimals();
    grid->setColumns(&dataSet, ReadGridColumns(setName), setName);
    Commands::showStatus(2,
                         QObject::tr("当前共有%1条记录").arg(dataSet.isOpen() ? dataSet.recordCount() : 0));
}

void SaveGridColumns(DataGrid* grid, const QString& setName, bool showMessage) {
    SaveGridColumns(setName, grid->columnLayout(), showMessage);
}

void SortByMarkers(DataGrid* grid, DataSet& dataSet) {
    if (!dataSet.isOpen())
        return;
    SortByMarkers(dataSet, grid->sortMarkers());
}
