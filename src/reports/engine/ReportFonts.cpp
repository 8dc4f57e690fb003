#include "reports/engine/ReportFonts.h"

#include <QStringList>

void ReportFonts::install() {
    static const bool installed = [] {
        const QString serif = QStringLiteral("Noto Serif CJK SC");
        const QString kai = QStringLiteral("AR PL UKai CN");
        const QString sans = QStringLiteral("Noto Sans CJK SC");
        const QString zenHei = QStringLiteral("WenQuanYi Zen Hei");
        QFont::insertSubstitutions(QStringLiteral("宋体"), {serif, zenHei});
        QFont::insertSubstitutions(QStringLiteral("SimSun"), {serif, zenHei});
        QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), {kai, serif});
        QFont::insertSubstitutions(QStringLiteral("楷体"), {kai, serif});
        QFont::insertSubstitutions(QStringLiteral("KaiTi"), {kai, serif});
        QFont::insertSubstitutions(QStringLiteral("黑体"), {sans, zenHei});
        QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"),
                                                             QStringLiteral("DejaVu Sans"), sans, zenHei});
        return true;
    }();
    Q_UNUSED(installed);
}

QFont ReportFonts::layoutFont(const QFont& font) {
    QFont f = font;
    f.setHintingPreference(QFont::PreferNoHinting);
    // Han and Latin text need no shaping; without it the glyphs are the font's own cmap
    // glyphs, which PDF text extraction can map back to characters.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}
