#pragma once

#include "reports/engine/ReportBand.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <memory>
#include <vector>

// One page of a layout: paper, orientation, margins (mm) and its bands in top-to-bottom order.
// Each layout page starts a new run of printed pages.
class ReportPage {
public:
    explicit ReportPage(const QString& name = QStringLiteral("Page1"));
    ReportPage(const ReportPage& other);
    ReportPage& operator=(const ReportPage& other);
    ~ReportPage();

    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    QPageSize pageSize() const { return m_pageSize; }
    void setPageSize(const QPageSize& size) { m_pageSize = size; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    void setOrientation(QPageLayout::Orientation orientation) { m_orientation = orientation; }
    QMarginsF margins() const { return m_margins; }
    void setMargins(const QMarginsF& marginsMm) { m_margins = marginsMm; }

    // The sheet in millimetres as it lies (width and height swapped in landscape).
    QSizeF paperSize() const;
    double contentWidth() const;
    QPageLayout pageLayout() const;

    int bandCount() const { return int(m_bands.size()); }
    ReportBand* band(int index) const { return m_bands.at(size_t(index)).get(); }
    int indexOf(const ReportBand* band) const;
    ReportBand* addBand(std::unique_ptr<ReportBand> band);
    ReportBand* insertBand(int index, std::unique_ptr<ReportBand> band);
    // Inserts after the last band that sits above bands of this type.
    ReportBand* insertBandInOrder(std::unique_ptr<ReportBand> band);
    std::unique_ptr<ReportBand> takeBand(const ReportBand* band);

private:
    QString m_name;
    QPageSize m_pageSize{QPageSize::A4};
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QMarginsF m_margins{10, 10, 10, 10};
    std::vector<std::unique_ptr<ReportBand>> m_bands;
};
