#include "sheet/NumberFormat.h"

#include "sheet/ExcelDate.h"

#include <QHash>
#include <QStringList>
#include <QVector>

#include <cmath>

namespace {

enum class Tok {
    Literal,
    Zero,
    Hash,
    Question,
    Point,
    Comma,
    Percent,
    Exponent,
    Slash,
    At,
    General,
    Year,
    Month,
    Minute,
    Day,
    Weekday,
    Hour,
    Second,
    SubSecond,
    ElapsedHour,
    ElapsedMinute,
    ElapsedSecond,
    AmPm,
};

struct Token {
    Tok type = Tok::Literal;
    QString text;
    int count = 0;     // run length of a date token, digits of an exponent or a fraction of seconds
    bool plus = false; // Exponent: E+ rather than E-
};

struct Condition {
    bool present = false;
    QString op;
    double value = 0;

    bool test(double v) const {
        if (op == QLatin1String("<"))
            return v < value;
        if (op == QLatin1String("<="))
            return v <= value;
        if (op == QLatin1String(">"))
            return v > value;
        if (op == QLatin1String(">="))
            return v >= value;
        if (op == QLatin1String("<>"))
            return v != value;
        return v == value;
    }
    // A section for "[<0]" or "[<=-1]" shows negative numbers without an added minus sign.
    bool impliesNegative() const {
        return present && (op == QLatin1String("<") || op == QLatin1String("<=")) && value <= 0;
    }
};

struct Section {
    QVector<Token> tokens;
    Condition condition;
    bool isDate = false;
    bool hasAt = false;
    bool hasDigits = false;
    bool hasGeneral = false;
    bool chineseNames = false;
};

bool isDigitToken(Tok t) {
    return t == Tok::Zero || t == Tok::Hash || t == Tok::Question;
}

bool isDateToken(Tok t) {
    switch (t) {
    case Tok::Year:
    case Tok::Month:
    case Tok::Minute:
    case Tok::Day:
    case Tok::Weekday:
    case Tok::Hour:
    case Tok::Second:
    case Tok::SubSecond:
    case Tok::ElapsedHour:
    case Tok::ElapsedMinute:
    case Tok::ElapsedSecond:
    case Tok::AmPm:
        return true;
    default:
        return false;
    }
}

QStringList splitSections(const QString& code) {
    QStringList out;
    QString cur;
    bool inQuote = false;
    bool inBracket = false;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (inQuote) {
            cur += c;
            if (c == QLatin1Char('"'))
                inQuote = false;
            continue;
        }
        if (inBracket) {
            cur += c;
            if (c == QLatin1Char(']'))
                inBracket = false;
            continue;
        }
        if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            cur += c;
            if (i + 1 < code.size())
                cur += code.at(++i);
            continue;
        }
        if (c == QLatin1Char('"'))
            inQuote = true;
        else if (c == QLatin1Char('['))
            inBracket = true;
        else if (c == QLatin1Char(';')) {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    return out;
}

class SectionParser {
public:
    explicit SectionParser(Section* section) : m_sec(section) {}

    void parse(const QString& s) {
        const int n = s.size();
        int i = 0;
        while (i < n) {
            const QChar c = s.at(i);
            const ushort u = c.unicode();
            if (u == '"') {
                int j = s.indexOf(QLatin1Char('"'), i + 1);
                if (j < 0)
                    j = n;
                literal(s.mid(i + 1, j - i - 1));
                i = j + 1;
                continue;
            }
            if (u == '\\') {
                if (i + 1 < n)
                    literal(QString(s.at(i + 1)));
                i += 2;
                continue;
            }
            if (u == '_') {
                literal(QStringLiteral(" "));
                i += 2;
                continue;
            }
            if (u == '*') {
                i += 2;
                continue;
            }
            if (u == '[') {
                int j = s.indexOf(QLatin1Char(']'), i + 1);
                if (j < 0)
                    j = n;
                bracket(s.mid(i + 1, j - i - 1));
                i = j + 1;
                continue;
            }
            if (s.mid(i, 7).compare(QLatin1String("General"), Qt::CaseInsensitive) == 0) {
                push(Tok::General);
                i += 7;
                continue;
            }
            if (s.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
                push(Tok::AmPm, s.mid(i, 5));
                i += 5;
                continue;
            }
            if (s.mid(i, 3).compare(QLatin1String("A/P"), Qt::CaseInsensitive) == 0) {
                push(Tok::AmPm, s.mid(i, 3));
                i += 3;
                continue;
            }
            if (s.mid(i, 5) == QStringLiteral("上午/下午")) {
                push(Tok::AmPm, s.mid(i, 5));
                i += 5;
                continue;
            }
            switch (u) {
            case '0':
                push(Tok::Zero);
                ++i;
                continue;
            case '#':
                push(Tok::Hash);
                ++i;
                continue;
            case '?':
                push(Tok::Question);
                ++i;
                continue;
            case '.':
                push(Tok::Point);
                ++i;
                continue;
            case ',':
                push(Tok::Comma);
                ++i;
                continue;
            case '%':
                push(Tok::Percent);
                ++i;
                continue;
            case '/':
                push(Tok::Slash);
                ++i;
                continue;
            case '@':
                push(Tok::At);
                ++i;
                continue;
            default:
                break;
            }
            if ((u == 'E' || u == 'e') && i + 1 < n &&
                (s.at(i + 1) == QLatin1Char('+') || s.at(i + 1) == QLatin1Char('-'))) {
                Token t;
                t.type = Tok::Exponent;
                t.text = QString(c);
                t.plus = s.at(i + 1) == QLatin1Char('+');
                i += 2;
                while (i < n && (s.at(i) == QLatin1Char('0') || s.at(i) == QLatin1Char('#') ||
                                 s.at(i) == QLatin1Char('?'))) {
                    ++t.count;
                    ++i;
                }
                m_sec->tokens.push_back(t);
                continue;
            }
            const QChar lower = c.toLower();
            Tok runType = Tok::Literal;
            bool dropped = false; // era and Buddhist-year markers (g, b)
            switch (lower.unicode()) {
            case 'y':
            case 'e':
                runType = Tok::Year;
                break;
            case 'm':
                runType = Tok::Month;
                break;
            case 'd':
                runType = Tok::Day;
                break;
            case 'h':
                runType = Tok::Hour;
                break;
            case 's':
                runType = Tok::Second;
                break;
            case 'a':
                runType = Tok::Weekday;
                break;
            case 'g':
            case 'b':
                dropped = true;
                break;
            default:
                break;
            }
            if (runType != Tok::Literal || dropped) {
                int j = i;
                while (j < n && s.at(j).toLower() == lower)
                    ++j;
                const int count = j - i;
                if (dropped) {
                    // nothing shown
                } else if (runType == Tok::Weekday && count < 3) {
                    literal(s.mid(i, count));
                } else {
                    Token t;
                    t.type = runType;
                    t.count = lower == QLatin1Char('e') ? 4 : count;
                    m_sec->tokens.push_back(t);
                }
                i = j;
                continue;
            }
            literal(QString(c));
            ++i;
        }
    }

    QString replacement() const { return m_replacement; }

private:
    void push(Tok type, const QString& text = QString()) {
        Token t;
        t.type = type;
        t.text = text;
        m_sec->tokens.push_back(t);
    }

    void literal(const QString& text) {
        if (text.isEmpty())
            return;
        if (!m_sec->tokens.isEmpty() && m_sec->tokens.last().type == Tok::Literal)
            m_sec->tokens.last().text += text;
        else
            push(Tok::Literal, text);
    }

    void bracket(const QString& content) {
        if (content.isEmpty())
            return;
        const QChar first = content.at(0);
        if (first == QLatin1Char('<') || first == QLatin1Char('>') || first == QLatin1Char('=')) {
            static const char* ops[] = {"<=", ">=", "<>", "<", ">", "="};
            for (const char* op : ops) {
                const QLatin1String o(op);
                if (content.startsWith(o)) {
                    bool ok = false;
                    const double v = content.mid(o.size()).trimmed().toDouble(&ok);
                    if (ok) {
                        m_sec->condition.present = true;
                        m_sec->condition.op = o;
                        m_sec->condition.value = v;
                    }
                    return;
                }
            }
            return;
        }
        if (first == QLatin1Char('$')) {
            const QString rest = content.mid(1);
            const int dash = rest.indexOf(QLatin1Char('-'));
            literal(dash < 0 ? rest : rest.left(dash));
            if (dash >= 0) {
                bool ok = false;
                const uint id = rest.mid(dash + 1).toUInt(&ok, 16);
                if (ok) {
                    const uint lid = id & 0xFFFF;
                    if (lid == 0x0804 || lid == 0x0404 || lid == 0x0C04 || lid == 0x1004 || lid == 0x1404 ||
                        lid == 0x0004 || lid == 0x7804 || lid == 0x7C04)
                        m_sec->chineseNames = true;
                    if (lid == 0xF800) // the system's long date
                        m_replacement = QStringLiteral("yyyy\"年\"m\"月\"d\"日\"");
                    else if (lid == 0xF400) // the system's time
                        m_replacement = QStringLiteral("h:mm:ss");
                }
            }
            return;
        }
        const QChar l = first.toLower();
        if (l == QLatin1Char('h') || l == QLatin1Char('m') || l == QLatin1Char('s')) {
            for (const QChar ch : content) {
                if (ch.toLower() != l)
                    return; // a colour name such as [Magenta]
            }
            Token t;
            t.type = l == QLatin1Char('h')   ? Tok::ElapsedHour
                     : l == QLatin1Char('m') ? Tok::ElapsedMinute
                                             : Tok::ElapsedSecond;
            t.count = content.size();
            m_sec->tokens.push_back(t);
        }
        // colours, [DBNum1] and the like are dropped
    }

    Section* m_sec;
    QString m_replacement;
};

void finishSection(Section* sec) {
    QVector<Token>& t = sec->tokens;
    // m and mm are minutes right after an hour or right before a second.
    for (int k = 0; k < t.size(); ++k) {
        if (t[k].type != Tok::Month)
            continue;
        for (int p = k - 1; p >= 0; --p) {
            if (t[p].type == Tok::Literal)
                continue;
            if (t[p].type == Tok::Hour || t[p].type == Tok::ElapsedHour)
                t[k].type = Tok::Minute;
            break;
        }
        if (t[k].type == Tok::Minute)
            continue;
        for (int q = k + 1; q < t.size(); ++q) {
            if (t[q].type == Tok::Literal)
                continue;
            if (t[q].type == Tok::Second || t[q].type == Tok::ElapsedSecond)
                t[k].type = Tok::Minute;
            break;
        }
    }
    for (const Token& tok : t) {
        if (isDateToken(tok.type))
            sec->isDate = true;
    }
    if (sec->isDate) {
        // In a date the number tokens are literals, except ".0" after seconds.
        QVector<Token> out;
        for (int k = 0; k < t.size(); ++k) {
            Token tok = t[k];
            if (tok.type == Tok::Point && k + 1 < t.size() && t[k + 1].type == Tok::Zero) {
                Token sub;
                sub.type = Tok::SubSecond;
                while (k + 1 < t.size() && t[k + 1].type == Tok::Zero) {
                    ++sub.count;
                    ++k;
                }
                sub.count = qMin(sub.count, 3);
                out.push_back(sub);
                continue;
            }
            static const char symbols[] = "0#?.,%/";
            const Tok numeric[] = {Tok::Zero,  Tok::Hash,    Tok::Question, Tok::Point,
                                   Tok::Comma, Tok::Percent, Tok::Slash};
            for (int s = 0; s < 7; ++s) {
                if (tok.type == numeric[s]) {
                    tok.type = Tok::Literal;
                    tok.text = QString(QLatin1Char(symbols[s]));
                }
            }
            if (tok.type == Tok::Literal && !out.isEmpty() && out.last().type == Tok::Literal)
                out.last().text += tok.text;
            else
                out.push_back(tok);
        }
        t = out;
    }
    for (const Token& tok : t) {
        if (isDigitToken(tok.type))
            sec->hasDigits = true;
        else if (tok.type == Tok::At)
            sec->hasAt = true;
        else if (tok.type == Tok::General)
            sec->hasGeneral = true;
    }
}

Section parseSection(const QString& text) {
    Section sec;
    SectionParser parser(&sec);
    parser.parse(text);
    if (!parser.replacement().isEmpty()) {
        const bool chinese = sec.chineseNames;
        sec = Section();
        SectionParser again(&sec);
        again.parse(parser.replacement());
        sec.chineseNames = chinese;
    }
    finishSection(&sec);
    return sec;
}

QVector<Section> parsedSections(const QString& code) {
    thread_local QHash<QString, QVector<Section>> cache;
    auto it = cache.constFind(code);
    if (it != cache.constEnd())
        return it.value();
    QVector<Section> sections;
    const QStringList parts = splitSections(code);
    for (const QString& part : parts)
        sections.push_back(parseSection(part));
    if (cache.size() > 512)
        cache.clear();
    cache.insert(code, sections);
    return sections;
}

// |a| rounded half away from zero to `decimals` places, taken from its 15-significant-digit
// decimal form: the integer digits without leading zeros ("" for zero) and exactly
// `decimals` fraction digits.
void roundDecimal(double a, int decimals, QString* intPart, QString* fracPart) {
    decimals = qBound(0, decimals, 30);
    a = std::fabs(a);
    if (a == 0 || !std::isfinite(a)) {
        intPart->clear();
        *fracPart = QString(decimals, QLatin1Char('0'));
        return;
    }
    const QString e = QString::number(a, 'e', 14);
    const int ePos = e.indexOf(QLatin1Char('e'));
    const int exp = e.mid(ePos + 1).toInt();
    QString digits = e.left(1) + e.mid(2, ePos - 2);
    int point = exp + 1;
    if (point < 0) {
        digits.prepend(QString(-point, QLatin1Char('0')));
        point = 0;
    }
    const int keep = point + decimals;
    if (digits.size() < keep + 1)
        digits += QString(keep + 1 - digits.size(), QLatin1Char('0'));
    QString kept = digits.left(keep);
    if (digits.at(keep) >= QLatin1Char('5')) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (kept.at(i) == QLatin1Char('9')) {
                kept[i] = QLatin1Char('0');
            } else {
                kept[i] = QChar(kept.at(i).unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            ++point;
        }
    }
    QString ip = kept.left(point);
    int lead = 0;
    while (lead < ip.size() && ip.at(lead) == QLatin1Char('0'))
        ++lead;
    *intPart = ip.mid(lead);
    *fracPart = kept.mid(point);
}

QString padChar(Tok placeholder) {
    if (placeholder == Tok::Zero)
        return QStringLiteral("0");
    if (placeholder == Tok::Question)
        return QStringLiteral(" ");
    return QString();
}

// The integer digits of a number laid onto integer placeholders: the placeholder of slot k
// (counted from the right) shows the k-th digit from the right or its padding; the leftmost
// placeholder also takes every digit beyond the placeholders. Returns one text per
// placeholder, left to right.
QStringList fillInteger(const QVector<Tok>& placeholders, const QString& digits) {
    QStringList out;
    const int n = placeholders.size();
    for (int idx = 0; idx < n; ++idx) {
        const int slot = n - 1 - idx;
        QString piece;
        if (idx == 0 && digits.size() > n)
            piece = digits.left(digits.size() - n);
        if (slot < digits.size())
            piece += digits.at(digits.size() - 1 - slot);
        else
            piece += padChar(placeholders.at(idx));
        out << piece;
    }
    return out;
}

QString groupThousands(const QString& text) {
    // text: padding spaces, then digits
    int firstDigit = 0;
    while (firstDigit < text.size() && !text.at(firstDigit).isDigit())
        ++firstDigit;
    const QString digits = text.mid(firstDigit);
    QString grouped;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += QLatin1Char(',');
        grouped += digits.at(i);
    }
    return text.left(firstDigit) + grouped;
}

struct NumberLayout {
    int end = 0;               // tokens [0, end) form the mantissa
    int point = -1;            // index of the decimal point, -1 when none
    QVector<int> intPh;        // indices of integer placeholders
    QVector<int> fracPh;       // indices of decimal placeholders
    QVector<bool> commaGroups; // per token: a grouping comma
    bool grouping = false;
    int scaleCommas = 0;
    int percents = 0;
};

NumberLayout layoutOf(const Section& sec, int end) {
    NumberLayout l;
    const QVector<Token>& t = sec.tokens;
    l.end = end;
    l.commaGroups = QVector<bool>(t.size(), false);
    for (int k = 0; k < end; ++k) {
        if (t[k].type == Tok::Point && l.point < 0)
            l.point = k;
        else if (isDigitToken(t[k].type))
            (l.point < 0 ? l.intPh : l.fracPh).push_back(k);
    }
    for (const Token& tok : t) {
        if (tok.type == Tok::Percent)
            ++l.percents;
    }
    for (int k = 0; k < end; ++k) {
        if (t[k].type != Tok::Comma)
            continue;
        bool digitBefore = false;
        bool intDigitAfter = false;
        bool anyDigitAfter = false;
        for (int p = 0; p < k; ++p)
            digitBefore = digitBefore || isDigitToken(t[p].type);
        for (int q = k + 1; q < end; ++q) {
            if (isDigitToken(t[q].type)) {
                anyDigitAfter = true;
                if (l.point < 0 || q < l.point)
                    intDigitAfter = true;
            }
        }
        if (!digitBefore)
            continue;            // a literal comma
        bool beforePoint = true; // only commas (or nothing) between it and the point
        if (l.point >= 0 && k < l.point) {
            for (int q = k + 1; q < l.point; ++q) {
                if (t[q].type != Tok::Comma)
                    beforePoint = false;
            }
        } else {
            beforePoint = false;
        }
        if (!anyDigitAfter || beforePoint) {
            ++l.scaleCommas;
            l.commaGroups[k] = true; // emits nothing
        } else if (intDigitAfter && (l.point < 0 || k < l.point)) {
            l.grouping = true;
            l.commaGroups[k] = true;
        }
    }
    return l;
}

// Lays a non-negative number onto the mantissa tokens [0, layout.end).
QString fillMantissa(const Section& sec, const NumberLayout& l, double a) {
    const QVector<Token>& t = sec.tokens;
    QString intDigits;
    QString fracDigits;
    roundDecimal(a, l.fracPh.size(), &intDigits, &fracDigits);

    QVector<Tok> intTypes;
    for (int k : l.intPh)
        intTypes.push_back(t[k].type);
    QStringList intPieces = fillInteger(intTypes, intDigits);
    if (l.grouping && !intPieces.isEmpty()) {
        const QString whole = groupThousands(intPieces.join(QString()));
        for (int i = 0; i < intPieces.size(); ++i)
            intPieces[i] = i == 0 ? whole : QString();
    }
    int lastSignificant = -1;
    for (int j = 0; j < fracDigits.size(); ++j) {
        if (fracDigits.at(j) != QLatin1Char('0'))
            lastSignificant = j;
    }

    QString out;
    int intIdx = 0;
    int fracIdx = 0;
    for (int k = 0; k < l.end; ++k) {
        const Token& tok = t[k];
        if (isDigitToken(tok.type)) {
            if (l.point < 0 || k < l.point) {
                out += intPieces.value(intIdx++);
            } else {
                const int j = fracIdx++;
                if (j <= lastSignificant)
                    out += fracDigits.at(j);
                else
                    out += padChar(tok.type);
            }
            continue;
        }
        switch (tok.type) {
        case Tok::Literal:
            out += tok.text;
            break;
        case Tok::Point:
            out += k == l.point ? QStringLiteral(".") : QString();
            break;
        case Tok::Comma:
            if (!l.commaGroups.value(k))
                out += QLatin1Char(',');
            break;
        case Tok::Percent:
            out += QLatin1Char('%');
            break;
        case Tok::General:
            out += NumberFormat::general(a);
            break;
        default:
            break;
        }
    }
    return out;
}

QString renderTail(const Section& sec, int from) {
    QString out;
    for (int k = from; k < sec.tokens.size(); ++k) {
        const Token& tok = sec.tokens[k];
        if (tok.type == Tok::Literal)
            out += tok.text;
        else if (tok.type == Tok::Percent)
            out += QLatin1Char('%');
    }
    return out;
}

QString renderExponent(const Section& sec, int expIdx, double a) {
    NumberLayout l = layoutOf(sec, expIdx);
    a *= std::pow(100.0, l.percents);
    const int nInt = qMax(1, static_cast<int>(l.intPh.size()));
    const bool engineering =
        !l.intPh.isEmpty() && sec.tokens[l.intPh.first()].type == Tok::Hash && l.intPh.size() > 1;
    int e = 0;
    double mantissa = 0;
    if (a != 0) {
        const QString es = QString::number(a, 'e', 14);
        const int floorLog = es.mid(es.indexOf(QLatin1Char('e')) + 1).toInt();
        auto exponentFor = [&](int fl) {
            if (engineering)
                return static_cast<int>(std::floor(static_cast<double>(fl) / nInt)) * nInt;
            return fl - (nInt - 1);
        };
        e = exponentFor(floorLog);
        mantissa = a / std::pow(10.0, e);
        QString ip;
        QString fp;
        roundDecimal(mantissa, l.fracPh.size(), &ip, &fp);
        if (ip.size() > nInt) {
            e = exponentFor(floorLog + 1);
            mantissa = a / std::pow(10.0, e);
        }
    }
    const Token& et = sec.tokens[expIdx];
    QString out = fillMantissa(sec, l, mantissa);
    out += et.text.isEmpty() ? QStringLiteral("E") : et.text;
    if (e < 0)
        out += QLatin1Char('-');
    else if (et.plus)
        out += QLatin1Char('+');
    QString digits = QString::number(std::abs(e));
    if (digits.size() < et.count)
        digits.prepend(QString(et.count - digits.size(), QLatin1Char('0')));
    out += digits;
    return out + renderTail(sec, expIdx + 1);
}

QString renderFraction(const Section& sec, int slash, double a) {
    const QVector<Token>& t = sec.tokens;
    a *= std::pow(100.0, layoutOf(sec, slash).percents);
    // numerator: the placeholders right before the slash
    int numStart = slash;
    while (numStart > 0 && isDigitToken(t[numStart - 1].type))
        --numStart;
    // integer part: placeholders before the numerator, separated from it by literals
    QVector<int> intPh;
    for (int k = 0; k < numStart; ++k) {
        if (isDigitToken(t[k].type))
            intPh.push_back(k);
    }
    // denominator: placeholders after the slash, or fixed digits
    int denEnd = slash + 1;
    int denPlaces = 0;
    qint64 fixedDen = 0;
    QString denTailLiteral;
    while (denEnd < t.size() && isDigitToken(t[denEnd].type)) {
        ++denPlaces;
        ++denEnd;
    }
    if (denPlaces == 0 && denEnd < t.size() && t[denEnd].type == Tok::Literal) {
        const QString lit = t[denEnd].text;
        int d = 0;
        while (d < lit.size() && lit.at(d).isDigit())
            ++d;
        fixedDen = lit.left(d).toLongLong();
        denTailLiteral = lit.mid(d);
        ++denEnd;
    }
    const bool hasInt = !intPh.isEmpty();
    double whole = hasInt ? std::floor(a) : 0;
    const double frac = a - whole;
    qint64 num = 0;
    qint64 den = 1;
    if (fixedDen > 0) {
        den = fixedDen;
        num = std::llround(frac * den);
    } else {
        const int places = qBound(1, denPlaces, 4);
        qint64 maxDen = 1;
        for (int p = 0; p < places; ++p)
            maxDen *= 10;
        --maxDen;
        double best = 2;
        for (qint64 d = 1; d <= maxDen; ++d) {
            const qint64 n = std::llround(frac * d);
            const double err = std::fabs(frac - static_cast<double>(n) / d);
            if (err < best - 1e-12) {
                best = err;
                num = n;
                den = d;
            }
        }
    }
    if (hasInt && num == den && fixedDen == 0) {
        whole += 1;
        num = 0;
    }

    QString out;
    // prefix and integer part
    QString wholeDigits = whole >= 1 ? QString::number(static_cast<qint64>(whole)) : QString();
    QVector<Tok> intTypes;
    for (int k : intPh)
        intTypes.push_back(t[k].type);
    QStringList intPieces = fillInteger(intTypes, wholeDigits);
    if (hasInt && wholeDigits.isEmpty() && num == 0 && !intPieces.isEmpty())
        intPieces.last() = QStringLiteral("0");
    int intIdx = 0;
    QString fractionText;
    for (int k = 0; k < numStart; ++k) {
        if (isDigitToken(t[k].type))
            out += intPieces.value(intIdx++);
        else if (t[k].type == Tok::Literal)
            (intIdx == intPh.size() && hasInt ? fractionText : out) += t[k].text;
    }
    // numerator / denominator
    const int numPlaces = slash - numStart;
    QString numText = QString::number(num);
    if (numText.size() < numPlaces) {
        const QString pad = padChar(t[numStart].type);
        numText.prepend(pad.isEmpty() ? QString() : QString(numPlaces - numText.size(), pad.at(0)));
    }
    QString denText = QString::number(den);
    if (fixedDen == 0 && denText.size() < denPlaces) {
        const QString pad = padChar(t[slash + 1].type);
        denText += pad.isEmpty() ? QString() : QString(denPlaces - denText.size(), pad.at(0));
    }
    fractionText += numText + QLatin1Char('/') + denText + denTailLiteral;
    if (hasInt && num == 0)
        fractionText = QString(fractionText.size(), QLatin1Char(' '));
    out += fractionText;
    return out + renderTail(sec, denEnd);
}

QString renderNumberSection(const Section& sec, double a, bool minus) {
    const QVector<Token>& t = sec.tokens;
    QString body;
    if (!sec.hasDigits) {
        for (const Token& tok : t) {
            if (tok.type == Tok::Literal)
                body += tok.text;
            else if (tok.type == Tok::General)
                body += NumberFormat::general(a);
            else if (tok.type == Tok::Percent)
                body += QLatin1Char('%');
        }
        return minus && sec.hasGeneral ? QLatin1Char('-') + body : body;
    }
    int expIdx = -1;
    int slashIdx = -1;
    for (int k = 0; k < t.size(); ++k) {
        if (t[k].type == Tok::Exponent && expIdx < 0)
            expIdx = k;
        else if (t[k].type == Tok::Slash && slashIdx < 0)
            slashIdx = k;
    }
    if (expIdx >= 0) {
        body = renderExponent(sec, expIdx, a);
    } else if (slashIdx > 0 && isDigitToken(t[slashIdx - 1].type)) {
        body = renderFraction(sec, slashIdx, a);
    } else {
        const NumberLayout l = layoutOf(sec, t.size());
        const double scaled = a * std::pow(100.0, l.percents) / std::pow(1000.0, l.scaleCommas);
        body = fillMantissa(sec, l, scaled);
    }
    return minus ? QLatin1Char('-') + body : body;
}

const char* const kMonthsEn[] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
const char* const kDaysEn[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

QString chineseNumeral(int n) // 1..12
{
    static const QString digits = QStringLiteral("零一二三四五六七八九十");
    if (n <= 10)
        return QString(digits.at(n));
    return QStringLiteral("十") + digits.at(n - 10);
}

QString chineseWeekday(int dayOfWeek) // 1 = Monday
{
    return dayOfWeek == 7 ? QStringLiteral("日") : chineseNumeral(dayOfWeek);
}

QString twoDigits(qint64 v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

// Null when the serial number has no date (negative, or after 9999).
QString renderDate(const Section& sec, double serial, bool date1904) {
    if (serial < 0 || !std::isfinite(serial))
        return QString();
    int subDigits = 0;
    bool hasAmPm = false;
    bool usesDate = false;
    for (const Token& tok : sec.tokens) {
        if (tok.type == Tok::SubSecond)
            subDigits = qMax(subDigits, tok.count);
        if (tok.type == Tok::AmPm)
            hasAmPm = true;
        if (tok.type == Tok::Year || tok.type == Tok::Month || tok.type == Tok::Day ||
            tok.type == Tok::Weekday)
            usesDate = true;
    }
    qint64 unitScale = 1;
    for (int i = 0; i < subDigits; ++i)
        unitScale *= 10;
    const qint64 unitsPerDay = 86400 * unitScale;
    const qint64 total = std::llround(serial * static_cast<double>(unitsPerDay));
    const qint64 days = total / unitsPerDay;
    const qint64 rem = total % unitsPerDay;
    const qint64 secOfDay = rem / unitScale;
    const qint64 subUnits = rem % unitScale;
    const qint64 totalSeconds = total / unitScale;
    const int hour = static_cast<int>(secOfDay / 3600);
    const int minute = static_cast<int>((secOfDay / 60) % 60);
    const int second = static_cast<int>(secOfDay % 60);

    ExcelDate::Parts parts;
    if (!ExcelDate::dateParts(days, date1904, &parts)) {
        if (usesDate)
            return QString();
    }

    QString out;
    for (const Token& tok : sec.tokens) {
        const int c = tok.count;
        switch (tok.type) {
        case Tok::Literal:
            out += tok.text;
            break;
        case Tok::Year:
            out += c <= 2 ? twoDigits(parts.year % 100) : QString::number(parts.year);
            break;
        case Tok::Month:
            if (c == 1)
                out += QString::number(parts.month);
            else if (c == 2)
                out += twoDigits(parts.month);
            else if (sec.chineseNames)
                out += c == 3   ? QString::number(parts.month) + QStringLiteral("月")
                       : c == 5 ? chineseNumeral(parts.month)
                                : chineseNumeral(parts.month) + QStringLiteral("月");
            else {
                const QString name = QLatin1String(kMonthsEn[parts.month - 1]);
                out += c == 3 ? name.left(3) : c == 5 ? name.left(1) : name;
            }
            break;
        case Tok::Day:
            if (c == 1)
                out += QString::number(parts.day);
            else if (c == 2)
                out += twoDigits(parts.day);
            else if (sec.chineseNames)
                out += (c == 3 ? QStringLiteral("周") : QStringLiteral("星期")) +
                       chineseWeekday(parts.dayOfWeek);
            else {
                const QString name = QLatin1String(kDaysEn[parts.dayOfWeek - 1]);
                out += c == 3 ? name.left(3) : name;
            }
            break;
        case Tok::Weekday:
            out += (c >= 4 ? QStringLiteral("星期") : QString()) + chineseWeekday(parts.dayOfWeek);
            break;
        case Tok::Hour: {
            int h = hour;
            if (hasAmPm)
                h = h % 12 == 0 ? 12 : h % 12;
            out += c >= 2 ? twoDigits(h) : QString::number(h);
            break;
        }
        case Tok::Minute:
            out += c >= 2 ? twoDigits(minute) : QString::number(minute);
            break;
        case Tok::Second:
            out += c >= 2 ? twoDigits(second) : QString::number(second);
            break;
        case Tok::SubSecond: {
            qint64 v = subUnits;
            for (int i = c; i < subDigits; ++i)
                v /= 10;
            out += QLatin1Char('.') + QStringLiteral("%1").arg(v, c, 10, QLatin1Char('0'));
            break;
        }
        case Tok::ElapsedHour:
            out += QStringLiteral("%1").arg(totalSeconds / 3600, c, 10, QLatin1Char('0'));
            break;
        case Tok::ElapsedMinute:
            out += QStringLiteral("%1").arg(totalSeconds / 60, c, 10, QLatin1Char('0'));
            break;
        case Tok::ElapsedSecond:
            out += QStringLiteral("%1").arg(totalSeconds, c, 10, QLatin1Char('0'));
            break;
        case Tok::AmPm: {
            const bool pm = hour >= 12;
            if (tok.text == QStringLiteral("上午/下午"))
                out += pm ? QStringLiteral("下午") : QStringLiteral("上午");
            else if (tok.text.size() == 3) // A/P
                out += pm ? tok.text.mid(2, 1) : tok.text.left(1);
            else
                out += pm ? tok.text.mid(3, 2) : tok.text.left(2);
            break;
        }
        default:
            break;
        }
    }
    return out;
}

} // namespace

QString NumberFormat::general(double value) {
    if (value == 0)
        return QStringLiteral("0");
    if (!std::isfinite(value))
        return QStringLiteral("#NUM!");
    const double a = std::fabs(value);
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    const QString es = QString::number(a, 'e', 14);
    const int exp = es.mid(es.indexOf(QLatin1Char('e')) + 1).toInt();
    if (exp < 11 && exp > -5) {
        const int decimals = exp >= 0 ? qMax(0, 10 - (exp + 1)) : 9;
        QString ip;
        QString fp;
        roundDecimal(a, decimals, &ip, &fp);
        while (fp.endsWith(QLatin1Char('0')))
            fp.chop(1);
        if (ip.size() <= 11) {
            QString out = ip.isEmpty() ? QStringLiteral("0") : ip;
            if (!fp.isEmpty())
                out += QLatin1Char('.') + fp;
            return sign + out;
        }
    }
    QString s = QString::number(a, 'E', 5); // d.dddddE+XX
    const int ePos = s.indexOf(QLatin1Char('E'));
    QString mantissa = s.left(ePos);
    while (mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);
    if (mantissa.endsWith(QLatin1Char('.')))
        mantissa.chop(1);
    QString expPart = s.mid(ePos + 1); // +XX / -XX
    const QChar expSign = expPart.at(0);
    QString expDigits = expPart.mid(1);
    while (expDigits.size() > 2 && expDigits.startsWith(QLatin1Char('0')))
        expDigits.remove(0, 1);
    return sign + mantissa + QLatin1Char('E') + expSign + expDigits;
}

QString NumberFormat::render(double value, const QString& formatCode, bool date1904) {
    if (!std::isfinite(value))
        return QStringLiteral("#NUM!");
    const QString code = formatCode.trimmed().isEmpty() ? QStringLiteral("General") : formatCode;
    const QVector<Section> secs = parsedSections(code);
    const int n = secs.size();
    int numeric = n;
    if (n >= 4)
        numeric = 3;
    else if (n > 1 && secs[n - 1].hasAt && !secs[n - 1].hasDigits && !secs[n - 1].isDate)
        numeric = n - 1;

    const Section* chosen = nullptr;
    bool minus = false;
    const bool conditional = secs[0].condition.present || (numeric > 1 && secs[1].condition.present);
    if (conditional) {
        for (int i = 0; i < numeric; ++i) {
            if (!secs[i].condition.present || secs[i].condition.test(value)) {
                chosen = &secs[i];
                break;
            }
        }
        if (!chosen)
            return general(value);
        minus = value < 0 && !chosen->condition.impliesNegative();
    } else if (numeric == 1 || value > 0 || (value == 0 && numeric < 3)) {
        chosen = &secs[0];
        minus = value < 0;
    } else if (value < 0) {
        chosen = &secs[1];
    } else {
        chosen = &secs[2];
    }

    if (chosen->isDate) {
        const QString text = renderDate(*chosen, value, date1904);
        return text.isNull() ? general(value) : text;
    }
    if (chosen->tokens.isEmpty())
        return QString();
    if (chosen->hasAt && !chosen->hasDigits && !chosen->hasGeneral)
        return general(value); // a number in a text format shows as General
    return renderNumberSection(*chosen, std::fabs(value), minus);
}

QString NumberFormat::renderText(const QString& text, const QString& formatCode) {
    if (formatCode.trimmed().isEmpty())
        return text;
    const QVector<Section> secs = parsedSections(formatCode);
    const Section* sec = nullptr;
    if (secs.size() >= 4)
        sec = &secs[3];
    else if (secs.last().hasAt)
        sec = &secs.last();
    if (!sec)
        return text;
    QString out;
    for (const Token& tok : sec->tokens) {
        if (tok.type == Tok::At || tok.type == Tok::General)
            out += text;
        else if (tok.type == Tok::Literal)
            out += tok.text;
    }
    return out;
}

bool NumberFormat::isDateFormat(const QString& formatCode) {
    if (formatCode.trimmed().isEmpty())
        return false;
    const QVector<Section> secs = parsedSections(formatCode);
    return secs.first().isDate;
}

bool NumberFormat::isTimeFormat(const QString& formatCode) {
    if (formatCode.trimmed().isEmpty())
        return false;
    const QVector<Section> secs = parsedSections(formatCode);
    if (!secs.first().isDate)
        return false;
    for (const Token& tok : secs.first().tokens) {
        if (tok.type == Tok::Year || tok.type == Tok::Month || tok.type == Tok::Day ||
            tok.type == Tok::Weekday)
            return false;
    }
    return true;
}

QString NumberFormat::builtinCode(int id) {
    // ECMA-376 Part 1, 18.8.30, with the ids whose form depends on the locale given as a
    // Chinese (zh-CN) spreadsheet program shows them.
    static const QHash<int, QString> codes = {
        {0, QStringLiteral("General")},
        {1, QStringLiteral("0")},
        {2, QStringLiteral("0.00")},
        {3, QStringLiteral("#,##0")},
        {4, QStringLiteral("#,##0.00")},
        {5, QStringLiteral("\"¥\"#,##0;\"¥\"\\-#,##0")},
        {6, QStringLiteral("\"¥\"#,##0;[Red]\"¥\"\\-#,##0")},
        {7, QStringLiteral("\"¥\"#,##0.00;\"¥\"\\-#,##0.00")},
        {8, QStringLiteral("\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00")},
        {9, QStringLiteral("0%")},
        {10, QStringLiteral("0.00%")},
        {11, QStringLiteral("0.00E+00")},
        {12, QStringLiteral("# ?/?")},
        {13, QStringLiteral("# ?\?/?\?")},
        {14, QStringLiteral("yyyy/m/d")},
        {15, QStringLiteral("d-mmm-yy")},
        {16, QStringLiteral("d-mmm")},
        {17, QStringLiteral("mmm-yy")},
        {18, QStringLiteral("h:mm AM/PM")},
        {19, QStringLiteral("h:mm:ss AM/PM")},
        {20, QStringLiteral("h:mm")},
        {21, QStringLiteral("h:mm:ss")},
        {22, QStringLiteral("yyyy/m/d h:mm")},
        {27, QStringLiteral("yyyy\"年\"m\"月\"")},
        {28, QStringLiteral("m\"月\"d\"日\"")},
        {29, QStringLiteral("m\"月\"d\"日\"")},
        {30, QStringLiteral("m-d-yy")},
        {31, QStringLiteral("yyyy\"年\"m\"月\"d\"日\"")},
        {32, QStringLiteral("h\"时\"mm\"分\"")},
        {33, QStringLiteral("h\"时\"mm\"分\"ss\"秒\"")},
        {34, QStringLiteral("上午/下午h\"时\"mm\"分\"")},
        {35, QStringLiteral("上午/下午h\"时\"mm\"分\"ss\"秒\"")},
        {36, QStringLiteral("yyyy\"年\"m\"月\"")},
        {37, QStringLiteral("#,##0 ;(#,##0)")},
        {38, QStringLiteral("#,##0 ;[Red](#,##0)")},
        {39, QStringLiteral("#,##0.00;(#,##0.00)")},
        {40, QStringLiteral("#,##0.00;[Red](#,##0.00)")},
        {41, QStringLiteral("_ * #,##0_ ;_ * \\-#,##0_ ;_ * \"-\"_ ;_ @_ ")},
        {42, QStringLiteral("_ \"¥\"* #,##0_ ;_ \"¥\"* \\-#,##0_ ;_ \"¥\"* \"-\"_ ;_ @_ ")},
        {43, QStringLiteral("_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * \"-\"??_ ;_ @_ ")},
        {44, QStringLiteral("_ \"¥\"* #,##0.00_ ;_ \"¥\"* \\-#,##0.00_ ;_ \"¥\"* \"-\"??_ ;_ @_ ")},
        {45, QStringLiteral("mm:ss")},
        {46, QStringLiteral("[h]:mm:ss")},
        {47, QStringLiteral("mm:ss.0")},
        {48, QStringLiteral("##0.0E+0")},
        {49, QStringLiteral("@")},
        {50, QStringLiteral("yyyy\"年\"m\"月\"")},
        {51, QStringLiteral("m\"月\"d\"日\"")},
        {52, QStringLiteral("yyyy\"年\"m\"月\"")},
        {53, QStringLiteral("m\"月\"d\"日\"")},
        {54, QStringLiteral("m\"月\"d\"日\"")},
        {55, QStringLiteral("上午/下午h\"时\"mm\"分\"")},
        {56, QStringLiteral("上午/下午h\"时\"mm\"分\"ss\"秒\"")},
        {57, QStringLiteral("yyyy\"年\"m\"月\"")},
        {58, QStringLiteral("m\"月\"d\"日\"")},
    };
    return codes.value(id);
}
