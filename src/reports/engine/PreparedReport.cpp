#include "reports/engine/PreparedReport.h"

PreparedPage& PreparedReport::addPage(const PreparedPage& page) {
    m_pages.append(page);
    return m_pages.last();
}

QStringList PreparedReport::pageLines(int index) const {
    QStringList lines;
    for (const PreparedItem& item : m_pages.at(index).items) {
        if (item.kind == PreparedItem::Kind::Text)
            lines << item.bandName + QLatin1Char('/') + item.objectName + QLatin1String(": ") + item.text;
    }
    return lines;
}

QString PreparedReport::toText() const {
    QStringList out;
    for (int i = 0; i < m_pages.size(); ++i) {
        out << QStringLiteral("=== %1 ===").arg(i + 1);
        out << pageLines(i);
    }
    return out.join(QLatin1Char('\n'));
}

int PreparedReport::findText(const QString& text, int from, Qt::CaseSensitivity cs) const {
    if (text.isEmpty() || m_pages.isEmpty())
        return -1;
    const int count = int(m_pages.size());
    from = qBound(0, from, count - 1);
    for (int step = 0; step < count; ++step) {
        const int index = (from + step) % count;
        for (const PreparedItem& item : m_pages.at(index).items) {
            if (item.kind == PreparedItem::Kind::Text && item.text.contains(text, cs))
                return index;
        }
    }
    return -1;
}
