#include "reports/engine/ReportPage.h"

ReportPage::ReportPage(const QString& name) : m_name(name) {}

ReportPage::ReportPage(const ReportPage& other)
    : m_name(other.m_name), m_pageSize(other.m_pageSize), m_orientation(other.m_orientation),
      m_margins(other.m_margins) {
    m_bands.reserve(other.m_bands.size());
    for (const auto& band : other.m_bands)
        m_bands.push_back(std::make_unique<ReportBand>(*band));
}

ReportPage& ReportPage::operator=(const ReportPage& other) {
    if (this != &other) {
        ReportPage copy(other);
        m_name = copy.m_name;
        m_pageSize = copy.m_pageSize;
        m_orientation = copy.m_orientation;
        m_margins = copy.m_margins;
        m_bands = std::move(copy.m_bands);
    }
    return *this;
}

ReportPage::~ReportPage() = default;

QSizeF ReportPage::paperSize() const {
    const QSizeF size = m_pageSize.size(QPageSize::Millimeter);
    if (m_orientation == QPageLayout::Landscape)
        return QSizeF(qMax(size.width(), size.height()), qMin(size.width(), size.height()));
    return QSizeF(qMin(size.width(), size.height()), qMax(size.width(), size.height()));
}

double ReportPage::contentWidth() const {
    return paperSize().width() - m_margins.left() - m_margins.right();
}

QPageLayout ReportPage::pageLayout() const {
    return QPageLayout(m_pageSize, m_orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

int ReportPage::indexOf(const ReportBand* band) const {
    for (size_t i = 0; i < m_bands.size(); ++i) {
        if (m_bands[i].get() == band)
            return int(i);
    }
    return -1;
}

ReportBand* ReportPage::addBand(std::unique_ptr<ReportBand> band) {
    m_bands.push_back(std::move(band));
    return m_bands.back().get();
}

ReportBand* ReportPage::insertBand(int index, std::unique_ptr<ReportBand> band) {
    index = qBound(0, index, bandCount());
    auto it = m_bands.insert(m_bands.begin() + index, std::move(band));
    return it->get();
}

ReportBand* ReportPage::insertBandInOrder(std::unique_ptr<ReportBand> band) {
    const int order = reportBandTypeOrder(band->type());
    int index = 0;
    for (int i = 0; i < bandCount(); ++i) {
        if (reportBandTypeOrder(m_bands[size_t(i)]->type()) <= order)
            index = i + 1;
    }
    return insertBand(index, std::move(band));
}

std::unique_ptr<ReportBand> ReportPage::takeBand(const ReportBand* band) {
    const int index = indexOf(band);
    if (index < 0)
        return nullptr;
    std::unique_ptr<ReportBand> taken = std::move(m_bands[size_t(index)]);
    m_bands.erase(m_bands.begin() + index);
    return taken;
}
