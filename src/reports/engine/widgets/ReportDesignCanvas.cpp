#include "reports/engine/widgets/ReportDesignCanvas.h"

#include "reports/engine/PreparedItem.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportLine.h"
#include "reports/engine/ReportMemo.h"
#include "reports/engine/ReportPainter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {
constexpr double kMarginPx = 20;  // around the sheet
constexpr double kStripPx = 18;   // band caption strip
constexpr double kHandlePx = 7;   // selection handle
constexpr double kGridMm = 0.5;   // positions snap to this
constexpr double kEdgeGrabPx = 4; // band bottom edge

double snap(double mm) {
    return std::round(mm / kGridMm) * kGridMm;
}

PreparedItem designItem(const ReportObject* object) {
    PreparedItem item;
    item.objectName = object->name();
    item.rect = object->geometry();
    if (object->kind() == ReportObject::Kind::Line) {
        const auto* line = static_cast<const ReportLine*>(object);
        item.kind = PreparedItem::Kind::Line;
        item.penWidth = line->penWidth();
        item.lineColor = line->color();
        return item;
    }
    const auto* memo = static_cast<const ReportMemo*>(object);
    item.text = memo->text();
    item.font = memo->font();
    item.alignment = memo->alignment();
    item.wordWrap = memo->wordWrap();
    item.frame = memo->frame();
    item.textColor = memo->textColor();
    item.fillColor = memo->fillColor();
    return item;
}
} // namespace

ReportDesignCanvas::ReportDesignCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DesignCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x9a, 0x9a, 0x9a));
    setPalette(p);
}

void ReportDesignCanvas::setReport(Report* report) {
    m_report = report;
    m_pageIndex = 0;
    m_object = nullptr;
    m_band = nullptr;
    m_drag = Drag::None;
    relayout();
    emit selectionChanged();
}

ReportPage* ReportDesignCanvas::page() const {
    if (!m_report || m_pageIndex < 0 || m_pageIndex >= m_report->pageCount())
        return nullptr;
    return m_report->page(m_pageIndex);
}

void ReportDesignCanvas::setPageIndex(int index) {
    m_pageIndex = index;
    clearSelection();
    relayout();
}

void ReportDesignCanvas::setZoom(double zoom) {
    m_zoom = qBound(0.25, zoom, 6.0);
    relayout();
}

double ReportDesignCanvas::pixelsPerMm() const {
    return logicalDpiX() / 25.4 * m_zoom;
}

void ReportDesignCanvas::selectObject(ReportObject* object) {
    m_object = object;
    m_band = object && m_report ? m_report->bandOf(object) : nullptr;
    update();
    emit selectionChanged();
}

void ReportDesignCanvas::selectBand(ReportBand* band) {
    m_object = nullptr;
    m_band = band;
    update();
    emit selectionChanged();
}

void ReportDesignCanvas::clearSelection() {
    selectBand(nullptr);
}

QRectF ReportDesignCanvas::pageRect() const {
    const ReportPage* p = page();
    if (!p)
        return QRectF();
    const double px = pixelsPerMm();
    double height = (p->margins().top() + p->margins().bottom()) * px;
    for (int b = 0; b < p->bandCount(); ++b)
        height += kStripPx + p->band(b)->height() * px;
    return QRectF(kMarginPx, kMarginPx, p->paperSize().width() * px, height);
}

QVector<ReportDesignCanvas::BandGeometry> ReportDesignCanvas::bandGeometries() const {
    QVector<BandGeometry> out;
    const ReportPage* p = page();
    if (!p)
        return out;
    const double px = pixelsPerMm();
    const QRectF sheet = pageRect();
    const double left = sheet.left() + p->margins().left() * px;
    const double width = p->contentWidth() * px;
    double y = sheet.top() + p->margins().top() * px;
    for (int b = 0; b < p->bandCount(); ++b) {
        ReportBand* band = p->band(b);
        BandGeometry g{band, QRectF(left, y, width, kStripPx), QRectF()};
        y += kStripPx;
        g.body = QRectF(left, y, width, band->height() * px);
        y += band->height() * px;
        out.append(g);
    }
    return out;
}

const ReportDesignCanvas::BandGeometry*
ReportDesignCanvas::geometryOf(const ReportBand* band, const QVector<BandGeometry>& all) const {
    for (const BandGeometry& g : all) {
        if (g.band == band)
            return &g;
    }
    return nullptr;
}

QRectF ReportDesignCanvas::bandRect(const ReportBand* band) const {
    const QVector<BandGeometry> all = bandGeometries();
    const BandGeometry* g = geometryOf(band, all);
    return g ? g->body : QRectF();
}

QRectF ReportDesignCanvas::objectRect(const ReportObject* object) const {
    if (!m_report)
        return QRectF();
    const QRectF body = bandRect(m_report->bandOf(object));
    if (body.isNull())
        return QRectF();
    const double px = pixelsPerMm();
    const QRectF g = object->geometry();
    return QRectF(body.left() + g.x() * px, body.top() + g.y() * px, g.width() * px, g.height() * px)
        .normalized();
}

void ReportDesignCanvas::relayout() {
    updateGeometry();
    resize(sizeHint());
    update();
}

QSize ReportDesignCanvas::sizeHint() const {
    const QRectF sheet = pageRect();
    if (sheet.isNull())
        return QSize(400, 300);
    return QSize(int(sheet.right() + kMarginPx), int(sheet.bottom() + kMarginPx));
}

QVector<QRectF> ReportDesignCanvas::handleRects(const QRectF& r) const {
    const double h = kHandlePx;
    const QPointF points[] = {r.topLeft(),     QPointF(r.center().x(), r.top()),
                              r.topRight(),    QPointF(r.right(), r.center().y()),
                              r.bottomRight(), QPointF(r.center().x(), r.bottom()),
                              r.bottomLeft(),  QPointF(r.left(), r.center().y())};
    QVector<QRectF> out;
    for (const QPointF& p : points)
        out.append(QRectF(p.x() - h / 2, p.y() - h / 2, h, h));
    return out;
}

int ReportDesignCanvas::handleAt(const QPointF& pos) const {
    if (!m_object)
        return -1;
    const QVector<QRectF> handles = handleRects(objectRect(m_object));
    for (int i = 0; i < handles.size(); ++i) {
        if (handles.at(i).adjusted(-2, -2, 2, 2).contains(pos))
            return i;
    }
    return -1;
}

void ReportDesignCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ReportPage* p = page();
    if (!p)
        return;
    const QRectF sheet = pageRect();
    painter.fillRect(sheet.translated(3, 3), QColor(0, 0, 0, 60));
    painter.fillRect(sheet, Qt::white);
    const double px = pixelsPerMm();
    const QVector<BandGeometry> bands = bandGeometries();
    for (const BandGeometry& g : bands) {
        const bool selected = g.band == m_band && !m_object;
        painter.fillRect(g.strip, selected ? QColor(0x4a, 0x90, 0xd9) : QColor(0xdd, 0xe6, 0xf0));
        painter.setPen(selected ? Qt::white : QColor(0x33, 0x33, 0x33));
        QString caption = reportBandTypeCaption(g.band->type()) + QLatin1String(": ") + g.band->name();
        if (!g.band->dataSetName().isEmpty())
            caption += QLatin1String(" (") + g.band->dataSetName() + QLatin1Char(')');
        QFont font = this->font();
        font.setPointSizeF(8);
        painter.setFont(font);
        painter.drawText(g.strip.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
        painter.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), 0, Qt::DotLine));
        painter.drawLine(g.body.bottomLeft(), g.body.bottomRight());
    }
    // Objects over all strips, so frames on a band's edges stay whole.
    for (const BandGeometry& g : bands) {
        for (int o = 0; o < g.band->objectCount(); ++o) {
            const ReportObject* object = g.band->object(o);
            painter.save();
            // Expressions are longer than what they print: keep each text inside its box.
            if (object->kind() == ReportObject::Kind::Memo)
                painter.setClipRect(objectRect(object).adjusted(-1, -1, 1, 1));
            painter.translate(g.body.topLeft());
            {
                ReportPainter reportPainter(&painter, px);
                reportPainter.paintItem(designItem(object));
            }
            painter.restore();
        }
        // Outline memos without a frame, so they can be found.
        painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        for (int o = 0; o < g.band->objectCount(); ++o) {
            const ReportObject* object = g.band->object(o);
            if (object->kind() == ReportObject::Kind::Memo &&
                !static_cast<const ReportMemo*>(object)->frame().sides)
                painter.drawRect(objectRect(object));
        }
    }
    if (m_object) {
        const QRectF r = objectRect(m_object);
        painter.setPen(QPen(QColor(0x1e, 0x6f, 0xd9), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
        painter.setPen(QColor(0x1e, 0x6f, 0xd9));
        painter.setBrush(Qt::white);
        for (const QRectF& h : handleRects(r))
            painter.drawRect(h);
    }
}

void ReportDesignCanvas::mousePressEvent(QMouseEvent* event) {
    setFocus();
    if (event->button() != Qt::LeftButton || !page())
        return;
    const QPointF pos = event->position();
    m_pressPos = pos;
    m_dragged = false;
    m_drag = Drag::None;

    m_handle = handleAt(pos);
    if (m_handle >= 0) {
        m_drag = Drag::Resize;
        m_startGeometry = m_object->geometry();
        return;
    }
    const QVector<BandGeometry> bands = bandGeometries();
    // The bottom edge of a band sets its height.
    for (const BandGeometry& g : bands) {
        if (qAbs(pos.y() - g.body.bottom()) <= kEdgeGrabPx && pos.x() >= g.body.left() &&
            pos.x() <= g.body.right()) {
            selectBand(g.band);
            m_drag = Drag::BandHeight;
            m_startHeight = g.band->height();
            return;
        }
    }
    // The topmost object under the pointer: the last drawn.
    for (const BandGeometry& g : bands) {
        for (int o = g.band->objectCount() - 1; o >= 0; --o) {
            ReportObject* object = g.band->object(o);
            if (objectRect(object).adjusted(-2, -2, 2, 2).contains(pos)) {
                if (object != m_object)
                    selectObject(object);
                m_drag = Drag::Move;
                m_startGeometry = object->geometry();
                return;
            }
        }
    }
    for (const BandGeometry& g : bands) {
        if (g.strip.contains(pos) || g.body.contains(pos)) {
            selectBand(g.band);
            return;
        }
    }
    clearSelection();
}

void ReportDesignCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (!(event->buttons() & Qt::LeftButton) || m_drag == Drag::None) {
        updateCursor(pos);
        return;
    }
    const double px = pixelsPerMm();
    const double dx = (pos.x() - m_pressPos.x()) / px;
    const double dy = (pos.y() - m_pressPos.y()) / px;
    if (!m_dragged && qAbs(pos.x() - m_pressPos.x()) < 2 && qAbs(pos.y() - m_pressPos.y()) < 2)
        return;
    m_dragged = true;
    if (m_drag == Drag::BandHeight && m_band) {
        m_band->setHeight(qMax(0.0, snap(m_startHeight + dy)));
        relayout();
        emit geometryChanged();
        return;
    }
    if (!m_object)
        return;
    QRectF g = m_startGeometry;
    const bool isLine = m_object->kind() == ReportObject::Kind::Line;
    const double minimum = isLine ? 0.0 : 1.0;
    if (m_drag == Drag::Move) {
        g.moveTo(snap(g.x() + dx), snap(g.y() + dy));
    } else {
        // Handles clockwise from the top-left corner.
        double left = g.left(), top = g.top(), right = g.right(), bottom = g.bottom();
        switch (m_handle) {
        case 0:
            left += dx;
            top += dy;
            break;
        case 1:
            top += dy;
            break;
        case 2:
            right += dx;
            top += dy;
            break;
        case 3:
            right += dx;
            break;
        case 4:
            right += dx;
            bottom += dy;
            break;
        case 5:
            bottom += dy;
            break;
        case 6:
            left += dx;
            bottom += dy;
            break;
        case 7:
            left += dx;
            break;
        }
        left = snap(left);
        top = snap(top);
        right = snap(right);
        bottom = snap(bottom);
        if (!isLine) {
            right = qMax(right, left + minimum);
            bottom = qMax(bottom, top + minimum);
        }
        g = QRectF(QPointF(left, top), QPointF(right, bottom));
    }
    m_object->setGeometry(g);
    update();
    emit geometryChanged();
}

void ReportDesignCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const Drag drag = m_drag;
    m_drag = Drag::None;
    if (!m_dragged)
        return;
    m_dragged = false;
    if (drag == Drag::Move && m_object)
        moveToBandUnder(m_object);
    relayout();
    emit layoutEdited();
}

// An object dropped over another band of the page moves into it.
void ReportDesignCanvas::moveToBandUnder(ReportObject* object) {
    ReportBand* from = m_report->bandOf(object);
    const QVector<BandGeometry> bands = bandGeometries();
    const BandGeometry* own = geometryOf(from, bands);
    if (!own)
        return;
    const double px = pixelsPerMm();
    const double centerY = own->body.top() + object->geometry().center().y() * px;
    for (const BandGeometry& g : bands) {
        if (g.band == from || centerY < g.strip.top() || centerY >= g.body.bottom())
            continue;
        QRectF geometry = object->geometry();
        geometry.moveTop(snap(qMax(0.0, (own->body.top() + geometry.top() * px - g.body.top()) / px)));
        std::unique_ptr<ReportObject> taken = from->takeObject(object);
        taken->setGeometry(geometry);
        g.band->addObject(std::move(taken));
        selectObject(object);
        return;
    }
}

void ReportDesignCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_object && m_object->kind() == ReportObject::Kind::Memo &&
        objectRect(m_object).contains(event->position()))
        emit editTextRequested(static_cast<ReportMemo*>(m_object));
}

void ReportDesignCanvas::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit deleteRequested();
        return;
    }
    if (!m_object) {
        QWidget::keyPressEvent(event);
        return;
    }
    double dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -kGridMm;
        break;
    case Qt::Key_Right:
        dx = kGridMm;
        break;
    case Qt::Key_Up:
        dy = -kGridMm;
        break;
    case Qt::Key_Down:
        dy = kGridMm;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    QRectF g = m_object->geometry();
    if (event->modifiers() & Qt::ShiftModifier) {
        g.setWidth(qMax(m_object->kind() == ReportObject::Kind::Line ? 0.0 : 1.0, g.width() + dx));
        g.setHeight(qMax(m_object->kind() == ReportObject::Kind::Line ? 0.0 : 1.0, g.height() + dy));
    } else {
        g.translate(dx, dy);
    }
    m_object->setGeometry(g);
    update();
    emit geometryChanged();
    emit layoutEdited();
}

void ReportDesignCanvas::updateCursor(const QPointF& pos) {
    const int handle = handleAt(pos);
    if (handle >= 0) {
        static const Qt::CursorShape shapes[] = {
            Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor,
            Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor};
        setCursor(shapes[handle]);
        return;
    }
    for (const BandGeometry& g : bandGeometries()) {
        if (qAbs(pos.y() - g.body.bottom()) <= kEdgeGrabPx && pos.x() >= g.body.left() &&
            pos.x() <= g.body.right()) {
            setCursor(Qt::SplitVCursor);
            return;
        }
    }
    if (m_object && objectRect(m_object).contains(pos)) {
        setCursor(Qt::SizeAllCursor);
        return;
    }
    unsetCursor();
}
