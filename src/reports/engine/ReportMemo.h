#pragma once

#include "reports/engine/ReportFrame.h"
#include "reports/engine/ReportObject.h"

#include <QColor>
#include <QFont>

// A text box. Its text mixes literal text with expressions in square brackets:
// [Dataset."field"], [Line#], [Page#], [TotalPages#], [Date], [Time],
// [SUM(<Dataset."field">,MasterData1)], [COUNT(MasterData1)].
class ReportMemo : public ReportObject {
public:
    ReportMemo();

    Kind kind() const override { return Kind::Memo; }
    std::unique_ptr<ReportObject> clone() const override;

    QString text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }
    QFont font() const { return m_font; }
    void setFont(const QFont& font) { m_font = font; }
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment) { m_alignment = alignment; }
    Qt::Alignment horizontalAlignment() const { return m_alignment & Qt::AlignHorizontal_Mask; }
    Qt::Alignment verticalAlignment() const { return m_alignment & Qt::AlignVertical_Mask; }
    void setHorizontalAlignment(Qt::Alignment alignment);
    void setVerticalAlignment(Qt::Alignment alignment);
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap) { m_wordWrap = wrap; }
    ReportFrame frame() const { return m_frame; }
    void setFrame(const ReportFrame& frame) { m_frame = frame; }
    // How numbers and dates of the expressions are written: "%2.2n", "%.2f", "0.00", "#,##0.00",
    // "yyyy-MM-dd"; empty writes values as they come.
    QString displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString& format) { m_displayFormat = format; }
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor& color) { m_textColor = color; }
    // An invalid colour leaves the box transparent.
    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor& color) { m_fillColor = color; }

private:
    QString m_text;
    QFont m_font;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool m_wordWrap = true;
    ReportFrame m_frame;
    QString m_displayFormat;
    QColor m_textColor = Qt::black;
    QColor m_fillColor;
};
