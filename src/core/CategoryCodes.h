#pragma once

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

// Category codes: two digits per level, so a node's parent is its code without the last two
// digits (01 西药, 0101 抗感染药, 010203 ...). The trees "Medicine", "Supply", "Custom",
// "Employee" and "Zone" live in tType; the permission catalogue tAuthority follows the same rule.

// Fifteen levels of two digits each.
extern const QString LevelPattern;

// The 1-based level at which the running sum of the pattern's digits equals the code's length;
// -1 when no prefix of the pattern sums to it, or when pattern or code is empty.
int CodeLevel(const QString& pattern, const QString& code);

// The code without its last level ("" for a top category).
QString ParentCode(const QString& code);

// The caption of a tree's root ("Medicine" -> 药品分类 ...); empty for an unknown tree.
QString TreeRootCaption(const QString& tree);

// Code proposals for a new node, from every code of the tree. A new child of parent ("" for a top
// category) gets the number after the highest child, 01 for the first; a sibling is a child of
// the node's parent. When the highest child is already 99 the lowest free number is proposed;
// when all 99 are taken the proposal is empty (the level is full).
QString ProposeChildCode(const QStringList& codes, const QString& parent);
QString ProposeSiblingCode(const QStringList& codes, const QString& code);

// The checks of a new code, in this order: digits only (a blank code passes), a whole number of
// levels, not already in the tree, its parent in the tree (top categories have none).
enum class CodeProblem { None, NotNumeric, BadLength, Duplicate, NoParent };
CodeProblem CheckNewCode(const QStringList& codes, const QString& code);
QString CodeProblemText(CodeProblem problem);

// A node of a drawn tree. parent indexes the list (-1: under the root); depth 1 hangs under the
// root. Rows whose parent code is missing hang under their nearest stored ancestor, or under
// the root when there is none, so no row is ever left out of the tree.
struct CategoryNode {
    QString code;
    QString name;
    int parent = -1;
    int depth = 1;
};
// rows are (code, name) pairs in code order; codes and names are trimmed, rows without a code
// are left out (nothing could address them).
QVector<CategoryNode> BuildCategoryNodes(const QVector<QPair<QString, QString>>& rows);

// A condition for a statement's where clause, starting with " AND ", with its bound values.
struct SqlCondition {
    QString sql;
    QVariantList values;
    bool isEmpty() const { return sql.isEmpty(); }
};
// The category filter of the lists on TypeCode: the category with all it holds below it
// (withDescendants, the list windows), or that category only (the partner picker). An empty
// code gives no condition. The code is matched literally: % and _ in it are no wildcards.
SqlCondition CategoryFilter(const QString& code, bool withDescendants,
                            const QString& column = QStringLiteral("TypeCode"));

// text escaped for LIKE ... ESCAPE '\'.
QString EscapeLike(const QString& text);
