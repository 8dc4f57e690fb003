#include "masterdata/RecordEditor.h"

#include "core/Currency.h"
#include "core/DataSet.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/Routines.h"
#include "core/Transaction.h"

#include <cmath>

RecordEditor::RecordEditor(const QVector<EditorField>& fields) : m_fields(fields) {
    clearToDefaults();
}

const EditorField* RecordEditor::field(const QString& column) const {
    for (const EditorField& f : m_fields)
        if (f.column.compare(column, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

void RecordEditor::setText(const QString& column, const QString& text) {
    m_texts.insert(column.toLower(), text);
}

QString RecordEditor::text(const QString& column) const {
    return m_texts.value(column.toLower());
}

void RecordEditor::clearToDefaults() {
    m_texts.clear();
    for (const EditorField& f : m_fields)
        setText(f.column, f.defaultText);
}

void RecordEditor::loadCurrent(const DataSet& list) {
    m_id = list.value(QStringLiteral("id"));
    for (const EditorField& f : m_fields)
        setText(f.column, list.text(f.column));
}

QString RecordEditor::controlOf(const QString& column) const {
    const EditorField* f = field(column);
    return f ? f->control : QString();
}

bool RecordEditor::reject(const QString& message, const QString& column, int flags) {
    MsgBox(message, flags, (flags & 0xF0) == Msg::IconWarning ? QObject::tr("警告") : QString());
    m_focus = controlOf(column);
    InputRejected = true;
    return false;
}

bool RecordEditor::exists(Database& db, const QString& table, const QString& column, const QString& value,
                          const QVariant& except) {
    if (!IsIdentifier(table) || !IsIdentifier(column))
        throw DbError(QObject::tr("无效的表名或列名"));
    if (except.isNull())
        return db.scalar(QStringLiteral("select 1 from %1 where %2 = ? limit 1").arg(table, column), {value})
            .isValid();
    return db
        .scalar(QStringLiteral("select 1 from %1 where %2 = ? and id <> ? limit 1").arg(table, column),
                {value, except})
        .isValid();
}

QString RecordEditor::numberProblem(const DataSet& list, const QStringList& columns) const {
    for (const QString& column : columns) {
        const int index = list.fieldIndex(column);
        if (index < 0)
            continue;
        const QString t = text(column).trimmed();
        if (t.isEmpty())
            continue;
        bool ok = true;
        switch (list.fieldKind(index)) {
        case DataSet::Kind::Real: {
            const double d = t.toDouble(&ok);
            ok = ok && std::isfinite(d);
            break;
        }
        case DataSet::Kind::Integer:
            t.toLongLong(&ok);
            break;
        case DataSet::Kind::Currency: {
            Currency c;
            ok = Currency::parse(t, &c);
            break;
        }
        default:
            break;
        }
        if (!ok) {
            const EditorField* f = field(column);
            const QString caption = f ? QString(f->caption).remove(QLatin1Char(' ')) : column;
            return QObject::tr("%1：“%2”不是有效的数字").arg(caption, t);
        }
    }
    return QString();
}

bool RecordEditor::write(DataSet& list, bool adding, const QStringList& columns, QString* reason,
                         const std::function<void(DataSet&)>& extra) {
    Database* db = list.database();
    if (!db || !list.isOpen() || (!adding && list.isEmpty())) {
        *reason = QObject::tr("没有可保存的记录");
        return false;
    }
    *reason = numberProblem(list, columns);
    if (!reason->isEmpty())
        return false;
    bool posted = false;
    try {
        Transaction t(*db);
        if (adding)
            list.append();
        else
            list.edit();
        for (const QString& column : columns)
            list.setValue(column, text(column).trimmed());
        if (extra)
            extra(list);
        list.post();
        posted = true;
        t.commit();
        return true;
    } catch (const DbError& e) {
        // The transaction is rolled back by now; the dataset lets go of what it was given.
        *reason = e.message();
        if (list.state() != DataSet::State::Browse) {
            list.cancel();
        } else if (posted && adding) {
            list.remove(); // the new row of a commit that failed
        } else if (posted) {
            list.refresh();
        }
        return false;
    }
}
