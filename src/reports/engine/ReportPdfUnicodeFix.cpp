#include "reports/engine/ReportPdfUnicodeFix.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QHash>
#include <QRawFont>
#include <QSaveFile>

namespace {

// Radical code point -> the ideograph drawn with the same glyph.
const QHash<ushort, ushort>& radicalMap() {
    static const QHash<ushort, ushort> map = [] {
        QHash<ushort, ushort> m;
        for (ushort cp = 0x2F00; cp <= 0x2FD5; ++cp) {
            const QString n = QString(QChar(cp)).normalized(QString::NormalizationForm_KC);
            if (n.size() == 1 && n.at(0).unicode() != cp)
                m.insert(cp, n.at(0).unicode());
        }
        // The radicals supplement has no decompositions: take the pairing from the fonts.
        for (const char* family : {"Noto Serif CJK SC", "Noto Sans CJK SC"}) {
            const QRawFont raw = QRawFont::fromFont(QFont(QLatin1String(family)));
            if (!raw.isValid() || !raw.familyName().startsWith(QLatin1String("Noto")))
                continue;
            QString ideographs;
            for (ushort cp = 0x4E00; cp <= 0x9FFF; ++cp)
                ideographs += QChar(cp);
            const QList<quint32> glyphs = raw.glyphIndexesForString(ideographs);
            QHash<quint32, ushort> byGlyph;
            for (int i = 0; i < glyphs.size(); ++i) {
                if (glyphs.at(i) && !byGlyph.contains(glyphs.at(i)))
                    byGlyph.insert(glyphs.at(i), ushort(0x4E00 + i));
            }
            for (ushort cp = 0x2E80; cp <= 0x2FDF; ++cp) {
                if (m.contains(cp))
                    continue;
                const QList<quint32> g = raw.glyphIndexesForString(QString(QChar(cp)));
                if (!g.isEmpty() && g.first() && byGlyph.contains(g.first()))
                    m.insert(cp, byGlyph.value(g.first()));
            }
        }
        return m;
    }();
    return map;
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Rewrites the destination codes of one "bfchar" or "bfrange" section in place.
int fixSection(QByteArray* pdf, qsizetype begin, qsizetype end, bool range) {
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
        const int firstDestination = range ? 2 : 1;
        // "<a> <b> <start>" maps a run of consecutive codes; leave those as they are.
        const bool run =
            range && !array && tokens.size() == 3 && pdf->mid(tokens.at(0), 6) != pdf->mid(tokens.at(1), 6);
        if (!run) {
            for (int t = firstDestination; t < tokens.size(); ++t) {
                const qsizetype at = tokens.at(t);
                if (at + 5 >= pdf->size() || pdf->at(at + 5) != '>')
                    continue;
                bool hex = true;
                for (int k = 1; k <= 4; ++k)
                    hex = hex && isHex(pdf->at(at + k));
                if (!hex)
                    continue;
                const ushort code = ushort(pdf->mid(at + 1, 4).toUShort(nullptr, 16));
                const auto it = radicalMap().constFind(code);
                if (it == radicalMap().constEnd())
                    continue;
                const QByteArray replacement =
                    QByteArray::number(it.value(), 16).toUpper().rightJustified(4, '0');
                pdf->replace(at + 1, 4, replacement);
                ++changed;
            }
        }
        lineStart = lineEnd + 1;
    }
    return changed;
}

} // namespace

QByteArray ReportPdfUnicodeFix::fix(const QByteArray& pdf, int* changed) {
    QByteArray out = pdf;
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
            count += fixSection(&out, begin + open.size(), end, range);
            from = end + close.size();
        }
    }
    if (changed)
        *changed = count;
    return out;
}

bool ReportPdfUnicodeFix::fixFile(const QString& path, QString* error) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    const QByteArray original = in.readAll();
    in.close();
    int changed = 0;
    const QByteArray fixed = fix(original, &changed);
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
