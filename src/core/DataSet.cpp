#include "core/DataSet.h"

#include "core/ColumnKinds.h"
#include "core/Database.h"
#include "core/DbError.h"

#include <QRegularExpression>
#include <QSqlDriver>

#include <algorithm>
#include <cmath>

#include <sqlite3.h>

namespace {

sqlite3* nativeHandle(Database* db) {
    QVariant v = db->handle().driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3**>(v.data());
    return nullptr;
}

void bindValue(sqlite3_stmt* st, int i, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int64(st, i, v.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(st, i, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(st, i, v.toDouble());
        break;
    default: {
        const QString s = v.toString();
        sqlite3_bind_text16(st, i, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
    }
    }
}

DataSet::Kind kindFor(const QString& name, const char* decl) {
    if (ColumnKinds::isCurrency(name))
        return DataSet::Kind::Currency;
    if (ColumnKinds::isBool(name))
        return DataSet::Kind::Bool;
    if (!decl)
        return DataSet::Kind::Variant;
    const QByteArray d = QByteArray(decl).toUpper();
    if (d.contains("INT"))
        return DataSet::Kind::Integer;
    if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB"))
        return DataSet::Kind::Real;
    if (d.contains("TEXT") || d.contains("CHAR"))
        return DataSet::Kind::Text;
    return DataSet::Kind::Variant;
}

// A plain "select ... from <table>" names the table its rows can be written back to.
QString tableOf(const QString& sql) {
    static const QRegularExpression re(QStringLiteral("^\\s*select\\s+.*?\\s+from\\s+\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?"
                                                      "(\\s+(where|order|limit)\\b.*)?\\s*;?\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return QString();
    const QString t = m.captured(1);
    if (t.startsWith(QLatin1Char('v'), Qt::CaseInsensitive) && t.size() > 1 && t[1].isUpper())
        return QString(); // views are read-only
    return t;
}

} // namespace

DataSet::DataSet(Database* db) : m_db(db) {}

DataSet::~DataSet() = default;

Database* DataSet::database() const { return m_db ? m_db : Database::current(); }

void DataSet::resetColumns(const QStringList& names, const QVector<Kind>& kinds) {
    m_cols.clear();
    m_index.clear();
    m_cols.resize(size_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        m_cols[size_t(i)].name = names[i];
        m_cols[size_t(i)].kind = kinds[i];
        const QString key = names[i].toLower();
        if (!m_index.contains(key))
            m_index.insert(key, i);
    }
    m_order.clear();
    m_status.clear();
    m_dirty.clear();
    m_storageRows = 0;
    m_selected.clear();
}

void DataSet::open(const QString& sql, const QVariantList& values) {
    Database* db = database();
    if (!db || !db->isOpen())
        throw DbError(QObject::tr("数据库未连接"));
    sqlite3* h = nativeHandle(db);
    if (!h)
        throw DbError(QObject::tr("数据库驱动不可用"));
    close();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare16_v2(h, sql.utf16(), int(sql.size() * 2), &st, nullptr) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(h));
        sqlite3_finalize(st);
        throw DbError(msg + QStringLiteral("\n") + sql);
    }
    for (int i = 0; i < values.size(); ++i)
        bindValue(st, i + 1, values[i]);
    const int n = sqlite3_column_count(st);
    QStringList names;
    QVector<Kind> kinds;
    for (int i = 0; i < n; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(st, i));
        names << name;
        kinds << kindFor(name, sqlite3_column_decltype(st, i));
    }
    resetColumns(names, kinds);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int c = 0; c < n; ++c) {
            Column& col = m_cols[size_t(c)];
            const int type = sqlite3_column_type(st, c);
            switch (col.kind) {
            case Kind::Integer:
            case Kind::Bool:
            case Kind::Currency:
                if (type == SQLITE_NULL)
                    col.ints.push_back(NullInt);
                else if (type == SQLITE_INTEGER)
                    col.ints.push_back(col.kind == Kind::Bool ? (sqlite3_column_int64(st, c) != 0)
                                                              : sqlite3_column_int64(st, c));
                else if (col.kind == Kind::Currency)
                    col.ints.push_back(qint64(std::nearbyint(sqlite3_column_double(st, c))));
                else
                    col.ints.push_back(qint64(sqlite3_column_double(st, c)));
                break;
            case Kind::Real:
                col.reals.push_back(type == SQLITE_NULL ? std::nan("") : sqlite3_column_double(st, c));
                break;
            case Kind::Text:
                if (type == SQLITE_NULL) {
                    col.start.push_back(0);
                    col.len.push_back(NullLen);
                } else {
                    const auto* p = static_cast<const char16_t*>(sqlite3_column_text16(st, c));
                    const int bytes = sqlite3_column_bytes16(st, c);
                    col.start.push_back(uint32_t(col.pool.size()));
                    col.len.push_back(uint32_t(bytes / 2));
                    col.pool.insert(col.pool.end(), p, p + bytes / 2);
                }
                break;
            case Kind::Variant:
                switch (type) {
                case SQLITE_INTEGER:
                    col.vars.emplace_back(qlonglong(sqlite3_column_int64(st, c)));
                    break;
                case SQLITE_FLOAT:
                    col.vars.emplace_back(sqlite3_column_double(st, c));
                    break;
                case SQLITE_NULL:
                    col.vars.emplace_back();
                    break;
                default: {
                    const auto* p = static_cast<const QChar*>(sqlite3_column_text16(st, c));
                    col.vars.emplace_back(QString(p, sqlite3_column_bytes16(st, c) / 2));
                }
                }
                break;
            }
        }
        ++m_storageRows;
    }
    if (rc != SQLITE_DONE) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(h));
        sqlite3_finalize(st);
        resetColumns({}, {});
        throw DbError(msg);
    }
    sqlite3_finalize(st);
    m_order.resize(size_t(m_storageRows));
    for (int i = 0; i < m_storageRows; ++i)
        m_order[size_t(i)] = i;
    m_status.assign(size_t(m_storageRows), Unchanged);
    m_sql = sql;
    m_values = values;
    if (!m_tableExplicit)
        m_table = tableOf(sql);
    m_open = true;
    m_state = State::Browse;
    const QString sortText = m_sortText;
    m_sortText.clear();
    if (!sortText.isEmpty())
        setSort(sortText);
    m_cur = -1;
    moveTo(0);
    notify(Change::Reset, -1);
}

void DataSet::openStatic(const QStringList& fields, const QVector<Kind>& kinds) {
    close();
    resetColumns(fields, kinds);
    m_sql.clear();
    m_open = true;
    m_state = State::Browse;
    moveTo(0);
    notify(Change::Reset, -1);
}

void DataSet::refresh() {
    if (!m_sql.isEmpty())
        open(m_sql, m_values);
}

void DataSet::close() {
    const bool wasOpen = m_open;
    m_open = false;
    m_state = State::Inactive;
    resetColumns({}, {});
    m_cur = -1;
    m_eof = m_bof = true;
    m_backup.clear();
    if (wasOpen)
        notify(Change::Reset, -1);
}

int DataSet::fieldIndex(const QString& name) const { return m_index.value(name.toLower(), -1); }

QStringList DataSet::fieldNames() const {
    QStringList l;
    for (const Column& c : m_cols)
        l << c.name;
    return l;
}

int DataSet::storageRow() const { return m_cur >= 0 && m_cur < recordCount() ? m_order[size_t(m_cur)] : -1; }

void DataSet::moveTo(int row) {
    const int n = recordCount();
    m_bof = row < 0 || n == 0;
    m_eof = row >= n || n == 0;
    m_cur = n == 0 ? -1 : std::clamp(row, 0, n - 1);
    notify(Change::Current, m_cur);
}

void DataSet::setRecNo(int row) {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    moveTo(row);
}

void DataSet::next() {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    if (m_cur + 1 >= recordCount()) {
        m_eof = true;
        return;
    }
    moveTo(m_cur + 1);
}

void DataSet::prior() {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    if (m_cur <= 0) {
        m_bof = true;
        return;
    }
    moveTo(m_cur - 1);
}

QVariant DataSet::cell(int s, int f) const {
    const Column& c = m_cols[size_t(f)];
    switch (c.kind) {
    case Kind::Integer:
        return c.ints[size_t(s)] == NullInt ? QVariant() : QVariant(qlonglong(c.ints[size_t(s)]));
    case Kind::Bool:
        return c.ints[size_t(s)] == NullInt ? QVariant() : QVariant(c.ints[size_t(s)] != 0);
    case Kind::Currency:
        return c.ints[size_t(s)] == NullInt ? QVariant() : QVariant::fromValue(Currency::fromRaw(c.ints[size_t(s)]).toDouble());
    case Kind::Real:
        return std::isnan(c.reals[size_t(s)]) ? QVariant() : QVariant(c.reals[size_t(s)]);
    case Kind::Text:
        if (c.len[size_t(s)] == NullLen)
            return QVariant();
        return QString(reinterpret_cast<const QChar*>(c.pool.data() + c.start[size_t(s)]), int(c.len[size_t(s)]));
    case Kind::Variant:
        return c.vars[size_t(s)];
    }
    return QVariant();
}

bool DataSet::isNull(int row, int field) const {
    if (row < 0 || row >= recordCount() || field < 0 || field >= fieldCount())
        return true;
    return cell(m_order[size_t(row)], field).isNull();
}

QVariant DataSet::value(int row, int field) const {
    if (row < 0 || row >= recordCount() || field < 0 || field >= fieldCount())
        return QVariant();
    return cell(m_order[size_t(row)], field);
}

QVariant DataSet::value(const QString& field) const { return value(m_cur, fieldIndex(field)); }

QString DataSet::text(int row, int field) const {
    if (row < 0 || row >= recordCount() || field < 0 || field >= fieldCount())
        return QString();
    const int s = m_order[size_t(row)];
    const Column& c = m_cols[size_t(field)];
    if (c.kind == Kind::Currency)
        return c.ints[size_t(s)] == NullInt ? QString() : Currency::fromRaw(c.ints[size_t(s)]).toPlainString();
    if (c.kind == Kind::Real) {
        const double d = c.reals[size_t(s)];
        return std::isnan(d) ? QString() : QString::number(d, 'g', 15);
    }
    return cell(s, field).toString();
}

QString DataSet::text(const QString& field) const { return text(m_cur, fieldIndex(field)); }

double DataSet::toDouble(const QString& field) const { return value(field).toDouble(); }

qint64 DataSet::toInt(const QString& field) const { return value(field).toLongLong(); }

Currency DataSet::currency(const QString& field) const {
    const int f = fieldIndex(field);
    const int s = storageRow();
    if (f < 0 || s < 0)
        return Currency();
    const Column& c = m_cols[size_t(f)];
    if (c.kind == Kind::Currency)
        return c.ints[size_t(s)] == NullInt ? Currency() : Currency::fromRaw(c.ints[size_t(s)]);
    return Currency::fromVariant(cell(s, f));
}

bool DataSet::toBool(const QString& field) const { return value(field).toBool(); }

void DataSet::setCell(int s, int f, const QVariant& v) {
    Column& c = m_cols[size_t(f)];
    const bool null = !v.isValid() || v.isNull() ||
                      (c.kind != Kind::Text && c.kind != Kind::Variant && v.typeId() == QMetaType::QString &&
                       v.toString().trimmed().isEmpty());
    switch (c.kind) {
    case Kind::Integer:
    case Kind::Bool: {
        if (null) {
            c.ints[size_t(s)] = NullInt;
            break;
        }
        bool ok = true;
        qint64 x;
        if (v.typeId() == QMetaType::QString) {
            const QString t = v.toString().trimmed();
            if (c.kind == Kind::Bool && (t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0))
                x = 1;
            else if (c.kind == Kind::Bool && (t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0))
                x = 0;
            else
                x = t.toLongLong(&ok);
        } else if (v.typeId() == QMetaType::Double) {
            const double d = v.toDouble();
            ok = std::isfinite(d) && d == std::floor(d);
            x = qint64(d);
        } else {
            x = v.toLongLong(&ok);
        }
        if (!ok)
            throw DbError(QObject::tr("“%1”不是有效的整数（字段 %2）").arg(v.toString(), c.name));
        c.ints[size_t(s)] = c.kind == Kind::Bool ? (x != 0) : x;
        break;
    }
    case Kind::Currency: {
        if (null) {
            c.ints[size_t(s)] = NullInt;
            break;
        }
        Currency cur;
        if (v.typeId() == QMetaType::QString) {
            if (!Currency::parse(v.toString(), &cur))
                throw DbError(QObject::tr("“%1”不是有效的金额（字段 %2）").arg(v.toString(), c.name));
        } else {
            cur = Currency::fromVariant(v);
        }
        c.ints[size_t(s)] = cur.raw();
        break;
    }
    case Kind::Real: {
        if (null) {
            c.reals[size_t(s)] = std::nan("");
            break;
        }
        bool ok = true;
        const double d = v.typeId() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw DbError(QObject::tr("“%1”不是有效的数值（字段 %2）").arg(v.toString(), c.name));
        c.reals[size_t(s)] = d;
        break;
    }
    case Kind::Text: {
        if (!v.isValid() || v.isNull()) {
            c.len[size_t(s)] = NullLen;
            break;
        }
        const QString t = v.toString();
        c.start[size_t(s)] = uint32_t(c.pool.size());
        c.len[size_t(s)] = uint32_t(t.size());
        const auto* p = reinterpret_cast<const char16_t*>(t.utf16());
        c.pool.insert(c.pool.end(), p, p + t.size());
        break;
    }
    case Kind::Variant:
        c.vars[size_t(s)] = v;
        break;
    }
}

void DataSet::appendStorageRow() {
    for (Column& c : m_cols) {
        switch (c.kind) {
        case Kind::Integer:
        case Kind::Bool:
        case Kind::Currency:
            c.ints.push_back(NullInt);
            break;
        case Kind::Real:
            c.reals.push_back(std::nan(""));
            break;
        case Kind::Text:
            c.start.push_back(0);
            c.len.push_back(NullLen);
            break;
        case Kind::Variant:
            c.vars.emplace_back();
            break;
        }
    }
    m_status.push_back(Inserted);
    ++m_storageRows;
}

void DataSet::edit() {
    if (!m_open)
        throw DbError(QObject::tr("数据集未打开"));
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    const int s = storageRow();
    if (s < 0)
        throw DbError(QObject::tr("没有可编辑的记录"));
    m_backup.resize(fieldCount());
    for (int f = 0; f < fieldCount(); ++f)
        m_backup[f] = cell(s, f);
    m_backupDirty = m_dirty.value(s);
    m_backupStatus = m_status[size_t(s)];
    m_state = State::Edit;
}

void DataSet::append() {
    if (!m_open)
        throw DbError(QObject::tr("数据集未打开"));
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    appendStorageRow();
    m_order.push_back(m_storageRows - 1);
    m_state = State::Insert;
    const int row = recordCount() - 1;
    notify(Change::RowInserted, row);
    moveTo(row);
}

void DataSet::setValue(const QString& field, const QVariant& value) {
    const int f = fieldIndex(field);
    if (f < 0)
        throw DbError(QObject::tr("字段不存在：%1").arg(field));
    setValue(f, value);
}

void DataSet::setValue(int f, const QVariant& value) {
    if (f < 0 || f >= fieldCount())
        throw DbError(QObject::tr("字段不存在"));
    if (m_state == State::Browse)
        edit();
    const int s = storageRow();
    if (s < 0)
        throw DbError(QObject::tr("没有可编辑的记录"));
    setCell(s, f, value);
    QBitArray& d = m_dirty[s];
    if (d.size() < fieldCount())
        d.resize(fieldCount());
    d.setBit(f);
    if (m_hook && !m_inHook) {
        m_inHook = true;
        try {
            m_hook(*this, f);
        } catch (...) {
            m_inHook = false;
            throw;
        }
        m_inHook = false;
    }
    notify(Change::RowChanged, m_cur);
}

QStringList DataSet::tableColumns() {
    if (m_table.isEmpty())
        throw DbError(QObject::tr("该数据集不能保存"));
    const QStringList cols = database()->columns(m_table);
    if (cols.isEmpty())
        throw DbError(QObject::tr("数据表不存在：%1").arg(m_table));
    return cols;
}

void DataSet::writeRow(int s, RowStatus status, qint64* newKey) {
    Database* db = database();
    const int key = fieldIndex(m_key);
    const QStringList cols = tableColumns();
    auto inTable = [&](const QString& name) {
        for (const QString& c : cols)
            if (c.compare(name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    auto dbValue = [&](int f) -> QVariant {
        const Column& c = m_cols[size_t(f)];
        if (c.kind == Kind::Currency || c.kind == Kind::Bool || c.kind == Kind::Integer)
            return c.ints[size_t(s)] == NullInt ? QVariant() : QVariant(qlonglong(c.ints[size_t(s)]));
        return cell(s, f);
    };
    const QString table = QLatin1Char('"') + m_table + QLatin1Char('"');
    if (status == Deleted) {
        if (key < 0 || cell(s, key).isNull())
            return;
        db->run(QStringLiteral("DELETE FROM %1 WHERE \"%2\" = ?").arg(table, m_key), {cell(s, key)});
        return;
    }
    if (status == Inserted) {
        QStringList names, marks;
        QVariantList values;
        for (int f = 0; f < fieldCount(); ++f) {
            if (f == key || !inTable(m_cols[size_t(f)].name))
                continue;
            const QVariant v = dbValue(f);
            if (v.isNull())
                continue; // column defaults apply
            names << QLatin1Char('"') + m_cols[size_t(f)].name + QLatin1Char('"');
            marks << QStringLiteral("?");
            values << v;
        }
        if (names.isEmpty())
            db->run(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table));
        else
            db->run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                    values);
        *newKey = db->lastInsertId();
        return;
    }
    // Modified: only the fields that changed.
    if (key < 0 || cell(s, key).isNull())
        throw DbError(QObject::tr("记录没有主键，不能保存"));
    const QBitArray d = m_dirty.value(s);
    QStringList sets;
    QVariantList values;
    for (int f = 0; f < fieldCount(); ++f) {
        if (f == key || f >= d.size() || !d.testBit(f) || !inTable(m_cols[size_t(f)].name))
            continue;
        sets << QLatin1Char('"') + m_cols[size_t(f)].name + QStringLiteral("\" = ?");
        values << dbValue(f);
    }
    if (sets.isEmpty())
        return;
    values << cell(s, key);
    db->run(QStringLiteral("UPDATE %1 SET %2 WHERE \"%3\" = ?").arg(table, sets.join(QLatin1Char(',')), m_key), values);
}

void DataSet::post() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    const int s = storageRow();
    const bool inserting = m_state == State::Insert;
    if (!m_batch && !m_table.isEmpty()) {
        qint64 key = 0;
        writeRow(s, inserting ? Inserted : Modified, &key);
        const int k = fieldIndex(m_key);
        if (inserting && k >= 0)
            setCell(s, k, qlonglong(key));
        m_status[size_t(s)] = Unchanged;
        m_dirty.remove(s);
    } else if (!inserting && m_status[size_t(s)] == Unchanged && m_dirty.contains(s)) {
        m_status[size_t(s)] = Modified;
    }
    m_state = State::Browse;
    m_backup.clear();
    notify(Change::RowChanged, m_cur);
}

void DataSet::cancel() {
    if (m_state == State::Insert) {
        const int s = storageRow();
        const int row = m_cur;
        m_dirty.remove(s);
        m_order.erase(m_order.begin() + row);
        m_state = State::Browse;
        notify(Change::RowRemoved, row);
        m_status[size_t(s)] = Dead; // never written
        moveTo(std::min(row, recordCount() - 1));
        return;
    }
    if (m_state == State::Edit) {
        const int s = storageRow();
        for (int f = 0; f < m_backup.size(); ++f)
            setCell(s, f, m_backup[f]);
        if (m_backupDirty.isEmpty())
            m_dirty.remove(s);
        else
            m_dirty[s] = m_backupDirty;
        m_status[size_t(s)] = m_backupStatus;
        m_state = State::Browse;
        m_backup.clear();
        notify(Change::RowChanged, m_cur);
    }
}

void DataSet::remove() {
    if (!m_open || m_cur < 0 || m_cur >= recordCount())
        return;
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    const int s = storageRow();
    const int row = m_cur;
    if (!m_batch && !m_table.isEmpty()) {
        writeRow(s, Deleted, nullptr);
        m_status[size_t(s)] = Dead;
    } else {
        m_status[size_t(s)] = m_status[size_t(s)] == Inserted ? Dead : Deleted;
    }
    m_order.erase(m_order.begin() + row);
    m_selected.removeAll(s);
    notify(Change::RowRemoved, row);
    moveTo(std::min(row, recordCount() - 1));
}

void DataSet::setUpdateTable(const QString& table, const QString& key) {
    m_table = table;
    m_key = key;
    m_tableExplicit = !table.isEmpty();
}

bool DataSet::hasPendingUpdates() const {
    if (m_state == State::Edit || m_state == State::Insert)
        return true;
    for (uint8_t st : m_status)
        if (st == Modified || st == Inserted || st == Deleted)
            return true;
    return false;
}

void DataSet::applyUpdates() {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    QVector<QPair<int, qint64>> keys;
    for (int s = 0; s < m_storageRows; ++s) {
        const uint8_t st = m_status[size_t(s)];
        if (st != Modified && st != Inserted && st != Deleted)
            continue;
        qint64 key = 0;
        writeRow(s, RowStatus(st), &key);
        if (st == Inserted)
            keys.push_back({s, key});
    }
    // Everything was written: the rows now stand as stored.
    const int k = fieldIndex(m_key);
    for (const auto& p : keys)
        if (k >= 0)
            setCell(p.first, k, qlonglong(p.second));
    for (int s = 0; s < m_storageRows; ++s) {
        uint8_t& st = m_status[size_t(s)];
        if (st == Deleted)
            st = Dead;
        else if (st == Modified || st == Inserted)
            st = Unchanged;
    }
    m_dirty.clear();
    if (!keys.isEmpty())
        notify(Change::Reset, -1);
}

void DataSet::cancelUpdates() {
    if (m_state != State::Browse)
        cancel();
    if (!m_sql.isEmpty())
        refresh();
}

void DataSet::setSort(const QString& sortText) {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    struct Key {
        int field;
        bool desc;
    };
    QVector<Key> keys;
    const QStringList parts = sortText.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& p : parts) {
        QStringList words = p.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        bool desc = false;
        if (words.size() > 1 && words.last().compare(QStringLiteral("DESC"), Qt::CaseInsensitive) == 0)
            desc = true;
        const int f = fieldIndex(words.first());
        if (f >= 0)
            keys.push_back({f, desc});
    }
    m_sortText = sortText.trimmed().isEmpty() ? QString() : sortText;
    const int curStorage = storageRow();
    if (keys.isEmpty()) {
        std::sort(m_order.begin(), m_order.end());
    } else {
        // Text keys are case-folded once, not on every comparison.
        std::vector<std::vector<QString>> folded(m_cols.size());
        for (const Key& k : keys) {
            const Column& c = m_cols[size_t(k.field)];
            if (c.kind != Kind::Text || !folded[size_t(k.field)].empty())
                continue;
            std::vector<QString>& f = folded[size_t(k.field)];
            f.resize(size_t(m_storageRows));
            for (int row : m_order)
                if (c.len[size_t(row)] != NullLen)
                    f[size_t(row)] = QStringView(reinterpret_cast<const QChar*>(c.pool.data() + c.start[size_t(row)]),
                                                 qsizetype(c.len[size_t(row)]))
                                         .toString()
                                         .toCaseFolded();
        }
        auto cmp = [&](int a, int b) {
            for (const Key& k : keys) {
                const Column& c = m_cols[size_t(k.field)];
                int r = 0;
                switch (c.kind) {
                case Kind::Integer:
                case Kind::Bool:
                case Kind::Currency:
                    r = c.ints[size_t(a)] < c.ints[size_t(b)] ? -1 : (c.ints[size_t(a)] > c.ints[size_t(b)] ? 1 : 0);
                    break;
                case Kind::Real: {
                    const double x = c.reals[size_t(a)], y = c.reals[size_t(b)];
                    const bool nx = std::isnan(x), ny = std::isnan(y);
                    r = nx || ny ? (nx == ny ? 0 : (nx ? -1 : 1)) : (x < y ? -1 : (x > y ? 1 : 0));
                    break;
                }
                case Kind::Text: {
                    const bool nx = c.len[size_t(a)] == NullLen, ny = c.len[size_t(b)] == NullLen;
                    if (nx || ny) {
                        r = nx == ny ? 0 : (nx ? -1 : 1);
                    } else {
                        const std::vector<QString>& f = folded[size_t(k.field)];
                        r = f[size_t(a)].compare(f[size_t(b)]);
                    }
                    break;
                }
                case Kind::Variant: {
                    const QVariant x = c.vars[size_t(a)], y = c.vars[size_t(b)];
                    const auto o = QVariant::compare(x, y);
                    r = o == QPartialOrdering::Less ? -1 : (o == QPartialOrdering::Greater ? 1 : 0);
                    break;
                }
                }
                if (r != 0)
                    return k.desc ? r > 0 : r < 0;
            }
            return a < b;
        };
        std::sort(m_order.begin(), m_order.end(), cmp);
    }
    notify(Change::Reset, -1);
    if (curStorage >= 0)
        moveTo(rowOfBookmark(curStorage));
}

DataSet::Bookmark DataSet::bookmark() const { return storageRow(); }

int DataSet::rowOfBookmark(Bookmark b) const {
    for (size_t i = 0; i < m_order.size(); ++i)
        if (m_order[i] == b)
            return int(i);
    return -1;
}

bool DataSet::gotoBookmark(Bookmark b) {
    const int row = rowOfBookmark(b);
    if (row < 0)
        return false;
    setRecNo(row);
    return true;
}

int DataSet::addListener(Listener l) {
    const int token = m_nextListener++;
    m_listeners.insert(token, std::move(l));
    return token;
}

void DataSet::removeListener(int token) { m_listeners.remove(token); }

void DataSet::notify(Change c, int row) {
    if (m_listeners.isEmpty())
        return;
    const auto listeners = m_listeners;
    for (const auto& l : listeners)
        l(c, row);
}

QVariant DataSet::sum(int field) const {
    if (field < 0 || field >= fieldCount())
        return QVariant();
    const Column& c = m_cols[size_t(field)];
    if (c.kind == Kind::Currency) {
        qint64 t = 0;
        for (int s : m_order)
            if (c.ints[size_t(s)] != NullInt)
                t += c.ints[size_t(s)];
        return Currency::fromRaw(t).toDouble();
    }
    double t = 0;
    for (int row = 0; row < recordCount(); ++row)
        t += value(row, field).toDouble();
    return t;
}
