#include "reports/engine/ReportPdfUnicodeFix.h"

#include "reports/engine/ReportFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QHash>
#include <QRawFont>
#include <QSaveFile>
#include <QSet>

namespace {

// Finds, for a code point of the map, the printed character drawn with the same glyph.
class GlyphTwins {
public:
    GlyphTwins(const QList<QFont>& fonts, const QString& printed) {
        for (QChar c : printed) {
            if (!c.isSurrogate())
                m_used.insert(c.unicode());
        }
        QString usedText;
        for (ushort c : std::as_const(m_used))
            usedText += QChar(c);
        QSet<QString> seen;
        for (const QFont& font : fonts) {
            const QFont f = ReportFonts::layoutFont(font);
            const QRawFont raw = QRawFont::fromFont(f, QFontDatabase::SimplifiedChinese);
            if (!raw.isValid())
                continue;
            const QString key = raw.familyName() + QLatin1Char('/') + raw.styleName();
            if (seen.contains(key))
                continue;
            seen.insert(key);
            const QList<quint32> glyphs = raw.glyphIndexesForString(usedText);
            QHash<quint32, ushort> byGlyph;
            for (int i = 0; i < glyphs.size() && i < usedText.size(); ++i) {
                if (glyphs.at(i))
                    byGlyph.insert(glyphs.at(i), usedText.at(i).unicode());
            }
            m_fonts.append({raw, byGlyph});
        }
    }

    // 0 when the code is printed itself or has no printed twin.
    ushort twin(ushort code) {
        if (m_used.contains(code))
            return 0;
        const auto cached = m_cache.constFind(code);
        if (cached != m_cache.constEnd())
            return cached.value();
        ushort result = 0;
        for (const FontGlyphs& font : std::as_const(m_fonts)) {
            const QList<quint32> g = font.raw.glyphIndexesForString(QString(QChar(code)));
            if (!g.isEmpty() && g.first() && font.byGlyph.contains(g.first())) {
                result = font.byGlyph.value(g.first());
                break;
            }
        }
        m_cache.insert(code, result);
        return result;
    }

private:
    struct FontGlyphs {
        QRawFont raw;
        QHash<quint32, ushort> byGlyph;
    };
    QSet<ushort> m_used;
    QList<FontGlyphs> m_fonts;
    QHash<ushort, ushort> m_cache;
};

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Rewrites the destination codes of one "bfchar" or "bfrange" section in place.
int fixSection(QByteArray* pdf, qsizetype begin, qsizetype end, bool range, GlyphTwins* twins) {
    int changed = 0;
    qsizetype lineStart = begin;
    while (lineStart < end) {
        qsizetype lineEnd = pdf->indexOf('\n', lineStart);
        if (lineEnd < 0 || lineEnd > end)
            lineEnd = end;
        // Tokens "<XXXX>" of the line: sources first, then destinations.
        QList<qsizetype> tokens;
        bool array = false;
        for (qsizetype i = lineStart; i < lineEnd; ++i) {
            const char c = pdf->at(i);
            if (c == '[')
                array = true;
            if (c == '<') {
                const qsizetype close = pdf->indexOf('>', i);
                if (close < 0 || close > lineEnd)
                    break;
                tokens << i;
                i = close;
            }
        }
        // "<a> <b> <start>" maps a run of consecutive codes; leave those as they are.
        const bool run =
            range && !array && tokens.size() == 3 && pdf->mid(tokens.at(0), 6) != pdf->mid(tokens.at(1), 6);
        if (!run) {
            for (int t = range ? 2 : 1; t < tokens.size(); ++t) {
                const qsizetype at = tokens.at(t);
                if (at + 5 >= pdf->size() || pdf->at(at + 5) != '>')
                    continue;
                bool hex = true;
                for (int k = 1; k <= 4; ++k)
                    hex = hex && isHex(pdf->at(at + k));
                if (!hex)
                    continue;
                const ushort code = ushort(pdf->mid(at + 1, 4).toUShort(nullptr, 16));
                if (code < 0x2E80)
                    continue; // below the CJK blocks nothing is shared
                const ushort twin = twins->twin(code);
                if (!twin)
                    continue;
                pdf->replace(at + 1, 4, QByteArray::number(twin, 16).toUpper().rightJustified(4, '0'));
                ++changed;
            }
        }
        lineStart = lineEnd + 1;
    }
    return changed;
}

} // namespace

QByteArray ReportPdfUnicodeFix::fix(const QByteArray& pdf, const QList<QFont>& fonts, const QString& printed,
                                    int* changed) {
    QByteArray out = pdf;
    GlyphTwins twins(fonts, printed);
    int count = 0;
    for (const bool range : {false, true}) {
        const QByteArray open = range ? QByteArrayLiteral("beginbfrange") : QByteArrayLiteral("beginbfchar");
        const QByteArray close = range ? QByteArrayLiteral("endbfrange") : QByteArrayLiteral("endbfchar");
        qsizetype from = 0;
        for (;;) {
            const qsizetype begin = out.indexOf(open, from);
            if (begin < 0)
                break;
            const qsizetype end = out.indexOf(close, begin);
            if (end < 0)
                break;
            count += fixSection(&out, begin + open.size(), end, range, &twins);
            from = end + close.size();
        }
    }
    if (changed)
        *changed = count;
    return out;
}

bool ReportPdfUnicodeFix::fixFile(const QString& path, const QList<QFont>& fonts, const QString& printed,
                                  QString* error) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    const QByteArray original = in.readAll();
    in.close();
    int changed = 0;
    const QByteArray fixed = fix(original, fonts, printed, &changed);
    if (changed == 0)
        return true;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(fixed) != fixed.size() || !out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}
