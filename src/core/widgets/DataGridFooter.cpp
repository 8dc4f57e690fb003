#include "core/widgets/DataGridFooter.h"

#include "core/DataSetModel.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>

DataGridFooter::DataGridFooter(QTableView* view, DataSetModel* model, QWidget* parent)
    : QWidget(parent), m_view(view), m_model(model) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QHeaderView* h = view->horizontalHeader();
    auto repaint = [this]() { update(); };
    connect(h, &QHeaderView::sectionResized, this, repaint);
    connect(h, &QHeaderView::sectionMoved, this, repaint);
    connect(h, &QHeaderView::geometriesChanged, this, repaint);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
    connect(view->horizontalScrollBar(), &QScrollBar::rangeChanged, this, repaint);
    connect(model, &DataSetModel::valuesChanged, this, &DataGridFooter::invalidate);
    connect(model, &QAbstractItemModel::modelReset, this, &DataGridFooter::invalidate);
}

void DataGridFooter::invalidate() {
    m_valid = false;
    update();
}

void DataGridFooter::count() const {
    if (m_valid)
        return;
    m_texts.clear();
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_texts << m_model->footerText(c);
    m_valid = true;
}

QString DataGridFooter::text(int column) const {
    count();
    return m_texts.value(column);
}

int DataGridFooter::cellsLeft() const {
    // The view's cells start where its viewport starts (after frame and row header).
    return m_view->viewport()->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
}

QRect DataGridFooter::cellRect(int column) const {
    QHeaderView* h = m_view->horizontalHeader();
    if (column < 0 || column >= h->count() || h->isSectionHidden(column))
        return QRect();
    return QRect(cellsLeft() + h->sectionViewportPosition(column), 0, h->sectionSize(column), height());
}

QSize DataGridFooter::sizeHint() const {
    return QSize(100, fontMetrics().height() + 8);
}

void DataGridFooter::paintEvent(QPaintEvent*) {
    count();
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    const QRect area(cellsLeft(), 0, m_view->viewport()->width(), height());
    p.setClipRect(area);
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const QRect r = cellRect(c);
        if (!r.intersects(area))
            continue;
        QStyleOptionHeader opt;
        opt.initFrom(this);
        opt.rect = r;
        opt.text = m_texts.value(c);
        opt.textAlignment = Qt::AlignRight | Qt::AlignVCenter;
        opt.position = QStyleOptionHeader::Middle;
        style()->drawControl(QStyle::CE_HeaderSection, &opt, &p, this);
        style()->drawControl(QStyle::CE_HeaderLabel, &opt, &p, this);
    }
}
