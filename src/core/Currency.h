#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>

// A money amount held exactly as a 64-bit count of ten-thousandths of a yuan. Values are
// stored in the database as INTEGER; products are rounded to four decimals, ties to even.
class Currency {
public:
    static constexpr qint64 Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(qint64 raw) { return Currency(raw); }
    static Currency fromDouble(double value);
    // Parses "12.5", "-0.0003", "1,234.50"; false when the text is not a number.
    static bool parse(const QString& text, Currency* out);
    static Currency fromVariant(const QVariant& value);

    constexpr qint64 raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / Scale; }
    // Fixed decimals, no grouping; decimals outside 0..4 are clamped to that range.
    QString toString(int decimals = 2) const;
    // The shortest text that reads back exactly ("12.5", "0.0003", "37").
    QString toPlainString() const;

    // price x quantity, rounded to four decimals, ties to even.
    Currency times(double quantity) const;
    // this / n, rounded to four decimals, ties to even (the per-unit price of a split pack).
    Currency dividedBy(double n) const;

    constexpr Currency operator+(Currency o) const { return Currency(m_raw + o.m_raw); }
    constexpr Currency operator-(Currency o) const { return Currency(m_raw - o.m_raw); }
    constexpr Currency operator-() const { return Currency(-m_raw); }
    Currency& operator+=(Currency o) {
        m_raw += o.m_raw;
        return *this;
    }
    Currency& operator-=(Currency o) {
        m_raw -= o.m_raw;
        return *this;
    }
    constexpr bool operator==(Currency o) const { return m_raw == o.m_raw; }
    constexpr bool operator!=(Currency o) const { return m_raw != o.m_raw; }
    constexpr bool operator<(Currency o) const { return m_raw < o.m_raw; }
    constexpr bool operator<=(Currency o) const { return m_raw <= o.m_raw; }
    constexpr bool operator>(Currency o) const { return m_raw > o.m_raw; }
    constexpr bool operator>=(Currency o) const { return m_raw >= o.m_raw; }

private:
    constexpr explicit Currency(qint64 raw) : m_raw(raw) {}
    qint64 m_raw = 0;
};
