#pragma once

#include "core/Currency.h"

#include <QBitArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

class Database;

// An in-memory result of one statement (a static cursor): fields by name without regard to
// case, a current row, append/edit/post/cancel/delete, client-side sorting, bookmarks of
// selected rows. In batch mode the changes stay in memory until applyUpdates() writes them to
// the update table inside the caller's transaction. Values are held column by column (numbers
// in flat arrays, texts in one UTF-16 pool per column) so large lists stay compact.
class DataSet {
public:
    enum class Kind : uint8_t { Text, Integer, Real, Currency, Bool, Variant };
    enum class State { Inactive, Browse, Edit, Insert };
    enum class Change { Reset, RowChanged, RowInserted, RowRemoved, Current };
    using Bookmark = int;
    using FieldHook = std::function<void(DataSet&, int field)>;
    using Listener = std::function<void(Change, int row)>;

    explicit DataSet(Database* db = nullptr);
    ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    void setDatabase(Database* db) { m_db = db; }
    Database* database() const;

    // Runs the statement with bound values and holds its whole result; throws DbError.
    // The update table is taken from a plain "select ... from <table>" unless set explicitly.
    void open(const QString& sql, const QVariantList& values = {});
    // An empty in-memory dataset with the given fields (no statement behind it).
    void openStatic(const QStringList& fields, const QVector<Kind>& kinds);
    // Runs the last statement again with the same values.
    void refresh();
    void close();
    bool isOpen() const { return m_open; }
    bool isEmpty() const { return m_order.empty(); }
    int recordCount() const { return int(m_order.size()); }
    QString sql() const { return m_sql; }

    int fieldCount() const { return int(m_cols.size()); }
    QString fieldName(int field) const { return m_cols[size_t(field)].name; }
    Kind fieldKind(int field) const { return m_cols[size_t(field)].kind; }
    int fieldIndex(const QString& name) const; // -1 when absent
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    QStringList fieldNames() const;

    // Cursor. Moving posts a pending edit first.
    int recNo() const { return m_cur; }
    void setRecNo(int row);
    void first() { setRecNo(0); }
    void last() { setRecNo(recordCount() - 1); }
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }

    // Values of the current row (an invalid QVariant for a missing field or no row).
    QVariant value(const QString& field) const;
    QVariant value(int row, int field) const;
    QString text(const QString& field) const;
    QString text(int row, int field) const;
    double toDouble(const QString& field) const;
    qint64 toInt(const QString& field) const;
    Currency currency(const QString& field) const;
    bool toBool(const QString& field) const;
    bool isNull(int row, int field) const;

    // Writing into the current row; a browsed row enters editing. Throws DbError when the
    // field does not exist or the value does not fit the field.
    void setValue(const QString& field, const QVariant& value);
    void setValue(int field, const QVariant& value);
    void append();
    void edit();
    void post();
    void cancel();
    void remove();
    State state() const { return m_state; }

    // Batch updates.
    void setBatchMode(bool on) { m_batch = on; }
    bool batchMode() const { return m_batch; }
    void setUpdateTable(const QString& table, const QString& key = QStringLiteral("id"));
    QString updateTable() const { return m_table; }
    // Writes inserts, edits and deletions; to be called inside the caller's transaction. On an
    // error nothing is marked as written, so the caller rolls back and may try again.
    void applyUpdates();
    void cancelUpdates();
    bool hasPendingUpdates() const;

    // Client-side sort, e.g. "MedicineName, SalePrice DESC"; empty text restores the order of
    // the result. Unknown fields are ignored.
    void setSort(const QString& sortText);
    QString sort() const { return m_sortText; }

    Bookmark bookmark() const;
    bool gotoBookmark(Bookmark b);
    int rowOfBookmark(Bookmark b) const;
    Bookmark bookmarkAt(int row) const { return m_order[size_t(row)]; }
    void setSelectedBookmarks(const QVector<Bookmark>& marks) { m_selected = marks; }
    QVector<Bookmark> selectedBookmarks() const { return m_selected; }

    void setFieldHook(FieldHook hook) { m_hook = std::move(hook); }
    int addListener(Listener l);
    void removeListener(int token);

    // Total of a numeric field over all rows (Currency fields sum exactly).
    QVariant sum(int field) const;

private:
    struct Column {
        QString name;
        Kind kind = Kind::Text;
        std::vector<qint64> ints;
        std::vector<double> reals;
        std::vector<uint32_t> start;
        std::vector<uint32_t> len;
        std::vector<char16_t> pool;
        std::vector<QVariant> vars;
    };
    // Dead rows were appended and dropped, or deleted and written; they are never written again.
    enum RowStatus : uint8_t { Unchanged, Modified, Inserted, Deleted, Dead };
    static constexpr qint64 NullInt = std::numeric_limits<qint64>::min();
    static constexpr uint32_t NullLen = std::numeric_limits<uint32_t>::max();

    QVariant cell(int storageRow, int field) const;
    void setCell(int storageRow, int field, const QVariant& value);
    void appendStorageRow();
    void resetColumns(const QStringList& names, const QVector<Kind>& kinds);
    int storageRow() const;
    void notify(Change c, int row);
    void moveTo(int row);
    void writeRow(int storageRow, RowStatus status, qint64* newKey);
    QStringList tableColumns();

    Database* m_db = nullptr;
    QString m_sql;
    QVariantList m_values;
    bool m_open = false;
    std::vector<Column> m_cols;
    QHash<QString, int> m_index;
    std::vector<int> m_order;   // visible row -> storage row
    std::vector<uint8_t> m_status;
    QHash<int, QBitArray> m_dirty; // storage row -> changed fields
    int m_storageRows = 0;
    int m_cur = -1;
    bool m_eof = true;
    bool m_bof = true;
    State m_state = State::Inactive;
    QVector<QVariant> m_backup;
    QBitArray m_backupDirty;
    uint8_t m_backupStatus = Unchanged;
    bool m_batch = false;
    QString m_table;
    QString m_key = QStringLiteral("id");
    bool m_tableExplicit = false;
    QString m_sortText;
    QVector<Bookmark> m_selected;
    FieldHook m_hook;
    bool m_inHook = false;
    QHash<int, Listener> m_listeners;
    int m_nextListener = 1;
};
