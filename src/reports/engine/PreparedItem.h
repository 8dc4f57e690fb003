#pragma once

#include "reports/engine/ReportFrame.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

// One laid-out object on a printed page, in millimetres from the sheet's top-left corner.
struct PreparedItem {
    enum class Kind { Text, Line };

    Kind kind = Kind::Text;
    QString bandName;
    QString objectName;
    // Text: the box. Line: from topLeft() to topLeft() + size (width and height may be negative).
    QRectF rect;
    QString text;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordWrap = false;
    ReportFrame frame;
    QColor textColor = Qt::black;
    QColor fillColor;
    // Width of the text when it was measured to fit on one line (mm), else negative.
    double singleLineWidth = -1;
    // Lines: pen width (mm) and colour.
    double penWidth = 0.2;
    QColor lineColor = Qt::black;
};
