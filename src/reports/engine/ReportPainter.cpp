#include "reports/engine/ReportPainter.h"

#include "reports/engine/ReportFonts.h"
#include "reports/engine/ReportPdfUnicodeFix.h"
#include "reports/engine/ReportTextMetrics.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

namespace {
constexpr double kUnits = ReportTextMetrics::kUnitsPerMm;

QRectF toUnits(const QRectF& mm) {
    return QRectF(mm.x() * kUnits, mm.y() * kUnits, mm.width() * kUnits, mm.height() * kUnits);
}
} // namespace

ReportPainter::ReportPainter(QPainter* painter, double pixelsPerMm)
    : m_painter(painter), m_deviceDpi(painter->device() ? painter->device()->logicalDpiY() : 96),
      m_metrics(QFont()) {
    ReportFonts::install();
    m_painter->save();
    const double scale = pixelsPerMm / kUnits;
    m_painter->scale(scale, scale);
    m_painter->setRenderHint(QPainter::Antialiasing, true);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);
}

ReportPainter::~ReportPainter() {
    m_painter->restore();
}

void ReportPainter::useFont(const QFont& font) {
    if (m_haveFont && font == m_font)
        return;
    m_font = font;
    m_deviceFont = ReportTextMetrics::fontForDevice(font, m_deviceDpi);
    m_metrics = ReportTextMetrics::metrics(font);
    m_haveFont = true;
    m_painter->setFont(m_deviceFont);
}

void ReportPainter::paintPage(const PreparedPage& page) {
    for (const PreparedItem& item : page.items)
        paintItem(item);
}

void ReportPainter::paintItem(const PreparedItem& item) {
    if (item.kind == PreparedItem::Kind::Line) {
        QPen pen(item.lineColor, item.penWidth * kUnits);
        pen.setCapStyle(Qt::FlatCap);
        m_painter->setPen(pen);
        const QRectF r = toUnits(item.rect);
        m_painter->drawLine(QLineF(r.topLeft(), QPointF(r.x() + r.width(), r.y() + r.height())));
        return;
    }
    const QRectF box = toUnits(item.rect);
    const bool highlighted = !m_highlight.isEmpty() && item.text.contains(m_highlight, Qt::CaseInsensitive);
    if (highlighted)
        m_painter->fillRect(box, QColor(255, 235, 59));
    else if (item.fillColor.isValid())
        m_painter->fillRect(box, item.fillColor);
    if (!item.text.isEmpty())
        paintText(item, box);
    if (item.frame.sides)
        paintFrame(item, box);
}

void ReportPainter::paintText(const PreparedItem& item, const QRectF& box) {
    useFont(item.font);
    m_painter->setPen(item.textColor);
    const QRectF inner =
        box.adjusted(ReportTextMetrics::kPaddingX * kUnits, ReportTextMetrics::kPaddingY * kUnits,
                     -ReportTextMetrics::kPaddingX * kUnits, -ReportTextMetrics::kPaddingY * kUnits);
    const Qt::Alignment h = item.alignment & Qt::AlignHorizontal_Mask;
    const Qt::Alignment v = item.alignment & Qt::AlignVertical_Mask;
    if (item.singleLineWidth >= 0) {
        // Measured in layout to fit on one line: place the run directly.
        const double width = item.singleLineWidth * kUnits;
        double x = inner.left();
        if (h & Qt::AlignRight)
            x = inner.right() - width;
        else if (h & Qt::AlignHCenter)
            x = inner.left() + (inner.width() - width) / 2;
        const double lineHeight = m_metrics.ascent() + m_metrics.descent();
        double top = inner.top();
        if (v & Qt::AlignBottom)
            top = inner.bottom() - lineHeight;
        else if (v & Qt::AlignVCenter)
            top = inner.top() + (inner.height() - lineHeight) / 2;
        m_painter->drawText(QPointF(x, top + m_metrics.ascent()), item.text);
        return;
    }
    QString text = item.text;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, m_deviceFont, m_painter->device());
    const double height = ReportTextMetrics::breakLines(&layout, item.wordWrap ? inner.width() : 1e9, h);
    double top = inner.top();
    if (v & Qt::AlignBottom)
        top = inner.bottom() - height;
    else if (v & Qt::AlignVCenter)
        top = inner.top() + (inner.height() - height) / 2;
    double left = inner.left();
    if (!item.wordWrap) {
        // Unwrapped lines are aligned within the box by hand; the layout had no width to use.
        double widest = 0;
        for (int i = 0; i < layout.lineCount(); ++i)
            widest = qMax(widest, layout.lineAt(i).naturalTextWidth());
        if (h & Qt::AlignRight)
            left = inner.right() - widest;
        else if (h & Qt::AlignHCenter)
            left = inner.left() + (inner.width() - widest) / 2;
        for (int i = 0; i < layout.lineCount(); ++i) {
            QTextLine line = layout.lineAt(i);
            line.setLineWidth(widest);
        }
    }
    layout.draw(m_painter, QPointF(left, top));
}

void ReportPainter::paintFrame(const PreparedItem& item, const QRectF& box) {
    QPen pen(item.frame.color, item.frame.width * kUnits);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter->setPen(pen);
    const Qt::Edges sides = item.frame.sides;
    if (sides == (Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge)) {
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawRect(box);
        return;
    }
    if (sides & Qt::LeftEdge)
        m_painter->drawLine(box.topLeft(), box.bottomLeft());
    if (sides & Qt::TopEdge)
        m_painter->drawLine(box.topLeft(), box.topRight());
    if (sides & Qt::RightEdge)
        m_painter->drawLine(box.topRight(), box.bottomRight());
    if (sides & Qt::BottomEdge)
        m_painter->drawLine(box.bottomLeft(), box.bottomRight());
}

bool ReportPainter::paintAll(QPagedPaintDevice* device, const PreparedReport& report, QString* error,
                             const QString& highlight) {
    if (report.pageCount() == 0) {
        if (error)
            *error = QCoreApplication::translate("ReportPainter", "报表没有页面");
        return false;
    }
    device->setPageLayout(report.page(0).pageLayout());
    QPainter painter;
    if (!painter.begin(device)) {
        if (error)
            *error = QCoreApplication::translate("ReportPainter", "无法开始输出");
        return false;
    }
    for (int i = 0; i < report.pageCount(); ++i) {
        const PreparedPage& page = report.page(i);
        if (i > 0) {
            if (!page.pageLayout().isEquivalentTo(device->pageLayout()))
                device->setPageLayout(page.pageLayout());
            device->newPage();
        }
        ReportPainter reportPainter(&painter, device->logicalDpiX() / 25.4);
        reportPainter.setHighlight(highlight);
        reportPainter.paintPage(page);
    }
    painter.end();
    return true;
}

bool ReportPainter::exportPdf(const PreparedReport& report, const QString& path, const QString& title,
                              QString* error) {
    const QString cannotWrite = QCoreApplication::translate("ReportPainter", "无法写入文件 %1").arg(path);
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) {
            if (error)
                *error = cannotWrite + QLatin1String(": ") + probe.errorString();
            return false;
        }
    }
    {
        QPdfWriter writer(path);
        writer.setCreator(QStringLiteral("Pelmora"));
        writer.setTitle(title);
        writer.setResolution(1200);
        QString message;
        if (!paintAll(&writer, report, &message)) {
            if (error)
                *error = report.pageCount() == 0 ? message : cannotWrite;
            return false;
        }
    }
    QList<QFont> fonts;
    QString printed;
    for (const PreparedPage& page : report.pages()) {
        for (const PreparedItem& item : page.items) {
            if (item.kind != PreparedItem::Kind::Text || item.text.isEmpty())
                continue;
            printed += item.text;
            if (!fonts.contains(item.font))
                fonts.append(item.font);
        }
    }
    QString message;
    if (!ReportPdfUnicodeFix::fixFile(path, fonts, printed, &message)) {
        if (error)
            *error = cannotWrite + QLatin1String(": ") + message;
        return false;
    }
    return true;
}
