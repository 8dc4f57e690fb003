#pragma once

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// Category trees drawn into tree views. Every item keeps its code and name (TypeTreeCode,
// TypeTreeName); the root keeps an empty code. The caption of a node is code + "-" + name.

// Redraws view with the tree of tType ("Medicine", "Supply", "Custom", "Employee", "Zone")
// under a root captioned rootCaption (empty: the tree's own caption, e.g. 药品分类); the root is
// expanded one level. Database errors are thrown as DbError.
void FillTypeTree(QTreeWidget* view, const QString& tree, const QString& rootCaption = QString());

// Redraws view from any table with code and name columns (the permission catalogue), captions
// are the names; the root is selected, and a non-empty extra caption adds a first child.
void FillNameTree(QTreeWidget* view, const QString& table, const QString& rootCaption,
                  const QString& extra = QString());

// The code and name an item stands for ("" for the root, the extra item or null).
QString TypeTreeCode(const QTreeWidgetItem* item);
QString TypeTreeName(const QTreeWidgetItem* item);
bool IsTypeTreeRoot(const QTreeWidgetItem* item);
QTreeWidgetItem* TypeTreeRoot(QTreeWidget* view);
// The item of a code, or null.
QTreeWidgetItem* FindTypeTreeItem(QTreeWidget* view, const QString& code);
// Adds a node of a code-name tree under the item of its nearest ancestor in the view (the root
// when none), in code order among its siblings.
QTreeWidgetItem* AddTypeTreeItem(QTreeWidget* view, const QString& code, const QString& name);
// Sets a node's name and caption.
void RenameTypeTreeItem(QTreeWidgetItem* item, const QString& name);
