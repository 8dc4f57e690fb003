#pragma once

#include <QDialog>

class QLineEdit;

// Changing a password (menu 修改我的登录密码): the logged-in operator's name, the old password
// checked against its hash, the new one typed twice.
class TFrmChangePassword : public QDialog {
    Q_OBJECT
public:
    explicit TFrmChangePassword(QWidget* parent = nullptr);

private:
    void BtnOkClick();

    QLineEdit* m_userName = nullptr;
    QLineEdit* m_oldPassword = nullptr;
    QLineEdit* m_newPassword = nullptr;
    QLineEdit* m_repeat = nullptr;
};
