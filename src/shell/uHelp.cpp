#include "shell/uHelp.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QVBoxLayout>

TFrmHelp* FrmHelp = nullptr;

TFrmHelp::TFrmHelp(const QString& home, QWidget* parent)
    : QWidget(parent), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("FrmHelp"));
    setWindowTitle(tr("帮助文件"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/help.svg")));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenLinks(false);
    m_browser->setFrameShape(QFrame::NoFrame);
    m_browser->document()->setDocumentMargin(18);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &TFrmHelp::followLink);

    const QString page = QDir(home).filePath(QStringLiteral("Doc/manual.html"));
    if (QFileInfo::exists(page))
        m_browser->setSource(QUrl::fromLocalFile(page));
    else
        m_browser->setHtml(
            tr("<p style=\"margin:24px; color:#8a2b22;\">找不到帮助文件 %1。</p>").arg(page.toHtmlEscaped()));
}

void TFrmHelp::followLink(const QUrl& link) {
    // Places inside the manual stay here; web pages and other files open with their program.
    if (link.isLocalFile() && QFileInfo(link.toLocalFile()).suffix().startsWith(QLatin1String("htm")))
        m_browser->setSource(link);
    else if (!link.isRelative())
        QDesktopServices::openUrl(link);
}
