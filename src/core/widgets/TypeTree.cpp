#include "core/widgets/TypeTree.h"

#include "core/CategoryCodes.h"
#include "core/CategoryTree.h"
#include "core/Database.h"
#include "core/DbError.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

constexpr int CodeRole = Qt::UserRole;
constexpr int NameRole = Qt::UserRole + 1;

Database& db() {
    Database* d = Database::current();
    if (!d || !d->isOpen())
        throw DbError(QObject::tr("数据库未连接"));
    return *d;
}

QString caption(const QString& code, const QString& name) {
    return code + QLatin1Char('-') + name;
}

QTreeWidgetItem* makeItem(const QString& code, const QString& name, const QString& text) {
    auto* item = new QTreeWidgetItem(QStringList(text));
    item->setData(0, CodeRole, code);
    item->setData(0, NameRole, name);
    item->setIcon(0, QApplication::style()->standardIcon(QStyle::SP_DirIcon));
    return item;
}

QTreeWidgetItem* resetView(QTreeWidget* view, const QString& rootCaption) {
    view->clear();
    view->setColumnCount(1);
    view->setHeaderHidden(true);
    auto* root = makeItem(QString(), rootCaption, rootCaption);
    root->setIcon(0, QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon));
    view->addTopLevelItem(root);
    return root;
}

void addNodes(QTreeWidgetItem* root, const QVector<CategoryNode>& nodes, bool codeCaptions) {
    QVector<QTreeWidgetItem*> items;
    items.reserve(nodes.size());
    for (const CategoryNode& n : nodes) {
        QTreeWidgetItem* parent = n.parent >= 0 ? items[n.parent] : root;
        QTreeWidgetItem* item = makeItem(n.code, n.name, codeCaptions ? caption(n.code, n.name) : n.name);
        parent->addChild(item);
        items << item;
    }
}

} // namespace

void FillTypeTree(QTreeWidget* view, const QString& tree, const QString& rootCaption) {
    const QVector<CategoryNode> nodes = CategoryTree(db(), tree).nodes();
    view->setUpdatesEnabled(false);
    QTreeWidgetItem* root = resetView(view, rootCaption.isEmpty() ? TreeRootCaption(tree) : rootCaption);
    addNodes(root, nodes, true);
    root->setExpanded(true);
    view->setUpdatesEnabled(true);
}

void FillNameTree(QTreeWidget* view, const QString& table, const QString& rootCaption, const QString& extra) {
    const QVector<CategoryNode> nodes = CategoryTree::tableNodes(db(), table);
    view->setUpdatesEnabled(false);
    QTreeWidgetItem* root = resetView(view, rootCaption);
    if (!extra.isEmpty())
        root->addChild(makeItem(QString(), extra, extra));
    addNodes(root, nodes, false);
    root->setExpanded(true);
    view->setCurrentItem(root);
    view->setUpdatesEnabled(true);
}

QString TypeTreeCode(const QTreeWidgetItem* item) {
    return item ? item->data(0, CodeRole).toString() : QString();
}

QString TypeTreeName(const QTreeWidgetItem* item) {
    return item && item->parent() ? item->data(0, NameRole).toString() : QString();
}

bool IsTypeTreeRoot(const QTreeWidgetItem* item) {
    return item && !item->parent();
}

QTreeWidgetItem* TypeTreeRoot(QTreeWidget* view) {
    return view->topLevelItemCount() ? view->topLevelItem(0) : nullptr;
}

QTreeWidgetItem* FindTypeTreeItem(QTreeWidget* view, const QString& code) {
    if (code.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(view); *it; ++it)
        if ((*it)->parent() && TypeTreeCode(*it).compare(code, Qt::CaseInsensitive) == 0)
            return *it;
    return nullptr;
}

QTreeWidgetItem* AddTypeTreeItem(QTreeWidget* view, const QString& code, const QString& name) {
    QTreeWidgetItem* parent = nullptr;
    for (int len = (code.size() - 1) & ~1; len >= 2 && !parent; len -= 2)
        parent = FindTypeTreeItem(view, code.left(len));
    if (!parent)
        parent = TypeTreeRoot(view);
    if (!parent)
        return nullptr;
    QTreeWidgetItem* item = makeItem(code, name, caption(code, name));
    int at = 0;
    while (at < parent->childCount() &&
           TypeTreeCode(parent->child(at)).compare(code, Qt::CaseInsensitive) < 0)
        ++at;
    parent->insertChild(at, item);
    // Nodes shown higher up for want of this one move under it.
    for (int i = parent->childCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* sibling = parent->child(i);
        const QString c = TypeTreeCode(sibling);
        if (sibling != item && c.size() > code.size() && c.startsWith(code, Qt::CaseInsensitive))
            item->insertChild(0, parent->takeChild(i));
    }
    parent->setExpanded(true);
    return item;
}

void RenameTypeTreeItem(QTreeWidgetItem* item, const QString& name) {
    if (!item || !item->parent())
        return;
    item->setData(0, NameRole, name);
    item->setText(0, caption(TypeTreeCode(item), name));
}
