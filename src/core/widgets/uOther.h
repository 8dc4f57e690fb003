#pragma once

#include <QDialog>
#include <QString>

class DataGrid;
class DataSet;
class QLineEdit;
class QToolButton;

// Maintenance of one lookup list of tOther (Units, Depart, JiXing, DepotName, CashType,
// Position): browsing the entries, entering a new one or changing the current one. Changes are
// stored at once. Names may repeat; the drop-downs show what is stored.
class TFrmOther : public QDialog {
    Q_OBJECT
public:
    enum class State { Browse, Add, Edit };

    // caption: the window caption (计量单位管理 ...); listName: the list written into tablename;
    // query: the dataset shown (null: the data module's QryOther).
    TFrmOther(const QString& caption, const QString& listName, DataSet* query = nullptr,
              QWidget* parent = nullptr);

    QString listName() const { return m_listName; }
    State state() const { return m_state; }

private:
    void FormShow();
    void TB_AddClick();
    void TB_EditClick();
    void TB_DelClick();
    void TB_SaveClick();
    void TB_CancelClick();
    void setEntering(bool on);

    QString m_listName;
    DataSet* m_qry = nullptr;
    State m_state = State::Browse;
    DataGrid* m_grid = nullptr;
    QWidget* m_panel = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_note = nullptr;
    QToolButton* m_add = nullptr;
    QToolButton* m_edit = nullptr;
    QToolButton* m_del = nullptr;
    QToolButton* m_save = nullptr;
    QToolButton* m_cancel = nullptr;
};
