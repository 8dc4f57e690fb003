#pragma once

#include <QByteArray>
#include <QString>

// Corrects the character maps (ToUnicode) of a PDF written by QPdfWriter. The CJK fonts we
// print with give a radical (U+2F26 ⼦, U+2EA0 ⺠) and its ideograph (子, 民) one glyph, and the
// writer maps that glyph back to the lower code point, the radical; text copied or searched in
// the PDF would then not match. Each such entry is pointed at the ideograph instead. The
// entries keep their length, so no offset of the file moves.
class ReportPdfUnicodeFix {
public:
    // Returns the fixed document; changed counts the entries rewritten.
    static QByteArray fix(const QByteArray& pdf, int* changed = nullptr);
    static bool fixFile(const QString& path, QString* error = nullptr);
};
