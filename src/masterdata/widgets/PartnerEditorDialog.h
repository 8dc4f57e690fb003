#pragma once

#include "masterdata/PartnerEditor.h"

#include <QDialog>
#include <memory>

class DataSet;
class EditorForm;
class QPushButton;

// The editor dialog of suppliers, customers and employees: the boxes of its kind, one button
// that saves (adding a new row or changing the list's current row) and one that closes.
class PartnerEditorDialog : public QDialog {
    Q_OBJECT
public:
    PartnerEditorDialog(const PartnerKind& kind, DataSet& list, QWidget* parent = nullptr);
    ~PartnerEditorDialog() override;

    bool AddMode = true;
    PartnerEditor& editor() { return m_editor; }
    EditorForm& form() { return *m_form; }

    void FormShow();
    void BtnOkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pick(const EditorField& field);

    const PartnerKind& m_kind;
    DataSet& m_list;
    PartnerEditor m_editor;
    std::unique_ptr<EditorForm> m_form;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_shown = false;
};
