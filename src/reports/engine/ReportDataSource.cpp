#include "reports/engine/ReportDataSource.h"

ReportDataSource::~ReportDataSource() = default;
