#pragma once

#include <QDialog>
#include <QString>
#include <QVector>

class DataSet;
class QLabel;
class QLineEdit;

// 批量修改分类: files the rows selected in a master list (medicines, suppliers, customers,
// employees) under one category chosen in the list's tree, in one transaction. The list's
// dataset is refreshed afterwards so the list shows the new category; the window closes with
// Accepted after a change.
class TFrmChangeType : public QDialog {
    Q_OBJECT
public:
    // list: "Medicine", "Supply", "Custom" or "Employee"; rows: the list window's dataset, whose
    // selected bookmarks (or current row when none is selected) are moved; null takes the data
    // module's list dataset (QryMedicine, QrySupply, QryCustom, QryEmployee).
    TFrmChangeType(const QString& list, DataSet* rows = nullptr, QWidget* parent = nullptr);

    // The data module's dataset of a list, or null.
    static DataSet* ListDataSet(const QString& list);

    QString list() const { return m_list; }
    int rowCount() const { return m_ids.size(); }

private:
    void BtnSelectTypeClick();
    void Btn_okClick();

    QString m_list;
    DataSet* m_rows = nullptr;
    QVector<qint64> m_ids;
    QLabel* m_title = nullptr;
    QLineEdit* m_typeName = nullptr;
    QLineEdit* m_typeCode = nullptr;
};
