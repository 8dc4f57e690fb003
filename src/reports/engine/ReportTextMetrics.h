#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>

class QPaintDevice;
class QTextLayout;

// Text is measured on one reference device of 720 dpi, whatever it is later painted on, so a
// report paginates the same for the preview, the printer and PDF. Painting works in the same
// units: 1/720 inch.
class ReportTextMetrics {
public:
    static constexpr double kDpi = 720.0;
    static constexpr double kUnitsPerMm = kDpi / 25.4;

    static QPaintDevice* device();
    static QFontMetricsF metrics(const QFont& font);
    // The font that, set on a painter of a device with deviceDpi, is as large in reference units
    // as the font itself is on the reference device.
    static QFont fontForDevice(const QFont& font, double deviceDpi);
    // Breaks the layout's text into lines of width (reference units), at word boundaries where it
    // can and anywhere where it must; gives the height of all lines.
    static double breakLines(QTextLayout* layout, double width, Qt::Alignment alignment);

    // Inner space of a memo between its edges and its text (mm).
    static constexpr double kPaddingX = 0.5;
    static constexpr double kPaddingY = 0.3;
};
