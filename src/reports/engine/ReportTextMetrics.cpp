#include "reports/engine/ReportTextMetrics.h"

#include "reports/engine/ReportFonts.h"

#include <QImage>
#include <QTextLayout>
#include <QTextOption>

QPaintDevice* ReportTextMetrics::device() {
    static QImage image = [] {
        QImage img(8, 8, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(kDpi / 0.0254);
        img.setDotsPerMeterX(dotsPerMeter);
        img.setDotsPerMeterY(dotsPerMeter);
        return img;
    }();
    return &image;
}

QFontMetricsF ReportTextMetrics::metrics(const QFont& font) {
    ReportFonts::install();
    return QFontMetricsF(ReportFonts::layoutFont(font), device());
}

QFont ReportTextMetrics::fontForDevice(const QFont& font, double deviceDpi) {
    QFont f = ReportFonts::layoutFont(font);
    if (deviceDpi > 0 && font.pointSizeF() > 0)
        f.setPointSizeF(font.pointSizeF() * kDpi / deviceDpi);
    return f;
}

double ReportTextMetrics::breakLines(QTextLayout* layout, double width, Qt::Alignment alignment) {
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    double y = 0;
    layout->beginLayout();
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(qMax(0.0, width));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return y;
}
