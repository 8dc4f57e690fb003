#pragma once

#include <QStyledItemDelegate>

// Cells of a DataGrid: an always visible ellipsis button at the right of the cells of button
// columns (a click emits buttonClicked instead of starting an edit), and a plain line editor for
// every editable cell, so any text can be typed and the dataset judges it.
class DataGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DataGridDelegate(QObject* parent = nullptr);

    // The button's place inside a cell's rectangle.
    static QRect buttonRect(const QRect& cell);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

signals:
    void buttonClicked(const QModelIndex& index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};
