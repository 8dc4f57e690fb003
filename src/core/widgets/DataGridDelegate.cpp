#include "core/widgets/DataGridDelegate.h"

#include "core/DataSetModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

bool hasButton(const QModelIndex& index) {
    return index.data(DataSetModel::ButtonRole).toBool();
}

} // namespace

DataGridDelegate::DataGridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QRect DataGridDelegate::buttonRect(const QRect& cell) {
    const int w = qMin(cell.height() + 2, cell.width());
    return QRect(cell.right() - w + 1, cell.top(), w, cell.height());
}

void DataGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (!hasButton(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QRect button = buttonRect(option.rect);
    QStyleOptionViewItem text = option;
    text.rect.setRight(button.left() - 1);
    QStyledItemDelegate::paint(painter, text, index);
    QStyleOptionButton b;
    b.rect = button;
    b.text = QStringLiteral("…");
    b.state = QStyle::State_Enabled | QStyle::State_Raised;
    b.palette = option.palette;
    const QWidget* w = option.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &b, painter, w);
}

bool DataGridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    const QEvent::Type t = event->type();
    if (hasButton(index) && (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
                             t == QEvent::MouseButtonDblClick)) {
        const auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && buttonRect(option.rect).contains(me->position().toPoint())) {
            if (t == QEvent::MouseButtonRelease)
                emit buttonClicked(index);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

QWidget* DataGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex&) const {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QStringLiteral("gridEditor"));
    e->setFrame(false);
    return e;
}

void DataGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* e = qobject_cast<QLineEdit*>(editor);
    if (!e)
        return;
    const QVariant v = index.data(Qt::EditRole);
    if (v.typeId() == QMetaType::Double)
        e->setText(QString::number(v.toDouble(), 'g', 15));
    else
        e->setText(v.toString());
    e->selectAll();
}

void DataGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    if (auto* e = qobject_cast<QLineEdit*>(editor))
        model->setData(index, e->text(), Qt::EditRole);
}

void DataGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
    QRect r = option.rect;
    if (hasButton(index))
        r.setRight(buttonRect(option.rect).left() - 1);
    editor->setGeometry(r);
}
