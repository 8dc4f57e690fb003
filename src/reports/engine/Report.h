#pragma once

#include "reports/engine/PreparedReport.h"
#include "reports/engine/ReportDataSource.h"
#include "reports/engine/ReportPage.h"
#include "reports/engine/ReportTable.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class ReportBand;
class ReportMemo;
class ReportObject;

// A banded report: its layout (pages, bands, objects) and the named data sources it reads.
// Copies share the data sources and copy the layout.
class Report {
public:
    explicit Report(const QString& name = QString());
    Report(const Report& other);
    Report& operator=(const Report& other);
    Report(Report&& other) noexcept;
    Report& operator=(Report&& other) noexcept;
    ~Report();

    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    // The font of memos added in the designer.
    QFont defaultFont() const { return m_defaultFont; }
    void setDefaultFont(const QFont& font) { m_defaultFont = font; }

    // Layout
    int pageCount() const { return int(m_pages.size()); }
    ReportPage* page(int index) const { return m_pages.at(size_t(index)).get(); }
    ReportPage* addPage(std::unique_ptr<ReportPage> page);
    std::unique_ptr<ReportPage> takePage(const ReportPage* page);
    void clearLayout();
    // Replaces pages and default font by those of other; the data sources stay.
    void copyLayoutFrom(const Report& other);
    // An empty A4 portrait page with 10 mm margins, Arial, and the five bands.
    void newLayout();

    // Objects and bands by name, without regard to case; null when absent.
    ReportObject* findObject(const QString& name) const;
    ReportMemo* findMemo(const QString& name) const;
    ReportBand* findBand(const QString& name) const;
    ReportBand* bandOf(const ReportObject* object) const;
    ReportPage* pageOf(const ReportBand* band) const;
    // Sets the text of the memo of that name; false (and nothing else) when there is none.
    bool setMemoText(const QString& name, const QString& text);
    // prefix + the first number not yet taken by an object or band ("Memo12").
    QString uniqueName(const QString& prefix) const;

    // Data sources, one per dataset name (compared without regard to case). Setting a source of
    // a name already bound replaces it.
    void setDataSource(std::shared_ptr<ReportDataSource> source);
    void removeDataSource(const QString& name);
    ReportDataSource* dataSource(const QString& name) const;
    QStringList dataSourceNames() const;

    // Templates. Loading a file that does not exist changes nothing and reports nothing (false,
    // error left empty); a file that cannot be read or parsed leaves the layout as it was and
    // gives the reason in error. True when the layout was replaced.
    bool loadTemplate(const QString& path, QString* error = nullptr);
    bool saveTemplate(const QString& path, QString* error = nullptr) const;

    // Output, built afresh from the data sources each time.
    PreparedReport prepare() const;
    ReportTable table() const;
    bool exportPdf(const QString& path, QString* error = nullptr) const;

private:
    QString m_name;
    QFont m_defaultFont;
    std::vector<std::unique_ptr<ReportPage>> m_pages;
    QList<std::shared_ptr<ReportDataSource>> m_dataSources;
};
