#include "reports/engine/ReportLine.h"

std::unique_ptr<ReportObject> ReportLine::clone() const {
    return std::make_unique<ReportLine>(*this);
}

QLineF ReportLine::line() const {
    const QRectF g = geometry();
    return QLineF(g.topLeft(), QPointF(g.x() + g.width(), g.y() + g.height()));
}
