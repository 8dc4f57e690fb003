#pragma once

#include "core/DataSet.h"
#include "core/GridColumns.h"

#include <QVariant>
#include <QVector>
#include <QWidget>

class DataGridDelegate;
class DataGridFooter;
class DataSetModel;
class QAction;
class QItemSelection;
class QMenu;
class QTableView;

// The program's data grid: a table over a DataSet with columns laid out from a column set of
// tFieldShow (see LoadGridColumns), a footer row of sums under the summed columns, title sort
// markers on several columns (a click cycles none, ascending, descending; the dataset is
// sorted at once), whole-row multi-selection handed to the dataset as bookmarks, ellipsis
// buttons in button columns, and the pop-up items "设置列显示" and "保存列显示".
//
// Windows load a grid after each OpenSQL of its dataset:
//     OpenSQL(m_qry, sql, values);
//     LoadGridColumns(m_grid, m_qry, QStringLiteral("Medicine"));
// and read the current row with fieldValue("MedicineCode") or the dataset itself (the grid
// keeps the dataset's current row on the row the user is on, and follows the dataset's cursor).
// Editable cells write through DataSet::setValue; a refused value is reported with the
// dataset's message and the cell keeps its old value.
class DataGrid : public QWidget {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // Shows the dataset through these columns (LoadGridColumns reads them from a column set).
    // Sort markers are taken from the dataset's current sort.
    void setColumns(DataSet* dataSet, const QVector<GridColumn>& columns, const QString& setName = QString());
    QString setName() const { return m_setName; }
    DataSet* dataSet() const;
    DataSetModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }
    // The pop-up menu; windows may add their own actions to it.
    QMenu* contextMenu() const { return m_menu; }

    int columnCount() const;
    // The columns as the user sees them: in shown order, with their current widths.
    QVector<GridColumn> visibleColumns() const;
    QVector<ColumnLayout> columnLayout() const;

    // The row the user is on (-1 without rows) and a field of it.
    int currentRow() const;
    QVariant fieldValue(const QString& field) const;
    // The dataset's bookmarks of the selected rows, in row order.
    QVector<DataSet::Bookmark> selectedBookmarks() const;
    // Selects rows (whole rows; earlier selection cleared).
    void selectRows(const QVector<int>& rows);

    QVector<SortMarker> sortMarkers() const;
    void setSortMarkers(const QVector<SortMarker>& markers); // shown only; SortByMarkers sorts
    // A click on a column title: cycles the column's marker and sorts.
    void clickTitle(int column);

    void setReadOnly(bool on);
    bool isReadOnly() const;
    void setAlternatingRowColors(bool on);
    // The footer: shown when a column is summed.
    bool isFooterVisible() const;
    QString footerText(int column) const;
    DataGridFooter* footer() const { return m_footer; }

    // The pop-up items: the column chooser for this grid's set, and storing order and widths.
    void chooseColumns();
    void saveColumns();

signals:
    void rowActivated(int row); // double click or Enter
    void editButtonClicked(int row, const QString& field);
    void currentRowChanged(int row);
    void sortMarkersChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onViewCurrentChanged(int row);
    void onDataSetCurrentChanged(int row);
    void onSelectionChanged();
    void followDataSetRow();
    void restoreSelection(const QVector<DataSet::Bookmark>& marks);
    void updateMenu();

    QTableView* m_view;
    DataSetModel* m_model;
    DataGridDelegate* m_delegate;
    DataGridFooter* m_footer;
    QMenu* m_menu;
    QAction* m_actChoose;
    QAction* m_actSave;
    QString m_setName;
    bool m_syncing = false;
};

// Lays a grid out from a column set over an open dataset: reloads the decimal settings, reads
// the set's shown columns (see ReadGridColumns) and shows "当前共有" + count + "条记录" in the
// main window's third status panel. Throws DbError when the settings cannot be read.
void LoadGridColumns(DataGrid* grid, DataSet& dataSet, const QString& setName);
// Stores the grid's column order and widths under the set (see SaveGridColumns of the column
// sets); throws DbError.
void SaveGridColumns(DataGrid* grid, const QString& setName, bool showMessage);
// Sorts the dataset by the grid's title sort markers.
void SortByMarkers(DataGrid* grid, DataSet& dataSet);
