#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TFrmMain;

// The login window "登录": operator list, password, OK and cancel.
class TFrmLogin : public QDialog {
    Q_OBJECT
public:
    TFrmLogin(TFrmMain* main, const QString& home, QWidget* parent = nullptr);

    bool LoginOK = false;

    void FormShow();
    void Btn_okClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void ComboUserSelect(int index);

    TFrmMain* m_main;
    QString m_home;
    QComboBox* ComboUser;
    QLineEdit* EditPass;
    QLabel* Image1;
    QPushButton* Btn_ok;
    QPushButton* Btn_Exit;
    int m_chosen = -1; // list position of the chosen entry, -1 once the text was typed
};
