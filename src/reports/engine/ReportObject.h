#pragma once

#include <QRectF>
#include <QString>

#include <memory>

// An object placed on a band. Its geometry is in millimetres, relative to the band's top-left
// corner (the left page margin and the band's top).
class ReportObject {
public:
    enum class Kind { Memo, Line };

    virtual ~ReportObject();
    virtual Kind kind() const = 0;
    virtual std::unique_ptr<ReportObject> clone() const = 0;

    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    QRectF geometry() const { return m_geometry; }
    void setGeometry(const QRectF& geometry) { m_geometry = geometry; }

protected:
    ReportObject() = default;
    ReportObject(const ReportObject&) = default;
    ReportObject& operator=(const ReportObject&) = default;

private:
    QString m_name;
    QRectF m_geometry;
};
