#pragma once

#include <QString>
#include <QVector>

// A memo's text split into literal pieces and bracketed expressions. Recognised inside "[...]":
//   Dataset."field"  (optionally written <Dataset."field">)
//   Line#  Page#  TotalPages#  Date  Time
//   SUM(<Dataset."field">,BandName)   COUNT(BandName)
// Anything else in brackets stays literal text, brackets included.
class ReportExpression {
public:
    enum class Kind { Literal, Field, Line, Page, TotalPages, Date, Time, Sum, Count };
    struct Segment {
        Kind kind = Kind::Literal;
        QString text; // literal text
        QString dataSet;
        QString field;
        QString band; // SUM/COUNT: the band whose rows are counted
    };

    static ReportExpression parse(const QString& text);

    const QVector<Segment>& segments() const { return m_segments; }
    // The text is one expression and nothing else.
    bool isSingleExpression() const;
    bool isConstant() const;
    bool uses(Kind kind) const;

private:
    static bool parseInner(const QString& inner, Segment* segment);
    static bool parseFieldRef(QString ref, Segment* segment);

    QVector<Segment> m_segments;
};
