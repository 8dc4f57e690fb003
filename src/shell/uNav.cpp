#include "shell/uNav.h"

#include <QDir>
#include <QUrl>
#include <QVBoxLayout>

TFrmNav::TFrmNav(const QString& home, QWidget* parent) : QWidget(parent), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("FrmNav"));
    setWindowTitle(tr("导航"));
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    const QString page = QDir(home).filePath(QStringLiteral("nav/index.html"));
    m_browser->setSearchPaths({QDir(home).filePath(QStringLiteral("nav"))});
    m_browser->setSource(QUrl::fromLocalFile(page));
}
