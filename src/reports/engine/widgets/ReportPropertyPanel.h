#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Report;
class ReportBand;
class ReportMemo;
class ReportObject;
class ReportPage;

// The designer's property editor for the selection: an object (geometry; text, font,
// alignment, frame and format of a memo; pen of a line), else a band, else the page.
// Every change is written to the layout at once.
class ReportPropertyPanel : public QWidget {
    Q_OBJECT

public:
    explicit ReportPropertyPanel(QWidget* parent = nullptr);

    void setReport(Report* report);
    void showSelection(ReportPage* page, ReportBand* band, ReportObject* object);
    // Reads geometry and band height again after the canvas moved something.
    void refreshGeometry();
    void focusText();

signals:
    void edited();
    // A name or data set changed: the canvas captions need repainting.
    void structureEdited();

private:
    QDoubleSpinBox* millimetres(const QString& name, double minimum, double maximum);
    void load();
    void applyObject();
    void applyMemo();
    void applyBand();
    void applyPage();
    void chooseFont();
    void insertField();
    void updateFontButton();

    Report* m_report = nullptr;
    ReportPage* m_page = nullptr;
    ReportBand* m_band = nullptr;
    ReportObject* m_object = nullptr;
    bool m_loading = false;

    QGroupBox* m_objectGroup;
    QLineEdit* m_name;
    QDoubleSpinBox* m_left;
    QDoubleSpinBox* m_top;
    QDoubleSpinBox* m_width;
    QDoubleSpinBox* m_height;

    QGroupBox* m_memoGroup;
    QPlainTextEdit* m_text;
    QComboBox* m_field;
    QPushButton* m_insertField;
    QPushButton* m_font;
    QComboBox* m_hAlign;
    QComboBox* m_vAlign;
    QCheckBox* m_wordWrap;
    QComboBox* m_format;
    QCheckBox* m_frameLeft;
    QCheckBox* m_frameTop;
    QCheckBox* m_frameRight;
    QCheckBox* m_frameBottom;
    QDoubleSpinBox* m_frameWidth;

    QGroupBox* m_lineGroup;
    QDoubleSpinBox* m_penWidth;

    QGroupBox* m_bandGroup;
    QLineEdit* m_bandName;
    QLabel* m_bandType;
    QDoubleSpinBox* m_bandHeight;
    QComboBox* m_dataSet;
    QCheckBox* m_stretch;

    QGroupBox* m_pageGroup;
    QComboBox* m_paper;
    QComboBox* m_orientation;
    QDoubleSpinBox* m_marginLeft;
    QDoubleSpinBox* m_marginTop;
    QDoubleSpinBox* m_marginRight;
    QDoubleSpinBox* m_marginBottom;
};
