#pragma once

#include "masterdata/EditorField.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

class DataSet;
class Database;

// The texts of an editor's boxes by column, loaded from and written into the current row of a
// list dataset. The write stores every column in the editor's order, trimmed, inside one
// transaction; a text that a numeric column cannot take stops it before anything is written,
// and any failure leaves neither a row nor a change behind.
class RecordEditor {
public:
    explicit RecordEditor(const QVector<EditorField>& fields);
    virtual ~RecordEditor() = default;

    const QVector<EditorField>& fields() const { return m_fields; }
    const EditorField* field(const QString& column) const;

    void setText(const QString& column, const QString& text);
    QString text(const QString& column) const;
    // Every box to the text a new entry starts with.
    void clearToDefaults();
    // Every box from the text of its column in the list's current row.
    void loadCurrent(const DataSet& list);

    // The last input check refused the input.
    bool InputRejected = false;
    // The control the last message was about (the window moves the focus there).
    QString focusControl() const { return m_focus; }

protected:
    // Writes the columns into a new row (adding) or the current row; extra sets further fields
    // of the row before it is posted. Returns false with the reason when nothing was stored.
    bool write(DataSet& list, bool adding, const QStringList& columns, QString* reason,
               const std::function<void(DataSet&)>& extra = {});
    // True when a row of table has value in column; a row with the id except is not counted.
    static bool exists(Database& db, const QString& table, const QString& column, const QString& value,
                       const QVariant& except = QVariant());
    // A refused input: the message (warning icon), the focus, InputRejected.
    bool reject(const QString& message, const QString& column, int flags);
    QString controlOf(const QString& column) const;

    QString m_focus;
    QVariant m_id; // id of the row loadCurrent() read

private:
    QString numberProblem(const DataSet& list, const QStringList& columns) const;

    QVector<EditorField> m_fields;
    QHash<QString, QString> m_texts; // by column, lower case
};
