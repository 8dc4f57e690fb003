#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

// The manual "帮助文件": Doc/manual.html of the program folder, shown inside the frame.
class TFrmHelp : public QWidget {
    Q_OBJECT
public:
    explicit TFrmHelp(const QString& home, QWidget* parent = nullptr);
    QTextBrowser* browser() const { return m_browser; }

private:
    void followLink(const QUrl& link);

    QTextBrowser* m_browser;
};

extern TFrmHelp* FrmHelp;
