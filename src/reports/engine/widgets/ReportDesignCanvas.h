#pragma once

#include <QRectF>
#include <QVector>
#include <QWidget>

class Report;
class ReportBand;
class ReportMemo;
class ReportObject;
class ReportPage;

// The designer's drawing of one layout page: bands stacked under caption strips, their objects
// drawn as they print (expressions as written). Objects are selected, moved and resized with the
// mouse (eight handles) or the arrow keys; a band's bottom edge sets its height.
class ReportDesignCanvas : public QWidget {
    Q_OBJECT

public:
    explicit ReportDesignCanvas(QWidget* parent = nullptr);

    // Shows page 0 of report; clears the selection.
    void setReport(Report* report);
    Report* report() const { return m_report; }
    ReportPage* page() const;
    int pageIndex() const { return m_pageIndex; }
    void setPageIndex(int index);
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    double pixelsPerMm() const;

    ReportObject* selectedObject() const { return m_object; }
    ReportBand* selectedBand() const { return m_band; }
    void selectObject(ReportObject* object);
    void selectBand(ReportBand* band);
    void clearSelection();

    // Where things are drawn, in widget coordinates.
    QRectF bandRect(const ReportBand* band) const;
    QRectF objectRect(const ReportObject* object) const;

    // Recomputes the size after bands or the page changed.
    void relayout();

    QSize sizeHint() const override;

signals:
    void selectionChanged();
    // The selected object or band was moved or resized (also while dragging).
    void geometryChanged();
    // Something in the layout was changed through the canvas.
    void layoutEdited();
    void editTextRequested(ReportMemo* memo);
    void deleteRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag { None, Move, Resize, BandHeight };
    struct BandGeometry {
        ReportBand* band;
        QRectF strip;
        QRectF body;
    };

    QVector<BandGeometry> bandGeometries() const;
    QRectF pageRect() const;
    const BandGeometry* geometryOf(const ReportBand* band, const QVector<BandGeometry>& all) const;
    QVector<QRectF> handleRects(const QRectF& rect) const;
    int handleAt(const QPointF& pos) const;
    void updateCursor(const QPointF& pos);
    void moveToBandUnder(ReportObject* object);

    Report* m_report = nullptr;
    int m_pageIndex = 0;
    double m_zoom = 1.0;
    ReportObject* m_object = nullptr;
    ReportBand* m_band = nullptr;
    Drag m_drag = Drag::None;
    int m_handle = -1;
    QPointF m_pressPos;
    QRectF m_startGeometry;
    double m_startHeight = 0;
    bool m_dragged = false;
};
