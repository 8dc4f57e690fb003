#include "reports/engine/ReportBand.h"

ReportBand::ReportBand(ReportBandType type, const QString& name) : m_type(type), m_name(name) {}

ReportBand::ReportBand(const ReportBand& other)
    : m_type(other.m_type), m_name(other.m_name), m_height(other.m_height),
      m_dataSetName(other.m_dataSetName), m_stretch(other.m_stretch) {
    m_objects.reserve(other.m_objects.size());
    for (const auto& object : other.m_objects)
        m_objects.push_back(object->clone());
}

ReportBand& ReportBand::operator=(const ReportBand& other) {
    if (this != &other) {
        ReportBand copy(other);
        m_type = copy.m_type;
        m_name = copy.m_name;
        m_height = copy.m_height;
        m_dataSetName = copy.m_dataSetName;
        m_stretch = copy.m_stretch;
        m_objects = std::move(copy.m_objects);
    }
    return *this;
}

ReportBand::~ReportBand() = default;

int ReportBand::indexOf(const ReportObject* object) const {
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (m_objects[i].get() == object)
            return int(i);
    }
    return -1;
}

ReportObject* ReportBand::addObject(std::unique_ptr<ReportObject> object) {
    m_objects.push_back(std::move(object));
    return m_objects.back().get();
}

ReportObject* ReportBand::insertObject(int index, std::unique_ptr<ReportObject> object) {
    index = qBound(0, index, objectCount());
    auto it = m_objects.insert(m_objects.begin() + index, std::move(object));
    return it->get();
}

std::unique_ptr<ReportObject> ReportBand::takeObject(const ReportObject* object) {
    const int index = indexOf(object);
    if (index < 0)
        return nullptr;
    std::unique_ptr<ReportObject> taken = std::move(m_objects[size_t(index)]);
    m_objects.erase(m_objects.begin() + index);
    return taken;
}
