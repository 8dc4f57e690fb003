#pragma once

#include "reports/engine/ReportBandType.h"

#include <QDialog>
#include <QRectF>
#include <QString>

class QAction;
class QComboBox;
class QLabel;
class QScrollArea;
class Report;
class ReportBand;
class ReportDesignCanvas;
class ReportMemo;
class ReportLine;
class ReportObject;
class ReportPropertyPanel;

// The report designer. It edits the caller's report in place, so a changed layout stays in
// memory for the rest of the run; saving writes a template file. Modal; created for one use.
class TFrmDesigner : public QDialog {
    Q_OBJECT

public:
    // templatePath: where "保存" writes (the report's file under Reports/); empty asks.
    explicit TFrmDesigner(Report* report, const QString& templatePath = QString(), QWidget* parent = nullptr);
    ~TFrmDesigner() override;

    static int design(Report* report, const QString& templatePath = QString(), QWidget* parent = nullptr);

    Report* report() const { return m_report; }
    ReportDesignCanvas* canvas() const { return m_canvas; }
    ReportPropertyPanel* propertyPanel() const { return m_panel; }
    QString templatePath() const { return m_templatePath; }
    bool isModified() const { return m_modified; }

    // The same operations as the toolbar, without dialogs.
    bool selectObject(const QString& name);
    ReportObject* selectedObject() const;
    ReportBand* selectedBand() const;
    void moveSelected(double dxMm, double dyMm);
    void setSelectedGeometry(const QRectF& geometryMm);
    ReportMemo* addMemo();
    ReportLine* addLine();
    bool deleteSelected();
    ReportBand* addBand(ReportBandType type);
    bool deleteSelectedBand();
    void newLayout();
    bool openTemplate(const QString& path, QString* error = nullptr);
    bool saveTemplateTo(const QString& path, QString* error = nullptr);
    void preview();

public slots:
    // Closing asks whether to write a changed layout to its file first.
    void reject() override;

private slots:
    void newClicked();
    void openClicked();
    bool saveClicked();
    bool saveAsClicked();
    void selectionChanged();
    void markModified();

private:
    QAction* makeAction(const QString& name, const QString& text, const QString& tip = QString());
    ReportBand* targetBand() const;
    void reload();
    void updateTitle();
    void updateActions();
    void setStatus(const QString& text);

    Report* m_report;
    QString m_templatePath;
    bool m_modified = false;
    ReportDesignCanvas* m_canvas;
    ReportPropertyPanel* m_panel;
    QScrollArea* m_scroll;
    QComboBox* m_pageCombo;
    QLabel* m_status;
    QAction* m_deleteAction = nullptr;
    QAction* m_deleteBandAction = nullptr;
    QAction* m_pageComboAction = nullptr;
};
