#pragma once

#include "reports/engine/ReportObject.h"

#include <QColor>
#include <QLineF>

// A straight line from the geometry's top-left corner to its bottom-right corner; a geometry of
// zero height is a horizontal line, one of zero width a vertical line.
class ReportLine : public ReportObject {
public:
    Kind kind() const override { return Kind::Line; }
    std::unique_ptr<ReportObject> clone() const override;

    double penWidth() const { return m_penWidth; }
    void setPenWidth(double widthMm) { m_penWidth = widthMm; }
    QColor color() const { return m_color; }
    void setColor(const QColor& color) { m_color = color; }
    QLineF line() const;

private:
    double m_penWidth = 0.2;
    QColor m_color = Qt::black;
};
