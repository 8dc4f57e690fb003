#pragma once

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QString>

// Corrects the character maps (ToUnicode) of a PDF written by QPdfWriter. The writer maps each
// glyph back to the lowest code point the font draws with it; the CJK fonts we print with give
// one glyph to a radical and its ideograph (⾦ and 金) and to some pairs of ideographs (戶 and 户),
// so text copied or searched in the PDF would not be what was printed. Knowing what was
// printed, each entry that names a character the document never used is pointed at the used
// character with the same glyph. Entries keep their length, so no offset of the file moves.
class ReportPdfUnicodeFix {
public:
    // fonts: the fonts the document was painted with; printed: every text painted.
    static QByteArray fix(const QByteArray& pdf, const QList<QFont>& fonts, const QString& printed,
                          int* changed = nullptr);
    static bool fixFile(const QString& path, const QList<QFont>& fonts, const QString& printed,
                        QString* error = nullptr);
};
