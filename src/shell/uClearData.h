#pragma once

#include <QDialog>
#include <QVector>

class QCheckBox;
class QPushButton;

// The initialisation window "数据初始化": one check box per group of tables to empty.
class TFrmClearData : public QDialog {
    Q_OBJECT
public:
    explicit TFrmClearData(QWidget* parent = nullptr);

    void Btn_okClick();

private:
    QVector<QCheckBox*> m_boxes;
    QPushButton* Btn_ok;
    QPushButton* Btn_cancel;
};
