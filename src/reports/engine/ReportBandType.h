#pragma once

#include <QString>

// The roles a band plays when a page is laid out.
enum class ReportBandType { ReportTitle, PageHeader, MasterData, ReportSummary, PageFooter };

// The name used in templates and default band names ("MasterData").
QString reportBandTypeName(ReportBandType type);
// Parses a template name; false for an unknown one.
bool reportBandTypeFromName(const QString& name, ReportBandType* type);
// The caption the designer shows ("主数据").
QString reportBandTypeCaption(ReportBandType type);
// Where bands of this type sit on the page, top to bottom (title 0 ... footer 4).
int reportBandTypeOrder(ReportBandType type);
