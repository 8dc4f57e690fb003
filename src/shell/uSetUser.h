#pragma once

#include "shell/OperatorAdmin.h"

#include <QDialog>

class DataGrid;
class QAction;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QStatusBar;
class QTabWidget;
class QTreeWidget;

// Operators and permission groups (action SetUser): two tabs over tAdmin sharing one
// three-state tree of the permission catalogue. The rules live in OperatorAdmin.
class TFrmSetUser : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSetUser(QWidget* parent = nullptr);
    ~TFrmSetUser() override;

    // The ticks of the tree as a permission string (fully ticked nodes, tree order).
    QString treePermissions() const;
    // Ticks exactly the nodes a permission string grants.
    void tickTree(const QString& permissionString);

private:
    struct Tab {
        QAction* add = nullptr;
        QAction* edit = nullptr;
        QAction* del = nullptr;
        QAction* cancel = nullptr;
        QAction* save = nullptr;
        bool adding = false;
    };

    QWidget* buildUserTab();
    QWidget* buildTeamTab();
    void buildActions(Tab& tab, const QString& suffix, QWidget* owner);
    bool usersTab() const;
    void pcUserChange();
    void openRows(qint64 locateId = -1);
    void showCurrent();
    void setResting(Tab& tab, bool resting);
    void ComboTypeChange(const QString& group);
    void aAddUserExecute();
    void aAddTeamExecute();
    void aSaveUserExecute();
    void aSaveTeamExecute();
    void aDelUserExecute();
    void aDelTeamExecute();
    void cancelTab(Tab& tab);
    void finishSave(OperatorAdmin::Outcome r, OperatorAdmin::Outcome duplicate, QWidget* nameBox, qint64 saved,
                    qint64 id, Tab& tab);

    QTabWidget* m_pages = nullptr;
    QTreeWidget* m_tree = nullptr;
    QStatusBar* m_status = nullptr;
    DataGrid* m_gridUser = nullptr;
    DataGrid* m_gridTeam = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QComboBox* m_team = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QLineEdit* m_teamName = nullptr;
    QPlainTextEdit* m_teamMemo = nullptr;
    Tab m_user;
    Tab m_group;
    int m_listener = -1;
};
