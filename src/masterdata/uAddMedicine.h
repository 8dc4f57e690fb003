#pragma once

#include "masterdata/MedicineEditor.h"

#include <QDialog>
#include <memory>

class DataSet;
class EditorForm;
class QCheckBox;
class QPushButton;
class QTabWidget;

// The medicine editor: adds medicines one after the other (the dialog stays open for the
// next one) or edits the current row of the data module's QryMedicine. AddMode is set by the
// opener before the dialog is shown.
class TFrmAddMedicine : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAddMedicine(QWidget* parent = nullptr);
    ~TFrmAddMedicine() override;

    bool AddMode = true;
    MedicineEditor& editor() { return m_editor; }

    void FormShow();
    void BtnOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pick(const EditorField& field);
    void showEditor();

    DataSet& m_list;
    MedicineEditor m_editor{true};
    std::unique_ptr<EditorForm> m_form;
    QTabWidget* m_pages = nullptr;
    QCheckBox* m_auto = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_shown = false;
};
