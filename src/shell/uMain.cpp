#include "shell/uMain.h"

#include "core/DbError.h"
#include "core/Routines.h"
#include "core/UData.h"

#include <QApplication>
#include <QStatusBar>

TFrmMain* FrmMain = nullptr;

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent), m_mdi(new QMdiArea(this)) {
    FrmMain = this;
    setObjectName(QStringLiteral("FrmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/home/IMG/pelmora.svg")));
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setViewMode(QMdiArea::SubWindowView);
    setCentralWidget(m_mdi);
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    const int widths[3] = {220, 300, 0};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (widths[i] > 0) {
            m_panels[i]->setMinimumWidth(widths[i]);
            bar->addWidget(m_panels[i]);
        } else {
            bar->addWidget(m_panels[i], 1);
        }
    }
    resize(1200, 800);
}

void TFrmMain::setPanelText(int panel, const QString& text) {
    if (panel >= 0 && panel < 3)
        m_panels[panel]->setText(text);
}

QString TFrmMain::panelText(int panel) const { return panel >= 0 && panel < 3 ? m_panels[panel]->text() : QString(); }

void TFrmMain::FormShow() {
    if (!FrmData || !FrmData->connected())
        return;
    try {
        OpenSQL(FrmData->QrySys, QStringLiteral("SELECT * FROM tSoftInfo ORDER BY id LIMIT 1"));
        const QString title = FrmData->QrySys.text(QStringLiteral("SoftName")) + FrmData->QrySys.text(QStringLiteral("Version"));
        setWindowTitle(title);
        QApplication::setApplicationDisplayName(title);
        OpenSQL(FrmData->QryCompany, QStringLiteral("SELECT * FROM tCompany ORDER BY id LIMIT 1"));
    } catch (const DbError&) {
        setWindowTitle(QStringLiteral("Pelmora"));
    }
}
