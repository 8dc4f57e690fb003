#include "reports/engine/ReportFormat.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <cmath>

namespace {

bool isNumericType(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

QString groupDigits(const QString& digits) {
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits.at(i);
    }
    return out;
}

// Rounds a plain decimal text ("123.4567") half away from zero to decimals places.
QString roundDecimalText(const QString& text, int decimals) {
    const int dot = int(text.indexOf(QLatin1Char('.')));
    QString intPart = dot < 0 ? text : text.left(dot);
    QString frac = dot < 0 ? QString() : text.mid(dot + 1);
    bool roundUp = frac.size() > decimals && frac.at(decimals) >= QLatin1Char('5');
    frac = frac.left(decimals);
    while (frac.size() < decimals)
        frac += QLatin1Char('0');
    QString digits = intPart + frac;
    if (roundUp) {
        int i = int(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits.at(i) == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
            } else {
                digits[i] = QChar(digits.at(i).unicode() + 1);
                break;
            }
        }
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
    }
    const int intLen = int(digits.size()) - decimals;
    intPart = digits.left(intLen);
    if (intPart.isEmpty())
        intPart = QStringLiteral("0");
    return decimals > 0 ? intPart + QLatin1Char('.') + digits.right(decimals) : intPart;
}

bool isZeroText(const QString& text) {
    for (QChar c : text) {
        if (c != QLatin1Char('0') && c != QLatin1Char('.') && c != QLatin1Char(','))
            return false;
    }
    return true;
}

QString signed_(double value, const QString& magnitude) {
    return (value < 0 && !isZeroText(magnitude)) ? QLatin1Char('-') + magnitude : magnitude;
}

// "%[-][width][.precision]<n|f|d|g|e|m|s>"
bool formatPrintf(double value, const QString& fmt, QString* out) {
    int i = 1;
    while (i < fmt.size() && (fmt.at(i) == QLatin1Char('-') || fmt.at(i).isDigit()))
        ++i;
    int precision = -1;
    if (i < fmt.size() && fmt.at(i) == QLatin1Char('.')) {
        ++i;
        int start = i;
        while (i < fmt.size() && fmt.at(i).isDigit())
            ++i;
        precision = fmt.mid(start, i - start).toInt();
    }
    if (i >= fmt.size())
        return false;
    const QChar conv = fmt.at(i).toLower();
    const QString tail = fmt.mid(i + 1);
    if (conv == QLatin1Char('n') || conv == QLatin1Char('m'))
        *out = signed_(value, ReportFormat::fixed(value, precision < 0 ? 2 : precision, true));
    else if (conv == QLatin1Char('f'))
        *out = signed_(value, ReportFormat::fixed(value, precision < 0 ? 2 : precision));
    else if (conv == QLatin1Char('d'))
        *out = signed_(value, ReportFormat::fixed(value, 0));
    else if (conv == QLatin1Char('g'))
        *out = QString::number(value, 'g', precision < 0 ? 15 : qMax(1, precision));
    else if (conv == QLatin1Char('e'))
        *out = QString::number(value, 'e', precision < 0 ? 6 : precision);
    else
        return false;
    *out += tail;
    return true;
}

// "#,##0.00", "0.##", "0.00元": literal prefix and suffix around one numeric picture.
bool formatPicture(double value, const QString& fmt, QString* out) {
    const QString pictureChars = QStringLiteral("0#,.");
    int first = -1;
    int last = -1;
    for (int i = 0; i < fmt.size(); ++i) {
        if (pictureChars.contains(fmt.at(i))) {
            if (first < 0)
                first = i;
            last = i;
        } else if (first >= 0) {
            break;
        }
    }
    if (first < 0)
        return false;
    const QString picture = fmt.mid(first, last - first + 1);
    if (!picture.contains(QLatin1Char('0')) && !picture.contains(QLatin1Char('#')))
        return false;
    const int dot = int(picture.indexOf(QLatin1Char('.')));
    const QString intPicture = dot < 0 ? picture : picture.left(dot);
    const QString fracPicture = dot < 0 ? QString() : picture.mid(dot + 1);
    const bool grouping = intPicture.contains(QLatin1Char(','));
    const int minInt = int(intPicture.count(QLatin1Char('0')));
    const int minFrac = int(fracPicture.count(QLatin1Char('0')));
    const int maxFrac = minFrac + int(fracPicture.count(QLatin1Char('#')));

    QString text = ReportFormat::fixed(value, maxFrac);
    int textDot = int(text.indexOf(QLatin1Char('.')));
    QString intDigits = textDot < 0 ? text : text.left(textDot);
    QString fracDigits = textDot < 0 ? QString() : text.mid(textDot + 1);
    while (fracDigits.size() > minFrac && fracDigits.endsWith(QLatin1Char('0')))
        fracDigits.chop(1);
    if (intDigits == QLatin1String("0") && minInt == 0 && !fracDigits.isEmpty())
        intDigits.clear();
    while (intDigits.size() < minInt)
        intDigits.prepend(QLatin1Char('0'));
    if (grouping)
        intDigits = groupDigits(intDigits);
    QString magnitude = intDigits;
    if (!fracDigits.isEmpty())
        magnitude += QLatin1Char('.') + fracDigits;
    if (magnitude.isEmpty())
        magnitude = QStringLiteral("0");
    *out = fmt.left(first) + signed_(value, magnitude) + fmt.mid(last + 1);
    return true;
}

bool toDateTime(const QVariant& value, QDateTime* dateTime) {
    if (value.typeId() == QMetaType::QDateTime) {
        *dateTime = value.toDateTime();
        return dateTime->isValid();
    }
    if (value.typeId() == QMetaType::QDate) {
        *dateTime = value.toDate().startOfDay();
        return dateTime->isValid();
    }
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.size() < 10)
            return false;
        *dateTime = QDateTime::fromString(text, Qt::ISODate);
        if (!dateTime->isValid())
            *dateTime = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!dateTime->isValid() && text.size() == 10)
            *dateTime = QDate::fromString(text, Qt::ISODate).startOfDay();
        return dateTime->isValid();
    }
    return false;
}

bool looksNumeric(const QString& fmt) {
    return fmt.startsWith(QLatin1Char('%')) || fmt.contains(QLatin1Char('0')) ||
           fmt.contains(QLatin1Char('#'));
}

} // namespace

double ReportFormat::toNumber(const QVariant& value, bool* ok) {
    bool good = false;
    double number = 0;
    if (isNumericType(value)) {
        number = value.toDouble(&good);
    } else if (value.typeId() == QMetaType::Bool) {
        number = value.toBool() ? 1 : 0;
        good = true;
    } else if (value.typeId() == QMetaType::QString) {
        number = value.toString().trimmed().toDouble(&good);
    } else if (value.canConvert<double>() && value.isValid() && !value.isNull()) {
        number = value.toDouble(&good);
    }
    if (good && !std::isfinite(number))
        good = false;
    if (ok)
        *ok = good;
    return good ? number : 0;
}

QString ReportFormat::fixed(double value, int decimals, bool grouping) {
    decimals = qBound(0, decimals, 15);
    const QString shortest = QString::number(std::fabs(value), 'f', QLocale::FloatingPointShortest);
    QString text = roundDecimalText(shortest, decimals);
    if (grouping) {
        const int dot = int(text.indexOf(QLatin1Char('.')));
        text = groupDigits(dot < 0 ? text : text.left(dot)) + (dot < 0 ? QString() : text.mid(dot));
    }
    return text;
}

QString ReportFormat::plain(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        if (!std::isfinite(number))
            return QString();
        QString text = fixed(number, 10);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        return signed_(number, text);
    }
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    default:
        return value.toString();
    }
}

QString ReportFormat::format(const QVariant& value, const QString& displayFormat) {
    if (!value.isValid() || value.isNull())
        return QString();
    const QString fmt = displayFormat.trimmed();
    if (fmt.isEmpty())
        return plain(value);
    if (looksNumeric(fmt)) {
        bool ok = false;
        const double number = toNumber(value, &ok);
        if (!ok)
            return plain(value);
        QString out;
        if (fmt.startsWith(QLatin1Char('%')) ? formatPrintf(number, fmt, &out)
                                             : formatPicture(number, fmt, &out))
            return out;
        return plain(value);
    }
    QDateTime dateTime;
    if (toDateTime(value, &dateTime))
        return dateTime.toString(fmt);
    return plain(value);
}
