#include "reports/engine/widgets/ReportPropertyPanel.h"

#include "reports/engine/Report.h"
#include "reports/engine/ReportLine.h"
#include "reports/engine/ReportMemo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QPageSize::PageSizeId kPapers[] = {QPageSize::A4, QPageSize::A5, QPageSize::A3, QPageSize::B5,
                                         QPageSize::Letter};
}

ReportPropertyPanel::ReportPropertyPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PropertyPanel"));
    auto* layout = new QVBoxLayout(this);

    m_objectGroup = new QGroupBox(tr("对象"), this);
    auto* objectForm = new QFormLayout(m_objectGroup);
    m_name = new QLineEdit(m_objectGroup);
    m_name->setObjectName(QStringLiteral("Edit_Name"));
    m_left = millimetres(QStringLiteral("Edit_Left"), -1000, 1000);
    m_top = millimetres(QStringLiteral("Edit_Top"), -1000, 1000);
    m_width = millimetres(QStringLiteral("Edit_Width"), -1000, 1000);
    m_height = millimetres(QStringLiteral("Edit_Height"), -1000, 1000);
    objectForm->addRow(tr("名称"), m_name);
    objectForm->addRow(tr("左 (mm)"), m_left);
    objectForm->addRow(tr("上 (mm)"), m_top);
    objectForm->addRow(tr("宽 (mm)"), m_width);
    objectForm->addRow(tr("高 (mm)"), m_height);
    layout->addWidget(m_objectGroup);

    m_memoGroup = new QGroupBox(tr("文本"), this);
    auto* memoForm = new QFormLayout(m_memoGroup);
    m_text = new QPlainTextEdit(m_memoGroup);
    m_text->setObjectName(QStringLiteral("Edit_Text"));
    m_text->setMaximumHeight(90);
    memoForm->addRow(tr("内容"), m_text);
    auto* fieldRow = new QHBoxLayout;
    m_field = new QComboBox(m_memoGroup);
    m_field->setObjectName(QStringLiteral("Combo_Field"));
    m_insertField = new QPushButton(tr("插入"), m_memoGroup);
    m_insertField->setObjectName(QStringLiteral("Btn_InsertField"));
    fieldRow->addWidget(m_field, 1);
    fieldRow->addWidget(m_insertField);
    memoForm->addRow(tr("字段"), fieldRow);
    m_font = new QPushButton(m_memoGroup);
    m_font->setObjectName(QStringLiteral("Btn_Font"));
    memoForm->addRow(tr("字体"), m_font);
    m_hAlign = new QComboBox(m_memoGroup);
    m_hAlign->setObjectName(QStringLiteral("Combo_HAlign"));
    m_hAlign->addItem(tr("左对齐"), int(Qt::AlignLeft));
    m_hAlign->addItem(tr("居中"), int(Qt::AlignHCenter));
    m_hAlign->addItem(tr("右对齐"), int(Qt::AlignRight));
    m_hAlign->addItem(tr("两端对齐"), int(Qt::AlignJustify));
    memoForm->addRow(tr("水平对齐"), m_hAlign);
    m_vAlign = new QComboBox(m_memoGroup);
    m_vAlign->setObjectName(QStringLiteral("Combo_VAlign"));
    m_vAlign->addItem(tr("顶端"), int(Qt::AlignTop));
    m_vAlign->addItem(tr("居中"), int(Qt::AlignVCenter));
    m_vAlign->addItem(tr("底端"), int(Qt::AlignBottom));
    memoForm->addRow(tr("垂直对齐"), m_vAlign);
    m_wordWrap = new QCheckBox(tr("自动换行"), m_memoGroup);
    m_wordWrap->setObjectName(QStringLiteral("Check_WordWrap"));
    memoForm->addRow(QString(), m_wordWrap);
    m_format = new QComboBox(m_memoGroup);
    m_format->setObjectName(QStringLiteral("Combo_Format"));
    m_format->setEditable(true);
    m_format->addItems({QString(), QStringLiteral("0.00"), QStringLiteral("#,##0.00"),
                        QStringLiteral("%2.2n"), QStringLiteral("0.##"), QStringLiteral("yyyy-MM-dd")});
    memoForm->addRow(tr("显示格式"), m_format);
    auto* frameRow = new QHBoxLayout;
    m_frameLeft = new QCheckBox(tr("左"), m_memoGroup);
    m_frameLeft->setObjectName(QStringLiteral("Check_FrameLeft"));
    m_frameTop = new QCheckBox(tr("上"), m_memoGroup);
    m_frameTop->setObjectName(QStringLiteral("Check_FrameTop"));
    m_frameRight = new QCheckBox(tr("右"), m_memoGroup);
    m_frameRight->setObjectName(QStringLiteral("Check_FrameRight"));
    m_frameBottom = new QCheckBox(tr("下"), m_memoGroup);
    m_frameBottom->setObjectName(QStringLiteral("Check_FrameBottom"));
    for (QCheckBox* box : {m_frameLeft, m_frameTop, m_frameRight, m_frameBottom})
        frameRow->addWidget(box);
    memoForm->addRow(tr("边框"), frameRow);
    m_frameWidth = millimetres(QStringLiteral("Edit_FrameWidth"), 0, 5);
    m_frameWidth->setSingleStep(0.1);
    memoForm->addRow(tr("边框线宽 (mm)"), m_frameWidth);
    layout->addWidget(m_memoGroup);

    m_lineGroup = new QGroupBox(tr("线条"), this);
    auto* lineForm = new QFormLayout(m_lineGroup);
    m_penWidth = millimetres(QStringLiteral("Edit_PenWidth"), 0, 5);
    m_penWidth->setSingleStep(0.1);
    lineForm->addRow(tr("线宽 (mm)"), m_penWidth);
    layout->addWidget(m_lineGroup);

    m_bandGroup = new QGroupBox(tr("带区"), this);
    auto* bandForm = new QFormLayout(m_bandGroup);
    m_bandName = new QLineEdit(m_bandGroup);
    m_bandName->setObjectName(QStringLiteral("Edit_BandName"));
    m_bandType = new QLabel(m_bandGroup);
    m_bandType->setObjectName(QStringLiteral("lbl_BandType"));
    m_bandHeight = millimetres(QStringLiteral("Edit_BandHeight"), 0, 1000);
    m_dataSet = new QComboBox(m_bandGroup);
    m_dataSet->setObjectName(QStringLiteral("Combo_DataSet"));
    m_dataSet->setEditable(true);
    m_stretch = new QCheckBox(tr("随内容伸展"), m_bandGroup);
    m_stretch->setObjectName(QStringLiteral("Check_Stretch"));
    bandForm->addRow(tr("名称"), m_bandName);
    bandForm->addRow(tr("类型"), m_bandType);
    bandForm->addRow(tr("高度 (mm)"), m_bandHeight);
    bandForm->addRow(tr("数据集"), m_dataSet);
    bandForm->addRow(QString(), m_stretch);
    layout->addWidget(m_bandGroup);

    m_pageGroup = new QGroupBox(tr("页面"), this);
    auto* pageForm = new QFormLayout(m_pageGroup);
    m_paper = new QComboBox(m_pageGroup);
    m_paper->setObjectName(QStringLiteral("Combo_Paper"));
    for (QPageSize::PageSizeId id : kPapers)
        m_paper->addItem(QPageSize::name(id), int(id));
    m_orientation = new QComboBox(m_pageGroup);
    m_orientation->setObjectName(QStringLiteral("Combo_Orientation"));
    m_orientation->addItem(tr("纵向"), int(QPageLayout::Portrait));
    m_orientation->addItem(tr("横向"), int(QPageLayout::Landscape));
    m_marginLeft = millimetres(QStringLiteral("Edit_MarginLeft"), 0, 100);
    m_marginTop = millimetres(QStringLiteral("Edit_MarginTop"), 0, 100);
    m_marginRight = millimetres(QStringLiteral("Edit_MarginRight"), 0, 100);
    m_marginBottom = millimetres(QStringLiteral("Edit_MarginBottom"), 0, 100);
    pageForm->addRow(tr("纸张"), m_paper);
    pageForm->addRow(tr("方向"), m_orientation);
    pageForm->addRow(tr("左边距 (mm)"), m_marginLeft);
    pageForm->addRow(tr("上边距 (mm)"), m_marginTop);
    pageForm->addRow(tr("右边距 (mm)"), m_marginRight);
    pageForm->addRow(tr("下边距 (mm)"), m_marginBottom);
    layout->addWidget(m_pageGroup);
    layout->addStretch(1);

    connect(m_name, &QLineEdit::editingFinished, this, &ReportPropertyPanel::applyObject);
    for (QDoubleSpinBox* box : {m_left, m_top, m_width, m_height})
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                &ReportPropertyPanel::applyObject);
    connect(m_text, &QPlainTextEdit::textChanged, this, &ReportPropertyPanel::applyMemo);
    connect(m_font, &QPushButton::clicked, this, &ReportPropertyPanel::chooseFont);
    connect(m_insertField, &QPushButton::clicked, this, &ReportPropertyPanel::insertField);
    for (QComboBox* box : {m_hAlign, m_vAlign})
        connect(box, qOverload<int>(&QComboBox::currentIndexChanged), this, &ReportPropertyPanel::applyMemo);
    connect(m_format, &QComboBox::currentTextChanged, this, &ReportPropertyPanel::applyMemo);
    for (QCheckBox* box : {m_wordWrap, m_frameLeft, m_frameTop, m_frameRight, m_frameBottom})
        connect(box, &QCheckBox::toggled, this, &ReportPropertyPanel::applyMemo);
    connect(m_frameWidth, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &ReportPropertyPanel::applyMemo);
    connect(m_penWidth, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &ReportPropertyPanel::applyObject);
    connect(m_bandName, &QLineEdit::editingFinished, this, &ReportPropertyPanel::applyBand);
    connect(m_bandHeight, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &ReportPropertyPanel::applyBand);
    connect(m_dataSet, &QComboBox::currentTextChanged, this, &ReportPropertyPanel::applyBand);
    connect(m_stretch, &QCheckBox::toggled, this, &ReportPropertyPanel::applyBand);
    for (QComboBox* box : {m_paper, m_orientation})
        connect(box, qOverload<int>(&QComboBox::currentIndexChanged), this, &ReportPropertyPanel::applyPage);
    for (QDoubleSpinBox* box : {m_marginLeft, m_marginTop, m_marginRight, m_marginBottom})
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &ReportPropertyPanel::applyPage);

    showSelection(nullptr, nullptr, nullptr);
}

QDoubleSpinBox* ReportPropertyPanel::millimetres(const QString& name, double minimum, double maximum) {
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setDecimals(2);
    box->setSingleStep(0.5);
    box->setKeyboardTracking(false);
    return box;
}

void ReportPropertyPanel::setReport(Report* report) {
    m_report = report;
    showSelection(nullptr, nullptr, nullptr);
}

void ReportPropertyPanel::showSelection(ReportPage* page, ReportBand* band, ReportObject* object) {
    m_page = page;
    m_band = band;
    m_object = object;
    load();
}

void ReportPropertyPanel::refreshGeometry() {
    load();
}

void ReportPropertyPanel::focusText() {
    if (m_memoGroup->isVisible()) {
        m_text->setFocus();
        m_text->selectAll();
    }
}

void ReportPropertyPanel::updateFontButton() {
    const ReportMemo* memo = m_object && m_object->kind() == ReportObject::Kind::Memo
                                 ? static_cast<const ReportMemo*>(m_object)
                                 : nullptr;
    if (!memo)
        return;
    const QFont font = memo->font();
    QString text = QStringLiteral("%1 %2pt").arg(font.family()).arg(font.pointSizeF());
    if (font.bold())
        text += tr(" 粗体");
    if (font.italic())
        text += tr(" 斜体");
    m_font->setText(text);
}

void ReportPropertyPanel::load() {
    m_loading = true;
    const ReportMemo* memo = m_object && m_object->kind() == ReportObject::Kind::Memo
                                 ? static_cast<const ReportMemo*>(m_object)
                                 : nullptr;
    const ReportLine* line = m_object && m_object->kind() == ReportObject::Kind::Line
                                 ? static_cast<const ReportLine*>(m_object)
                                 : nullptr;
    m_objectGroup->setVisible(m_object);
    m_memoGroup->setVisible(memo);
    m_lineGroup->setVisible(line);
    m_bandGroup->setVisible(!m_object && m_band);
    m_pageGroup->setVisible(!m_object && !m_band && m_page);
    if (m_object) {
        const QRectF g = m_object->geometry();
        m_name->setText(m_object->name());
        m_left->setValue(g.x());
        m_top->setValue(g.y());
        m_width->setValue(g.width());
        m_height->setValue(g.height());
    }
    if (memo) {
        if (m_text->toPlainText() != memo->text())
            m_text->setPlainText(memo->text());
        m_field->clear();
        if (m_report) {
            for (const QString& name : m_report->dataSourceNames()) {
                for (const QString& field : m_report->dataSource(name)->fieldNames())
                    m_field->addItem(QStringLiteral("[%1.\"%2\"]").arg(name, field));
            }
        }
        m_field->addItems({QStringLiteral("[Line#]"), QStringLiteral("[Page#]"),
                           QStringLiteral("[TotalPages#]"), QStringLiteral("[Date]")});
        updateFontButton();
        m_hAlign->setCurrentIndex(qMax(0, m_hAlign->findData(int(memo->horizontalAlignment()))));
        m_vAlign->setCurrentIndex(qMax(0, m_vAlign->findData(int(memo->verticalAlignment()))));
        m_wordWrap->setChecked(memo->wordWrap());
        m_format->setCurrentText(memo->displayFormat());
        const ReportFrame frame = memo->frame();
        m_frameLeft->setChecked(frame.sides & Qt::LeftEdge);
        m_frameTop->setChecked(frame.sides & Qt::TopEdge);
        m_frameRight->setChecked(frame.sides & Qt::RightEdge);
        m_frameBottom->setChecked(frame.sides & Qt::BottomEdge);
        m_frameWidth->setValue(frame.width);
    }
    if (line)
        m_penWidth->setValue(line->penWidth());
    if (!m_object && m_band) {
        m_bandName->setText(m_band->name());
        m_bandType->setText(reportBandTypeCaption(m_band->type()));
        m_bandHeight->setValue(m_band->height());
        m_dataSet->clear();
        m_dataSet->addItem(QString());
        if (m_report)
            m_dataSet->addItems(m_report->dataSourceNames());
        m_dataSet->setCurrentText(m_band->dataSetName());
        m_dataSet->setEnabled(m_band->type() == ReportBandType::MasterData);
        m_stretch->setChecked(m_band->stretch());
    }
    if (!m_object && !m_band && m_page) {
        const int paper = m_paper->findData(int(m_page->pageSize().id()));
        m_paper->setCurrentIndex(qMax(0, paper));
        m_orientation->setCurrentIndex(m_page->orientation() == QPageLayout::Landscape ? 1 : 0);
        const QMarginsF m = m_page->margins();
        m_marginLeft->setValue(m.left());
        m_marginTop->setValue(m.top());
        m_marginRight->setValue(m.right());
        m_marginBottom->setValue(m.bottom());
    }
    m_loading = false;
}

void ReportPropertyPanel::applyObject() {
    if (m_loading || !m_object)
        return;
    const QString name = m_name->text().trimmed();
    bool renamed = false;
    if (!name.isEmpty() && name != m_object->name()) {
        const ReportObject* other = m_report ? m_report->findObject(name) : nullptr;
        if (!other || other == m_object) {
            m_object->setName(name);
            renamed = true;
        } else {
            m_name->setText(m_object->name()); // names stay unique: code finds objects by them
        }
    }
    m_object->setGeometry(QRectF(m_left->value(), m_top->value(), m_width->value(), m_height->value()));
    if (m_object->kind() == ReportObject::Kind::Line)
        static_cast<ReportLine*>(m_object)->setPenWidth(m_penWidth->value());
    emit edited();
    if (renamed)
        emit structureEdited();
}

void ReportPropertyPanel::applyMemo() {
    if (m_loading || !m_object || m_object->kind() != ReportObject::Kind::Memo)
        return;
    auto* memo = static_cast<ReportMemo*>(m_object);
    memo->setText(m_text->toPlainText());
    memo->setHorizontalAlignment(Qt::Alignment(m_hAlign->currentData().toInt()));
    memo->setVerticalAlignment(Qt::Alignment(m_vAlign->currentData().toInt()));
    memo->setWordWrap(m_wordWrap->isChecked());
    memo->setDisplayFormat(m_format->currentText().trimmed());
    ReportFrame frame = memo->frame();
    frame.sides = {};
    if (m_frameLeft->isChecked())
        frame.sides |= Qt::LeftEdge;
    if (m_frameTop->isChecked())
        frame.sides |= Qt::TopEdge;
    if (m_frameRight->isChecked())
        frame.sides |= Qt::RightEdge;
    if (m_frameBottom->isChecked())
        frame.sides |= Qt::BottomEdge;
    frame.width = m_frameWidth->value();
    memo->setFrame(frame);
    emit edited();
}

void ReportPropertyPanel::applyBand() {
    if (m_loading || !m_band || m_object)
        return;
    const QString name = m_bandName->text().trimmed();
    if (!name.isEmpty() && name != m_band->name()) {
        const ReportBand* other = m_report ? m_report->findBand(name) : nullptr;
        if (!other && !(m_report && m_report->findObject(name)))
            m_band->setName(name);
        else
            m_bandName->setText(m_band->name());
    }
    m_band->setHeight(m_bandHeight->value());
    if (m_band->type() == ReportBandType::MasterData)
        m_band->setDataSetName(m_dataSet->currentText().trimmed());
    m_band->setStretch(m_stretch->isChecked());
    emit edited();
    emit structureEdited();
}

void ReportPropertyPanel::applyPage() {
    if (m_loading || !m_page || m_object || m_band)
        return;
    m_page->setPageSize(QPageSize(QPageSize::PageSizeId(m_paper->currentData().toInt())));
    m_page->setOrientation(QPageLayout::Orientation(m_orientation->currentData().toInt()));
    m_page->setMargins(QMarginsF(m_marginLeft->value(), m_marginTop->value(), m_marginRight->value(),
                                 m_marginBottom->value()));
    emit edited();
    emit structureEdited();
}

void ReportPropertyPanel::chooseFont() {
    if (!m_object || m_object->kind() != ReportObject::Kind::Memo)
        return;
    auto* memo = static_cast<ReportMemo*>(m_object);
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, memo->font(), this, tr("字体"));
    if (!ok)
        return;
    memo->setFont(font);
    updateFontButton();
    emit edited();
}

void ReportPropertyPanel::insertField() {
    if (m_field->currentText().isEmpty())
        return;
    m_text->insertPlainText(m_field->currentText());
    m_text->setFocus();
}
