#include "shell/uNav.h"

#include "core/widgets/Commands.h"
#include "shell/NavRouting.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QVBoxLayout>

TFrmNav* FrmNav = nullptr;

TFrmNav::TFrmNav(const QString& home, QWidget* parent) : QWidget(parent), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("FrmNav"));
    setWindowTitle(tr("导航"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/nav.svg")));
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_browser->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &TFrmNav::WebBrowser1BeforeNavigate2);

    m_page = QDir(home).filePath(QStringLiteral("nav/index.html"));
    m_browser->setSearchPaths({QDir(home).filePath(QStringLiteral("nav"))});
    if (QFileInfo::exists(m_page))
        m_browser->setSource(QUrl::fromLocalFile(m_page));
    else
        m_browser->setHtml(
            tr("<p style=\"margin:24px; color:#8a2b22;\">找不到导航页 %1。</p>").arg(m_page.toHtmlEscaped()));
}

void TFrmNav::WebBrowser1BeforeNavigate2(const QUrl& link) {
    const QStringList names = NavRouting::commandsFor(NavRouting::targetText(link, m_browser->source()));
    if (names.isEmpty()) {
        // Not a command: other pages of the start page open here, anything else outside.
        if (link.isLocalFile() && QFileInfo(link.toLocalFile()).suffix().startsWith(QLatin1String("htm")))
            m_browser->setSource(link);
        else if (!link.isRelative())
            QDesktopServices::openUrl(link);
        return;
    }
    // A command may close every child window, this page included.
    QPointer<TFrmNav> self(this);
    for (const QString& name : names) {
        Commands::run(name);
        if (!self)
            return;
    }
}
