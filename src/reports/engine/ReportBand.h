#pragma once

#include "reports/engine/ReportBandType.h"
#include "reports/engine/ReportObject.h"

#include <QString>

#include <memory>
#include <vector>

// A horizontal strip of a page. A master data band is printed once per row of its dataset; a
// stretching band grows to its tallest word-wrapped memo, and the memos that reach its bottom
// edge grow with it, so the cells of a row stay one height.
class ReportBand {
public:
    explicit ReportBand(ReportBandType type, const QString& name = QString());
    ReportBand(const ReportBand& other);
    ReportBand& operator=(const ReportBand& other);
    ~ReportBand();

    ReportBandType type() const { return m_type; }
    void setType(ReportBandType type) { m_type = type; }
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    double height() const { return m_height; }
    void setHeight(double heightMm) { m_height = heightMm; }
    // Master data only: the dataset whose rows the band prints.
    QString dataSetName() const { return m_dataSetName; }
    void setDataSetName(const QString& name) { m_dataSetName = name; }
    bool stretch() const { return m_stretch; }
    void setStretch(bool stretch) { m_stretch = stretch; }

    int objectCount() const { return int(m_objects.size()); }
    ReportObject* object(int index) const { return m_objects.at(size_t(index)).get(); }
    int indexOf(const ReportObject* object) const;
    ReportObject* addObject(std::unique_ptr<ReportObject> object);
    ReportObject* insertObject(int index, std::unique_ptr<ReportObject> object);
    std::unique_ptr<ReportObject> takeObject(const ReportObject* object);

private:
    ReportBandType m_type;
    QString m_name;
    double m_height = 6;
    QString m_dataSetName;
    bool m_stretch = false;
    std::vector<std::unique_ptr<ReportObject>> m_objects;
};
