#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

// The start page "导航": nav/index.html of the program folder. A click on a link that names
// commands runs them through their actions (so permissions apply) and the page stays; other
// links are followed. Loading a page never runs a command.
class TFrmNav : public QWidget {
    Q_OBJECT
public:
    explicit TFrmNav(const QString& home, QWidget* parent = nullptr);
    QTextBrowser* browser() const { return m_browser; }
    QString pagePath() const { return m_page; }

    // A link was clicked (the target as the browser reports it).
    void WebBrowser1BeforeNavigate2(const QUrl& link);

private:
    QTextBrowser* m_browser;
    QString m_page;
};

extern TFrmNav* FrmNav;
