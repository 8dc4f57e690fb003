#pragma once

#include <QDialog>
#include <QString>
#include <QVariantMap>

class DataGrid;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The supplier picker (选择供应商). An opening window sets Caller to its objectName (and Kind
// to "Supply") and shows it modally; choosing writes the supplier's name into the opener's box
// (FrmIn: EditSupply; FrmOut, FrmExpired, FrmFK, FrmSK, FrmSearchStock: EditCust), emits
// chosen() and closes with Accepted. Later windows simply call
//     QString name;
//     if (TFrmSelectCust::Choose(this, &name)) ...
// which does all of that with Caller = this->objectName().
class TFrmSelectCust : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSelectCust(QWidget* parent = nullptr);
    ~TFrmSelectCust() override;

    QString Caller;
    QString Kind = QStringLiteral("Supply");

    // Shows the picker for caller; true when a supplier was chosen (name and row tell which).
    static bool Choose(QWidget* caller, QString* name = nullptr, QVariantMap* row = nullptr);

    QString chosenName() const { return m_chosenName; }
    // Every field of the chosen supplier's row (empty when the grid was empty).
    QVariantMap chosenRow() const { return m_chosenRow; }

    void FormShow();
    void RunSearch();      // on every change of EditCode, EditName, EditType
    void BtnSelectClick(); // 选择
    void BtnNewClick();    // 新增供应商
    void TreeView1DblClick(QTreeWidgetItem* item);

signals:
    void chosen(const QString& name);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void layOutGrid();
    QWidget* callerWindow() const;

    QLineEdit* m_code = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_type = nullptr;
    QTreeWidget* m_tree = nullptr;
    DataGrid* m_grid = nullptr;
    QString m_chosenName;
    QVariantMap m_chosenRow;
    bool m_shown = false;
};
