#include "reports/engine/ReportExpression.h"

ReportExpression ReportExpression::parse(const QString& text) {
    ReportExpression expression;
    QString literal;
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('[')) {
            // The expression ends at the first ']' outside double quotes.
            int j = i + 1;
            bool quoted = false;
            for (; j < n; ++j) {
                if (text.at(j) == QLatin1Char('"'))
                    quoted = !quoted;
                else if (text.at(j) == QLatin1Char(']') && !quoted)
                    break;
            }
            Segment segment;
            if (j < n && parseInner(text.mid(i + 1, j - i - 1), &segment)) {
                if (!literal.isEmpty()) {
                    Segment lit;
                    lit.text = literal;
                    expression.m_segments.append(lit);
                    literal.clear();
                }
                expression.m_segments.append(segment);
                i = j + 1;
                continue;
            }
        }
        literal += c;
        ++i;
    }
    if (!literal.isEmpty()) {
        Segment lit;
        lit.text = literal;
        expression.m_segments.append(lit);
    }
    return expression;
}

bool ReportExpression::isSingleExpression() const {
    return m_segments.size() == 1 && m_segments.first().kind != Kind::Literal;
}

bool ReportExpression::isConstant() const {
    for (const Segment& segment : m_segments) {
        if (segment.kind != Kind::Literal)
            return false;
    }
    return true;
}

bool ReportExpression::uses(Kind kind) const {
    for (const Segment& segment : m_segments) {
        if (segment.kind == kind)
            return true;
    }
    return false;
}

bool ReportExpression::parseFieldRef(QString ref, Segment* segment) {
    ref = ref.trimmed();
    if (ref.startsWith(QLatin1Char('<')) && ref.endsWith(QLatin1Char('>')))
        ref = ref.mid(1, ref.size() - 2).trimmed();
    const int dot = int(ref.indexOf(QLatin1String(".\"")));
    if (dot <= 0 || !ref.endsWith(QLatin1Char('"')) || ref.size() < dot + 3)
        return false;
    const QString dataSet = ref.left(dot).trimmed();
    const QString field = ref.mid(dot + 2, ref.size() - dot - 3);
    if (dataSet.isEmpty() || field.isEmpty() || field.contains(QLatin1Char('"')) ||
        dataSet.contains(QLatin1Char('"')) || dataSet.contains(QLatin1Char(' ')))
        return false;
    segment->dataSet = dataSet;
    segment->field = field;
    return true;
}

bool ReportExpression::parseInner(const QString& rawInner, Segment* segment) {
    const QString inner = rawInner.trimmed();
    struct Keyword {
        const char* text;
        Kind kind;
    };
    static const Keyword keywords[] = {{"Line#", Kind::Line},
                                       {"Page#", Kind::Page},
                                       {"TotalPages#", Kind::TotalPages},
                                       {"Date", Kind::Date},
                                       {"Time", Kind::Time}};
    for (const Keyword& keyword : keywords) {
        if (inner.compare(QLatin1String(keyword.text), Qt::CaseInsensitive) == 0) {
            segment->kind = keyword.kind;
            return true;
        }
    }
    const int open = int(inner.indexOf(QLatin1Char('(')));
    if (open > 0 && inner.endsWith(QLatin1Char(')'))) {
        const QString function = inner.left(open).trimmed();
        const QString args = inner.mid(open + 1, inner.size() - open - 2);
        // Split at the first comma outside quotes.
        int comma = -1;
        bool quoted = false;
        for (int i = 0; i < args.size(); ++i) {
            if (args.at(i) == QLatin1Char('"'))
                quoted = !quoted;
            else if (args.at(i) == QLatin1Char(',') && !quoted) {
                comma = i;
                break;
            }
        }
        const QString first = comma < 0 ? args : args.left(comma);
        QString band = comma < 0 ? QString() : args.mid(comma + 1).trimmed();
        const int nextComma = int(band.indexOf(QLatin1Char(',')));
        if (nextComma >= 0)
            band = band.left(nextComma).trimmed();
        if (function.compare(QLatin1String("SUM"), Qt::CaseInsensitive) == 0) {
            if (!parseFieldRef(first, segment))
                return false;
            segment->kind = Kind::Sum;
            segment->band = band;
            return true;
        }
        if (function.compare(QLatin1String("COUNT"), Qt::CaseInsensitive) == 0) {
            segment->kind = Kind::Count;
            segment->band = first.trimmed();
            return !segment->band.isEmpty();
        }
        return false;
    }
    if (parseFieldRef(inner, segment)) {
        segment->kind = Kind::Field;
        return true;
    }
    return false;
}
