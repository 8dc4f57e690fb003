#include "core/Currency.h"

#include <QRegularExpression>

#include <cmath>

namespace {

// Rounds to the nearest integer, ties to even (the default floating-point rounding mode).
qint64 roundEven(double v) { return qint64(std::nearbyint(v)); }

} // namespace

Currency Currency::fromDouble(double value) {
    if (!std::isfinite(value))
        return Currency();
    // Go through the decimal text so that 0.1 becomes exactly 1000 ten-thousandths.
    Currency c;
    parse(QString::number(value, 'f', 6), &c);
    return c;
}

bool Currency::parse(const QString& text, Currency* out) {
    QString t = text.trimmed();
    t.remove(QLatin1Char(','));
    if (t.isEmpty())
        return false;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.startsWith(QLatin1Char('-'));
        t.remove(0, 1);
    }
    const int dot = t.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? t : t.left(dot);
    const QString frac = dot < 0 ? QString() : t.mid(dot + 1);
    if (whole.isEmpty() && frac.isEmpty())
        return false;
    for (QChar ch : whole + frac)
        if (!ch.isDigit() || ch.unicode() > '9')
            return false;
    if (whole.size() > 14)
        return false;
    qint64 raw = whole.isEmpty() ? 0 : whole.toLongLong() * Scale;
    // Four decimals kept, the rest rounded half to even.
    QString f = frac.left(4).leftJustified(4, QLatin1Char('0'));
    raw += f.toLongLong();
    const QString rest = frac.mid(4);
    if (!rest.isEmpty()) {
        const bool above = rest[0] > QLatin1Char('5') ||
                           (rest[0] == QLatin1Char('5') && rest.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]"))));
        const bool tie = rest[0] == QLatin1Char('5') && !above;
        if (above || (tie && (raw % 2) == 1))
            ++raw;
    }
    *out = Currency(negative ? -raw : raw);
    return true;
}

Currency Currency::fromVariant(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return Currency();
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return Currency(value.toLongLong() * Scale);
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDouble(value.toDouble());
    default: {
        Currency c;
        if (parse(value.toString(), &c))
            return c;
        return Currency();
    }
    }
}

QString Currency::toString(int decimals) const {
    if (decimals < 0)
        decimals = 0;
    if (decimals > 4)
        decimals = 4;
    qint64 v = m_raw;
    qint64 div = 1;
    for (int i = decimals; i < 4; ++i)
        div *= 10;
    // Round the dropped digits half to even.
    qint64 q = v / div;
    qint64 r = v % div;
    if (r != 0) {
        const qint64 twice = 2 * (r < 0 ? -r : r);
        const bool up = twice > div || (twice == div && (q % 2) != 0);
        if (up)
            q += v < 0 ? -1 : 1;
    }
    const bool negative = q < 0;
    const quint64 a = negative ? quint64(-q) : quint64(q);
    qint64 unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    QString s = QString::number(a / unit);
    if (decimals > 0)
        s += QLatin1Char('.') + QString::number(a % unit).rightJustified(decimals, QLatin1Char('0'));
    if (negative)
        s.prepend(QLatin1Char('-'));
    return s;
}

QString Currency::toPlainString() const {
    QString s = toString(4);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s;
}

Currency Currency::times(double quantity) const {
    return Currency(roundEven(double(m_raw) * quantity));
}

Currency Currency::dividedBy(double n) const {
    if (n == 0)
        return Currency();
    return Currency(roundEven(double(m_raw) / n));
}
