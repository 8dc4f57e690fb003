#pragma once

#include "core/GridColumns.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// The column chooser of a grid set: hidden columns on the left, shown ones on the right, moved
// with the arrow buttons or a double click; "确定(&Y)" stores which are shown. The grid shows
// the change the next time its window loads it.
class TFrmFieldShow : public QDialog {
    Q_OBJECT
public:
    explicit TFrmFieldShow(QWidget* parent = nullptr);

    // The set to edit; assigned before the window is shown.
    void setSetName(const QString& setName) { m_setName = setName; }
    QString setName() const { return m_setName; }
    const ColumnChoice& choice() const { return m_choice; }

    // Fills the two lists from the set (done when the window is first shown).
    void FormShow();
    void BtnAddClick();       // ">"
    void BtnAddAllClick();    // ">>"
    void BtnRemoveClick();    // "<"
    void BtnRemoveAllClick(); // "<<"
    void BtnOkClick();        // "确定(&Y)"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refill();

    QString m_setName;
    ColumnChoice m_choice;
    bool m_filled = false;
    QListWidget* m_lstHidden;
    QListWidget* m_lstShown;
    QPushButton* m_btnAdd;
    QPushButton* m_btnAddAll;
    QPushButton* m_btnRemove;
    QPushButton* m_btnRemoveAll;
    QPushButton* m_btnOk;
    QPushButton* m_btnExit;
};
