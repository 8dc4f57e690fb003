#pragma once

#include <QString>

class Report;

// The template file: an XML document of our own, described in docs/report-templates.md.
class ReportTemplate {
public:
    static constexpr int kVersion = 1;

    static QString toXml(const Report& report);
    // Reads a template into report (its layout only). On failure report is left untouched and
    // error says what is wrong and where.
    static bool fromXml(const QByteArray& xml, Report* report, QString* error);
    static bool load(const QString& path, Report* report, QString* error);
    static bool save(const Report& report, const QString& path, QString* error);
};
