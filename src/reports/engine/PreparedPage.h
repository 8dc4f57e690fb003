#pragma once

#include "reports/engine/PreparedItem.h"

#include <QPageLayout>
#include <QPageSize>
#include <QVector>

// A printed page: its sheet and everything on it, in the order it was laid out.
struct PreparedPage {
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF paperSize; // mm, as the sheet lies
    QVector<PreparedItem> items;

    QPageLayout pageLayout() const {
        return QPageLayout(pageSize, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    }
};
