#include "core/CategoryCodes.h"

#include "core/DbError.h"
#include "core/Routines.h"

#include <QHash>
#include <QObject>
#include <QSet>

const QString LevelPattern = QStringLiteral("222222222222222");

namespace {

constexpr int MaxGroup = 99;

bool allDigits(const QString& s) {
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

int CodeLevel(const QString& pattern, const QString& code) {
    if (pattern.isEmpty() || code.isEmpty())
        return -1;
    int sum = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        const int digit = pattern[i].digitValue();
        if (digit < 0)
            return -1;
        sum += digit;
        if (sum == code.size())
            return i + 1;
        if (sum > code.size())
            return -1;
    }
    return -1;
}

QString ParentCode(const QString& code) {
    return code.size() <= 2 ? QString() : code.left(code.size() - 2);
}

QString TreeRootCaption(const QString& tree) {
    static const QHash<QString, const char*> captions = {
        {QStringLiteral("medicine"), QT_TRANSLATE_NOOP("QObject", "药品分类")},
        {QStringLiteral("supply"), QT_TRANSLATE_NOOP("QObject", "供应商分类")},
        {QStringLiteral("custom"), QT_TRANSLATE_NOOP("QObject", "客户分类")},
        {QStringLiteral("employee"), QT_TRANSLATE_NOOP("QObject", "员工分类")},
        {QStringLiteral("zone"), QT_TRANSLATE_NOOP("QObject", "地区分类")},
    };
    const char* c = captions.value(tree.toLower(), nullptr);
    return c ? QObject::tr(c) : QString();
}

QString ProposeChildCode(const QStringList& codes, const QString& parent) {
    if (codes.isEmpty())
        return QStringLiteral("01");
    const int length = parent.size() + 2;
    QSet<int> used;
    int highest = 0;
    for (const QString& c : codes) {
        if (c.size() != length || !c.startsWith(parent, Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int group = c.right(2).toInt(&ok);
        if (!ok || !allDigits(c.right(2)))
            continue;
        used.insert(group);
        highest = qMax(highest, group);
    }
    auto code = [&](int group) { return parent + QStringLiteral("%1").arg(group, 2, 10, QLatin1Char('0')); };
    if (highest < MaxGroup)
        return code(highest + 1);
    // The numbers after the highest are used up: take a gap left by a deleted node.
    for (int g = 1; g < MaxGroup; ++g)
        if (!used.contains(g))
            return code(g);
    return QString();
}

QString ProposeSiblingCode(const QStringList& codes, const QString& code) {
    return ProposeChildCode(codes, ParentCode(code));
}

CodeProblem CheckNewCode(const QStringList& codes, const QString& code) {
    if (!allDigits(code))
        return CodeProblem::NotNumeric;
    if (CodeLevel(LevelPattern, code) < 0)
        return CodeProblem::BadLength;
    if (codes.contains(code, Qt::CaseInsensitive))
        return CodeProblem::Duplicate;
    if (code.size() > 2 && !codes.contains(ParentCode(code), Qt::CaseInsensitive))
        return CodeProblem::NoParent;
    return CodeProblem::None;
}

QString CodeProblemText(CodeProblem problem) {
    switch (problem) {
    case CodeProblem::NotNumeric:
        return QObject::tr("编码必须是数字!");
    case CodeProblem::BadLength:
        return QObject::tr("编码规则出错!");
    case CodeProblem::Duplicate:
        return QObject::tr("编码重复!,不能保存!");
    case CodeProblem::NoParent:
        return QObject::tr("编码错误,父节点不存在!");
    case CodeProblem::None:
        break;
    }
    return QString();
}

QVector<CategoryNode> BuildCategoryNodes(const QVector<QPair<QString, QString>>& rows) {
    QVector<CategoryNode> nodes;
    QHash<QString, int> byCode;
    for (const auto& row : rows) {
        CategoryNode n;
        n.code = row.first.trimmed();
        n.name = row.second.trimmed();
        if (n.code.isEmpty())
            continue;
        // The nearest stored ancestor: the longest shorter prefix of a whole number of levels.
        for (int len = (n.code.size() - 1) & ~1; len >= 2; len -= 2) {
            const int p = byCode.value(n.code.left(len).toLower(), -1);
            if (p >= 0) {
                n.parent = p;
                n.depth = nodes[p].depth + 1;
                break;
            }
        }
        if (!byCode.contains(n.code.toLower()))
            byCode.insert(n.code.toLower(), int(nodes.size()));
        nodes.push_back(n);
    }
    return nodes;
}

QString EscapeLike(const QString& text) {
    QString r;
    r.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            r += QLatin1Char('\\');
        r += c;
    }
    return r;
}

SqlCondition CategoryFilter(const QString& code, bool withDescendants, const QString& column) {
    if (!IsIdentifier(column))
        throw DbError(QObject::tr("无效的表名或列名"));
    SqlCondition c;
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty())
        return c;
    if (withDescendants) {
        c.sql = QStringLiteral(" AND \"%1\" LIKE ? ESCAPE '\\'").arg(column);
        c.values << EscapeLike(trimmed) + QLatin1Char('%');
    } else {
        c.sql = QStringLiteral(" AND \"%1\" = ?").arg(column);
        c.values << trimmed;
    }
    return c;
}
