#include "reports/engine/Report.h"

#include "reports/engine/ReportBuilder.h"
#include "reports/engine/ReportMemo.h"
#include "reports/engine/ReportPainter.h"
#include "reports/engine/ReportTemplate.h"

#include <QFileInfo>

Report::Report(const QString& name) : m_name(name) {
    m_defaultFont.setFamily(QStringLiteral("宋体"));
    m_defaultFont.setPointSizeF(9);
}

Report::Report(const Report& other)
    : m_name(other.m_name), m_defaultFont(other.m_defaultFont), m_dataSources(other.m_dataSources) {
    copyLayoutFrom(other);
}

Report& Report::operator=(const Report& other) {
    if (this != &other) {
        m_name = other.m_name;
        m_dataSources = other.m_dataSources;
        copyLayoutFrom(other);
    }
    return *this;
}

Report::Report(Report&& other) noexcept = default;
Report& Report::operator=(Report&& other) noexcept = default;
Report::~Report() = default;

ReportPage* Report::addPage(std::unique_ptr<ReportPage> page) {
    m_pages.push_back(std::move(page));
    return m_pages.back().get();
}

std::unique_ptr<ReportPage> Report::takePage(const ReportPage* page) {
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it) {
        if (it->get() == page) {
            std::unique_ptr<ReportPage> taken = std::move(*it);
            m_pages.erase(it);
            return taken;
        }
    }
    return nullptr;
}

void Report::clearLayout() {
    m_pages.clear();
}

void Report::copyLayoutFrom(const Report& other) {
    if (this == &other)
        return;
    std::vector<std::unique_ptr<ReportPage>> pages;
    pages.reserve(other.m_pages.size());
    for (const auto& page : other.m_pages)
        pages.push_back(std::make_unique<ReportPage>(*page));
    m_pages = std::move(pages);
    m_defaultFont = other.m_defaultFont;
}

void Report::newLayout() {
    m_pages.clear();
    m_defaultFont = QFont();
    m_defaultFont.setFamily(QStringLiteral("Arial"));
    m_defaultFont.setPointSizeF(10);
    auto page = std::make_unique<ReportPage>(QStringLiteral("Page1"));
    page->setPageSize(QPageSize(QPageSize::A4));
    page->setOrientation(QPageLayout::Portrait);
    page->setMargins(QMarginsF(10, 10, 10, 10));
    const struct {
        ReportBandType type;
        double height;
    } bands[] = {{ReportBandType::ReportTitle, 15},
                 {ReportBandType::PageHeader, 8},
                 {ReportBandType::MasterData, 6},
                 {ReportBandType::ReportSummary, 8},
                 {ReportBandType::PageFooter, 8}};
    for (const auto& b : bands) {
        auto band = std::make_unique<ReportBand>(b.type, reportBandTypeName(b.type) + QLatin1Char('1'));
        band->setHeight(b.height);
        band->setStretch(b.type == ReportBandType::MasterData);
        page->addBand(std::move(band));
    }
    addPage(std::move(page));
}

ReportObject* Report::findObject(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    for (const auto& page : m_pages) {
        for (int b = 0; b < page->bandCount(); ++b) {
            ReportBand* band = page->band(b);
            for (int o = 0; o < band->objectCount(); ++o) {
                if (band->object(o)->name().compare(name, Qt::CaseInsensitive) == 0)
                    return band->object(o);
            }
        }
    }
    return nullptr;
}

ReportMemo* Report::findMemo(const QString& name) const {
    ReportObject* object = findObject(name);
    return object && object->kind() == ReportObject::Kind::Memo ? static_cast<ReportMemo*>(object) : nullptr;
}

ReportBand* Report::findBand(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    for (const auto& page : m_pages) {
        for (int b = 0; b < page->bandCount(); ++b) {
            if (page->band(b)->name().compare(name, Qt::CaseInsensitive) == 0)
                return page->band(b);
        }
    }
    return nullptr;
}

ReportBand* Report::bandOf(const ReportObject* object) const {
    for (const auto& page : m_pages) {
        for (int b = 0; b < page->bandCount(); ++b) {
            if (page->band(b)->indexOf(object) >= 0)
                return page->band(b);
        }
    }
    return nullptr;
}

ReportPage* Report::pageOf(const ReportBand* band) const {
    for (const auto& page : m_pages) {
        if (page->indexOf(band) >= 0)
            return page.get();
    }
    return nullptr;
}

bool Report::setMemoText(const QString& name, const QString& text) {
    ReportMemo* memo = findMemo(name);
    if (!memo)
        return false;
    memo->setText(text);
    return true;
}

QString Report::uniqueName(const QString& prefix) const {
    for (int n = 1;; ++n) {
        const QString candidate = prefix + QString::number(n);
        if (!findObject(candidate) && !findBand(candidate))
            return candidate;
    }
}

void Report::setDataSource(std::shared_ptr<ReportDataSource> source) {
    if (!source)
        return;
    removeDataSource(source->name());
    m_dataSources.append(std::move(source));
}

void Report::removeDataSource(const QString& name) {
    for (int i = int(m_dataSources.size()) - 1; i >= 0; --i) {
        if (m_dataSources.at(i)->name().compare(name, Qt::CaseInsensitive) == 0)
            m_dataSources.removeAt(i);
    }
}

ReportDataSource* Report::dataSource(const QString& name) const {
    for (const auto& source : m_dataSources) {
        if (source->name().compare(name, Qt::CaseInsensitive) == 0)
            return source.get();
    }
    return nullptr;
}

QStringList Report::dataSourceNames() const {
    QStringList names;
    for (const auto& source : m_dataSources)
        names << source->name();
    return names;
}

bool Report::loadTemplate(const QString& path, QString* error) {
    if (error)
        error->clear();
    if (!QFileInfo::exists(path))
        return false;
    Report loaded(m_name);
    QString message;
    if (!ReportTemplate::load(path, &loaded, &message)) {
        if (error)
            *error = message;
        return false;
    }
    copyLayoutFrom(loaded);
    return true;
}

bool Report::saveTemplate(const QString& path, QString* error) const {
    return ReportTemplate::save(*this, path, error);
}

PreparedReport Report::prepare() const {
    return ReportBuilder(*this).build();
}

ReportTable Report::table() const {
    return ReportBuilder(*this).table();
}

bool Report::exportPdf(const QString& path, QString* error) const {
    return ReportPainter::exportPdf(prepare(), path, m_name, error);
}
