#include "reports/engine/ReportMemo.h"

ReportMemo::ReportMemo() {
    m_font.setFamily(QStringLiteral("宋体"));
    m_font.setPointSizeF(9);
}

std::unique_ptr<ReportObject> ReportMemo::clone() const {
    return std::make_unique<ReportMemo>(*this);
}

void ReportMemo::setHorizontalAlignment(Qt::Alignment alignment) {
    m_alignment = (m_alignment & Qt::AlignVertical_Mask) | (alignment & Qt::AlignHorizontal_Mask);
}

void ReportMemo::setVerticalAlignment(Qt::Alignment alignment) {
    m_alignment = (m_alignment & Qt::AlignHorizontal_Mask) | (alignment & Qt::AlignVertical_Mask);
}
