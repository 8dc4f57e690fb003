#pragma once

#include "core/CategoryCodes.h"

#include <QString>
#include <QStringList>
#include <QVector>

class Database;

// One category tree of tType ("Medicine", "Supply", "Custom", "Employee", "Zone"): its nodes,
// the code proposals, the save and delete rules. Every call reads the table afresh (trees hold
// a few hundred rows at most); database errors are thrown as DbError.
class CategoryTree {
public:
    CategoryTree(Database& db, const QString& tree);

    QString tree() const { return m_tree; }
    // Trimmed codes in code order.
    QStringList codes() const;
    QVector<CategoryNode> nodes() const;
    bool exists(const QString& code) const;
    // True when any stored code lies below code.
    bool hasChildren(const QString& code) const;

    // parent "" proposes a top category.
    QString proposeChild(const QString& parent) const { return ProposeChildCode(codes(), parent.trimmed()); }
    QString proposeSibling(const QString& code) const { return ProposeSiblingCode(codes(), code.trimmed()); }
    CodeProblem checkNew(const QString& code) const { return CheckNewCode(codes(), code.trimmed()); }

    // Stores a node after checkNew() passed; code and name are trimmed.
    void add(const QString& code, const QString& name);
    // Renames a node; false when no node has that code. Records filed under it keep their name.
    bool rename(const QString& code, const QString& name);
    // Deletes a node that has no children; false when it has some or does not exist.
    bool remove(const QString& code);

    // Nodes of any table with code and name columns (the permission catalogue), in code order.
    static QVector<CategoryNode> tableNodes(Database& db, const QString& table);

private:
    Database& m_db;
    QString m_tree;
};
