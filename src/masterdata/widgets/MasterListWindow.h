#pragma once

#include "core/widgets/GridHost.h"
#include "masterdata/MasterSearch.h"

#include <QString>
#include <QWidget>

class DataGrid;
class DataSet;
class QLineEdit;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

// What one master list window is made of.
struct MasterListSetup {
    const MasterTable* table = nullptr;
    DataSet* list = nullptr; // the data module's dataset the list and its editor share
    QString objectName;      // "FrmMedicine"
    QString caption;         // "药品管理"
    QString treeCaption;     // root of the category tree; empty: no tree
    QString addAction;
    QString editAction;
    QString deleteAction;
    QString printAction; // empty: no print button
    QString typeAction;  // first item of the tree's menu
    QString typeCaption; // its caption
    bool alternatingColors = false;
    bool batchCategory = false;
};

// The master list window: category tree, search box searching on every keystroke, grid with
// sort markers and pop-up menu, and the buttons of its commands. The medicine, supplier,
// customer, employee and member lists are this window with their own setup.
class MasterListWindow : public QWidget, public GridHost {
    Q_OBJECT
public:
    MasterListWindow(const MasterListSetup& setup, QWidget* parent = nullptr);
    ~MasterListWindow() override;

    const MasterListSetup& setup() const { return m_setup; }
    MasterSearch& search() { return m_search; }
    DataGrid* grid() const { return m_grid; }
    // The list's selection again, e.g. after an editor saved (see MasterSearch::reload).
    void reload();

    DataGrid* hostGrid() override { return m_grid; }
    QString hostGridName() const override { return windowTitle(); }

    // The handlers under their established names.
    void FormShow();
    void EditKeyChange(const QString& text);
    void TreeView1DblClick(QTreeWidgetItem* item);
    void RefreshClick();     // 刷新: the same selection again (the search and category stay)
    void RefreshTreeClick(); // 刷新 of the tree
    void ExportClick();      // Excel, 导出Excel
    void ChangeTypeClick();  // 批量修改分类

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void layOutGrid();
    void runSearch();
    void fillTree();

    MasterListSetup m_setup;
    MasterSearch m_search;
    bool m_shown = false;
    QToolBar* m_toolBar = nullptr;
    QLineEdit* m_editKey = nullptr;
    QTreeWidget* m_tree = nullptr;
    DataGrid* m_grid = nullptr;
};
