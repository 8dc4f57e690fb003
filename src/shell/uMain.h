#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QString>

// The main window: a multiple-document frame with the status bar; the menus, the toolbar and
// the action registry hang on it.
class TFrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmMain(QWidget* parent = nullptr);

    // Set by the login: the operator's name as typed.
    QString OperatorName;

    QMdiArea* mdiArea() const { return m_mdi; }
    // The three panels of StatusBar1.
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;

    // After the login: caption from tSoftInfo, the company record.
    void FormShow();

private:
    QMdiArea* m_mdi;
    QLabel* m_panels[3];
};

extern TFrmMain* FrmMain;
