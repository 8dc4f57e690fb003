#pragma once

#include "masterdata/MemberEditor.h"

#include <QDialog>
#include <memory>

class DataSet;
class EditorForm;
class QPushButton;
class QTabWidget;

// The member editor: a new member, or the current row of the data module's QryMember. It
// closes itself (Accepted) after a successful save.
class TFrmAddMember : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAddMember(QWidget* parent = nullptr);
    ~TFrmAddMember() override;

    bool AddMode = true;
    MemberEditor& editor() { return m_editor; }

    void FormShow();
    void Button1Click(); // 保存
    void EditMemberNameChange(const QString& name);

protected:
    void showEvent(QShowEvent* event) override;

private:
    DataSet& m_list;
    MemberEditor m_editor{true};
    std::unique_ptr<EditorForm> m_form;
    QTabWidget* m_pages = nullptr;
    bool m_shown = false;
};
