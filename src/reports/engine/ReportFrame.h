#pragma once

#include <QColor>

// The border of a memo: which sides are drawn, how thick (mm) and in which colour.
struct ReportFrame {
    Qt::Edges sides;
    double width = 0.2;
    QColor color = Qt::black;

    bool operator==(const ReportFrame& other) const {
        return sides == other.sides && qFuzzyCompare(width + 1.0, other.width + 1.0) && color == other.color;
    }
    bool operator!=(const ReportFrame& other) const { return !(*this == other); }
    static ReportFrame all() {
        return ReportFrame{Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge};
    }
};
