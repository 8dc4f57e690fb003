#pragma once

#include "reports/engine/PreparedReport.h"
#include "reports/engine/ReportTable.h"

#include <memory>

class Report;

// Lays a report out from its data: the report title on the first page, the page header on top
// of every page, one master data band per row flowing over as many pages as the rows need, the
// summary after the last row, the page footer at the bottom of every page.
class ReportBuilder {
public:
    explicit ReportBuilder(const Report& report);
    ~ReportBuilder();

    PreparedReport build();
    // The rows and totals of the first master data band bound to a data source.
    ReportTable table();

private:
    class Private;
    std::unique_ptr<Private> d;
};
