#pragma once

#include "reports/engine/PreparedPage.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The pages of a report built from its data, ready to paint any number of times.
class PreparedReport {
public:
    int pageCount() const { return int(m_pages.size()); }
    const PreparedPage& page(int index) const { return m_pages.at(index); }
    PreparedPage& page(int index) { return m_pages[index]; }
    const QVector<PreparedPage>& pages() const { return m_pages; }
    PreparedPage& addPage(const PreparedPage& page);

    // The texts of one page as "band/object: text" lines, in layout order.
    QStringList pageLines(int index) const;
    // Every page: a line "=== <n> ===" before the lines of page n.
    QString toText() const;
    // The first page at or after from (wrapping round) holding text; -1 when none does.
    int findText(const QString& text, int from = 0, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;

private:
    QVector<PreparedPage> m_pages;
};
