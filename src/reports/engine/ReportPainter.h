#pragma once

#include "reports/engine/PreparedReport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

class QPagedPaintDevice;
class QPainter;

// Paints prepared pages through a QPainter: the preview, a printer or a PDF file. While it
// lives, the painter works in reference units (1/720 inch) from the sheet's top-left corner.
class ReportPainter {
public:
    // pixelsPerMm: how many device pixels one millimetre of the sheet takes.
    ReportPainter(QPainter* painter, double pixelsPerMm);
    ~ReportPainter();
    ReportPainter(const ReportPainter&) = delete;
    ReportPainter& operator=(const ReportPainter&) = delete;

    // Items whose text contains this (without regard to case) get a yellow background.
    void setHighlight(const QString& text) { m_highlight = text; }
    void paintPage(const PreparedPage& page);
    void paintItem(const PreparedItem& item);

    // Every page onto a paged device (a QPdfWriter, or a QPrinter in full-page mode), one sheet
    // per page with the page's own paper and orientation.
    static bool paintAll(QPagedPaintDevice* device, const PreparedReport& report, QString* error = nullptr,
                         const QString& highlight = QString());
    static bool exportPdf(const PreparedReport& report, const QString& path, const QString& title,
                          QString* error = nullptr);

private:
    void useFont(const QFont& font);
    void paintText(const PreparedItem& item, const QRectF& box);
    void paintFrame(const PreparedItem& item, const QRectF& box);

    QPainter* m_painter;
    double m_deviceDpi;
    QString m_highlight;
    bool m_haveFont = false;
    QFont m_font;
    QFont m_deviceFont;
    QFontMetricsF m_metrics;
};
