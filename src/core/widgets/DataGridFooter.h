#pragma once

#include <QStringList>
#include <QWidget>

class DataSetModel;
class QTableView;

// The footer row of a DataGrid: each summed column's total in the column's format, drawn under
// the column wherever the user scrolled, resized or moved it. Totals are counted once per change
// of the data, not per paint.
class DataGridFooter : public QWidget {
    Q_OBJECT
public:
    DataGridFooter(QTableView* view, DataSetModel* model, QWidget* parent = nullptr);

    // The text under a model column (empty for columns without sum).
    QString text(int column) const;
    // The footer cell of a model column in footer coordinates, under the column's cells.
    QRect cellRect(int column) const;
    // The totals are counted again at the next paint or text().
    void invalidate();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void count() const;
    int cellsLeft() const;

    QTableView* m_view;
    DataSetModel* m_model;
    mutable QStringList m_texts;
    mutable bool m_valid = false;
};
