#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class CategoryTree;
class QAction;
class QLineEdit;
class QMenu;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// Category maintenance and picking for one tree of tType. Browsing shows the nodes; adding (a
// child or a sibling of the selected node, with a proposed code) and editing (the name only)
// enter through the tool bar or the tree's pop-up menu. A pick (double-click or 选择) copies the
// node's name and code into the opener's boxes named by the caller id and closes the window;
// without a caller id the window only maintains the tree.
class TFrmTree : public QDialog {
    Q_OBJECT
public:
    enum class State { Browse, AddChild, AddSibling, Edit };

    // tree: "Medicine", "Supply", "Custom", "Employee" or "Zone"; rootCaption is also the window
    // caption; opener is the window whose boxes a pick fills (and the parent). Throws DbError
    // when the tree cannot be read.
    TFrmTree(const QString& tree, const QString& rootCaption, const QString& caller = QString(),
             QWidget* opener = nullptr);
    ~TFrmTree() override;

    // Shows the window modally over opener; true when a node was picked (the opener's boxes are
    // filled by then, and pickedCode/pickedName tell the choice).
    static bool Pick(QWidget* opener, const QString& tree, const QString& rootCaption, const QString& caller,
                     QString* code = nullptr, QString* name = nullptr);
    // The objectNames of the opener's boxes that receive a pick: {name box, code box}; the code
    // box is empty for callers that keep the name only (areas, the stock-care filter), the list
    // is empty for an unknown caller.
    static QStringList PickBoxes(const QString& caller, const QString& tree);

    QString tree() const { return m_tree; }
    QString caller() const { return m_caller; }
    State state() const { return m_state; }
    QString pickedCode() const { return m_pickedCode; }
    QString pickedName() const { return m_pickedName; }

private:
    void buildControls();
    void setState(State s);
    CategoryTree categoryTree() const;
    QTreeWidgetItem* selectedItem() const;
    void TreeView1Change(QTreeWidgetItem* item);
    void TreeView1DblClick(QTreeWidgetItem* item);
    void startAdding(bool child);
    void TB_AddClick() { startAdding(true); }
    void TB_EditClick();
    void TB_DelClick();
    void TB_SaveClick();
    void TB_CancelClick();
    void TB_SelectClick();
    void TB_RefreshClick();
    bool saveNew();
    bool saveEdit();
    void fillBoxes(QTreeWidgetItem* item);

    QString m_tree;
    QString m_rootCaption;
    QString m_caller;
    QWidget* m_opener = nullptr;
    State m_state = State::Browse;
    QString m_pickedCode;
    QString m_pickedName;
    QTreeWidget* m_view = nullptr;
    QLineEdit* m_code = nullptr;
    QLineEdit* m_name = nullptr;
    QToolButton* m_add = nullptr;
    QToolButton* m_edit = nullptr;
    QToolButton* m_del = nullptr;
    QToolButton* m_save = nullptr;
    QToolButton* m_cancel = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_addSibling = nullptr;
    QAction* m_addChild = nullptr;
};
