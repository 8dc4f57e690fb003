#pragma once

#include "core/Currency.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

class DataSet;
class Database;

// Decimals shown for prices, quantities and amounts (tSoftInfo), reloaded by LoadDecimals.
struct Decimals {
    int price = 2;
    int number = 2;
    int money = 2;
};
extern Decimals g_decimals;

// Opens a dataset on a statement with bound values (the previous result is discarded).
void OpenSQL(DataSet& query, const QString& sql, const QVariantList& values = {});
// Runs a statement with bound values on the program's connection; returns the rows changed.
int RunSQL(const QString& sql, const QVariantList& values = {});

// True when the value holds a number (integer or floating point), not text that reads as one.
bool IsNumeric(const QVariant& value);

// True for a plain table or column name (letters, digits, underscore), so that names coming
// from settings or grid sets can enter a statement.
bool IsIdentifier(const QString& name);

// The next document code prefix + yyyymmdd + four-digit serial for the day. Call it inside the
// transaction that stores the document, so two saves never share a code; windows show it on
// opening as a provisional code. Throws DbError when the day's 9999 codes are used up.
QString NewBillCode(const QString& prefix, const QString& table, const QString& column = QStringLiteral("billcode"),
                    const QDate& day = QDate::currentDate());

// The amount in Chinese capital money as written on receipts and cheques, e.g.
// 101 -> 人民币壹佰零壹元整, 0.5 -> 人民币伍角.
QString MoneyToCapital(double amount);
QString MoneyToCapital(Currency amount);

// Pinyin initial of one Han character (lower case), or an empty string for anything else.
QString CharInitial(QChar ch);
QString CharInitial(char32_t ch);
// Mnemonic of a text: ASCII kept as it stands, every Han character replaced by its initial,
// other symbols dropped. 阿莫西林胶囊0.25g -> amxljn0.25g.
QString TextInitials(const QString& text);

// 星期一 ... 星期天 for the date's ISO day of the week.
QString WeekdayName(const QDate& date);

// Items of a drop-down list: the trimmed values of a column of the rows of one list (in stored
// order, duplicates kept), or every distinct value of the column, sorted, when the list name is
// empty. Throws DbError for a name that is not a plain identifier.
QStringList ComboItems(const QString& table, const QString& column, const QString& listName = QString());

// Asks "您确定要删除这条记录吗？" and deletes the current row on Yes; nothing when empty.
// Returns true when a row was deleted.
bool DeleteRecord(DataSet& query);

QString MyDocumentsPath();
// Pieces between separators; a trailing separator gives a last empty piece.
QStringList SplitText(const QString& text, const QString& separator);
// The text without the first occurrence of sub.
QString RemoveText(const QString& text, const QString& sub);

// Replaces the database file by a compacted, integrity-checked copy. The copy is written beside
// the file and renamed over it, so a failure leaves the file as it was. The caller closes its
// connection before and reopens it after. Returns false on any failure.
bool CompactDbFile(const QString& path, const QString& password = QString());
// Copies a file; a database is copied consistently through SQLite (never byte by byte while
// another connection may write). The copy goes to a temporary name first and is renamed into
// place. Throws DbError("Error using LZCopy: ...") on failure.
void LZCopyFile(const QString& source, const QString& destination);

// Reloads g_decimals from tSoftInfo.
void LoadDecimals();
