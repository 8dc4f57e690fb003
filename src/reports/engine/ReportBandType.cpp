#include "reports/engine/ReportBandType.h"

#include <QCoreApplication>

namespace {
struct BandTypeInfo {
    ReportBandType type;
    const char* name;
    const char* caption;
};

const BandTypeInfo kBandTypes[] = {
    {ReportBandType::ReportTitle, "ReportTitle", QT_TRANSLATE_NOOP("ReportBand", "报表标题")},
    {ReportBandType::PageHeader, "PageHeader", QT_TRANSLATE_NOOP("ReportBand", "页眉")},
    {ReportBandType::MasterData, "MasterData", QT_TRANSLATE_NOOP("ReportBand", "主数据")},
    {ReportBandType::ReportSummary, "ReportSummary", QT_TRANSLATE_NOOP("ReportBand", "报表合计")},
    {ReportBandType::PageFooter, "PageFooter", QT_TRANSLATE_NOOP("ReportBand", "页脚")},
};
} // namespace

QString reportBandTypeName(ReportBandType type) {
    return QString::fromLatin1(kBandTypes[reportBandTypeOrder(type)].name);
}

bool reportBandTypeFromName(const QString& name, ReportBandType* type) {
    for (const BandTypeInfo& info : kBandTypes) {
        if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0) {
            *type = info.type;
            return true;
        }
    }
    return false;
}

QString reportBandTypeCaption(ReportBandType type) {
    return QCoreApplication::translate("ReportBand", kBandTypes[reportBandTypeOrder(type)].caption);
}

int reportBandTypeOrder(ReportBandType type) {
    return static_cast<int>(type);
}
