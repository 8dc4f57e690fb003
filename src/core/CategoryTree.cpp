#include "core/CategoryTree.h"

#include "core/Database.h"
#include "core/DbError.h"
#include "core/Routines.h"

#include <QObject>
#include <QSqlQuery>

namespace {

QVector<CategoryNode> nodesOf(QSqlQuery q) {
    QVector<QPair<QString, QString>> rows;
    while (q.next())
        rows.push_back({q.value(0).toString(), q.value(1).toString()});
    return BuildCategoryNodes(rows);
}

} // namespace

CategoryTree::CategoryTree(Database& db, const QString& tree) : m_db(db), m_tree(tree) {}

QStringList CategoryTree::codes() const {
    QSqlQuery q = m_db.exec(
        QStringLiteral("SELECT trim(code) AS c FROM tType WHERE tablename = ? ORDER BY c"), {m_tree});
    QStringList l;
    while (q.next())
        l << q.value(0).toString();
    return l;
}

QVector<CategoryNode> CategoryTree::nodes() const {
    return nodesOf(m_db.exec(
        QStringLiteral("SELECT trim(code) AS c, name FROM tType WHERE tablename = ? ORDER BY c"), {m_tree}));
}

bool CategoryTree::exists(const QString& code) const {
    return m_db
        .scalar(QStringLiteral("SELECT 1 FROM tType WHERE tablename = ? AND trim(code) = ?"),
                {m_tree, code.trimmed()})
        .isValid();
}

bool CategoryTree::hasChildren(const QString& code) const {
    const QString c = code.trimmed();
    return m_db
        .scalar(QStringLiteral("SELECT 1 FROM tType WHERE tablename = ? AND trim(code) LIKE ? ESCAPE '\\' "
                               "AND length(trim(code)) > ?"),
                {m_tree, EscapeLike(c) + QLatin1Char('%'), c.size()})
        .isValid();
}

void CategoryTree::add(const QString& code, const QString& name) {
    m_db.run(QStringLiteral("INSERT INTO tType (tablename, code, name) VALUES (?, ?, ?)"),
             {m_tree, code.trimmed(), name.trimmed()});
}

bool CategoryTree::rename(const QString& code, const QString& name) {
    return m_db.run(QStringLiteral("UPDATE tType SET name = ? WHERE tablename = ? AND trim(code) = ?"),
                    {name.trimmed(), m_tree, code.trimmed()}) > 0;
}

bool CategoryTree::remove(const QString& code) {
    if (code.trimmed().isEmpty() || hasChildren(code))
        return false;
    return m_db.run(QStringLiteral("DELETE FROM tType WHERE tablename = ? AND trim(code) = ?"),
                    {m_tree, code.trimmed()}) > 0;
}

QVector<CategoryNode> CategoryTree::tableNodes(Database& db, const QString& table) {
    if (!IsIdentifier(table) || !db.hasColumn(table, QStringLiteral("code")) ||
        !db.hasColumn(table, QStringLiteral("name")))
        throw DbError(QObject::tr("无效的表名或列名"));
    return nodesOf(db.exec(QStringLiteral("SELECT trim(code) AS c, name FROM \"%1\" ORDER BY c").arg(table)));
}
