#pragma once

#include <QTextBrowser>
#include <QWidget>

// The start page "导航": nav/index.html of the program folder.
class TFrmNav : public QWidget {
    Q_OBJECT
public:
    explicit TFrmNav(const QString& home, QWidget* parent = nullptr);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
