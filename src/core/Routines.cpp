#include "core/Routines.h"

#include "core/DataSet.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <memory>

#include <sqlite3.h>

Decimals g_decimals;

namespace {

Database& db() {
    Database* d = Database::current();
    if (!d || !d->isOpen())
        throw DbError(QObject::tr("数据库未连接"));
    return *d;
}

QString escapeLike(const QString& s) {
    QString r;
    for (QChar c : s) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            r += QLatin1Char('\\');
        r += c;
    }
    return r;
}

} // namespace

void OpenSQL(DataSet& query, const QString& sql, const QVariantList& values) { query.open(sql, values); }

int RunSQL(const QString& sql, const QVariantList& values) { return db().run(sql, values); }

bool IsNumeric(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool IsIdentifier(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

QString NewBillCode(const QString& prefix, const QString& table, const QString& column, const QDate& day) {
    if (!IsIdentifier(table) || !IsIdentifier(column))
        throw DbError(QObject::tr("无效的表名或列名"));
    const QString stem = prefix + day.toString(QStringLiteral("yyyyMMdd"));
    const QVariant last = db().scalar(
        QStringLiteral("SELECT max(CAST(substr(\"%1\", ?) AS INTEGER)) FROM \"%2\" "
                       "WHERE \"%1\" LIKE ? ESCAPE '\\' AND length(\"%1\") = ?")
            .arg(column, table),
        {stem.size() + 1, escapeLike(stem) + QLatin1Char('%'), stem.size() + 4});
    const qint64 next = last.isNull() ? 1 : last.toLongLong() + 1;
    if (next > 9999)
        throw DbError(QObject::tr("今天的单据编号（%1）已用完9999个，不能再开新单据。").arg(stem));
    return stem + QString::number(next).rightJustified(4, QLatin1Char('0'));
}

QString MoneyToCapital(double amount) {
    Currency c;
    Currency::parse(QString::number(amount, 'f', 2), &c);
    return MoneyToCapital(c);
}

QString MoneyToCapital(Currency amount) {
    static const QString digits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    static const QString inGroup[4] = {QString(), QStringLiteral("拾"), QStringLiteral("佰"), QStringLiteral("仟")};
    static const QString groupUnit[3] = {QString(), QStringLiteral("万"), QStringLiteral("亿")};
    QString out = QStringLiteral("人民币");
    // Whole fen, rounded half to even like the two-decimal text of the amount.
    qint64 fen = Currency::fromRaw(amount.raw()).toString(2).remove(QLatin1Char('.')).toLongLong();
    if (fen < 0) {
        out += QStringLiteral("负");
        fen = -fen;
    }
    const qint64 yuan = fen / 100;
    const int jiao = int(fen / 10 % 10);
    const int f = int(fen % 10);
    QString whole;
    if (yuan > 0) {
        // Groups of four digits: units, ten-thousands, hundred-millions (and beyond).
        QVector<int> groups;
        for (qint64 v = yuan; v > 0; v /= 10000)
            groups.prepend(int(v % 10000));
        bool pendingZero = false;
        for (int gi = 0; gi < groups.size(); ++gi) {
            const int g = groups[gi];
            const int level = groups.size() - 1 - gi;
            if (g == 0) {
                pendingZero = !whole.isEmpty();
                continue;
            }
            if (!whole.isEmpty() && (pendingZero || g < 1000))
                whole += digits[0];
            pendingZero = false;
            bool started = false;
            bool zero = false;
            for (int p = 3; p >= 0; --p) {
                int d = g;
                for (int k = 0; k < p; ++k)
                    d /= 10;
                d %= 10;
                if (d == 0) {
                    zero = started;
                    continue;
                }
                if (zero)
                    whole += digits[0];
                zero = false;
                started = true;
                whole += digits[d] + inGroup[p];
            }
            // Levels above 亿 reuse the units: 万亿.
            whole += level >= 3 ? groupUnit[1] + groupUnit[2] : groupUnit[level % 3];
        }
        out += whole + QStringLiteral("元");
    }
    if (jiao == 0 && f == 0)
        return out + (yuan == 0 ? QStringLiteral("零元整") : QStringLiteral("整"));
    if (jiao > 0) {
        if (yuan > 0 && yuan % 10 == 0)
            out += digits[0];
        out += digits[jiao] + QStringLiteral("角");
    } else if (yuan > 0) {
        out += digits[0];
    }
    if (f > 0)
        out += digits[f] + QStringLiteral("分");
    return out;
}

namespace {

// GB2312 level-one characters are ordered by pinyin: the initial follows from the GBK code.
char levelOneInitial(unsigned code) {
    struct Range {
        unsigned from;
        char letter;
    };
    static const Range ranges[] = {
        {0xB0A1, 'a'}, {0xB0C5, 'b'}, {0xB2C1, 'c'}, {0xB4EE, 'd'}, {0xB6EA, 'e'}, {0xB7A2, 'f'},
        {0xB8C1, 'g'}, {0xB9FE, 'h'}, {0xBBF7, 'j'}, {0xBFA6, 'k'}, {0xC0AC, 'l'}, {0xC2E8, 'm'},
        {0xC4C3, 'n'}, {0xC5B6, 'o'}, {0xC5BE, 'p'}, {0xC6DA, 'q'}, {0xC8BB, 'r'}, {0xC8F6, 's'},
        {0xCBFA, 't'}, {0xCDDA, 'w'}, {0xCEF4, 'x'}, {0xD1B9, 'y'}, {0xD4D1, 'z'},
    };
    if (code < 0xB0A1 || code > 0xD7F9)
        return 0;
    char letter = 0;
    for (const Range& r : ranges)
        if (code >= r.from)
            letter = r.letter;
    return letter;
}

unsigned gbkCode(char32_t ch) {
    UErrorCode status = U_ZERO_ERROR;
    static UConverter* conv = ucnv_open("GBK", &status);
    if (!conv)
        return 0;
    UChar src[2];
    int32_t n = 0;
    U16_APPEND_UNSAFE(src, n, UChar32(ch));
    char out[8];
    status = U_ZERO_ERROR;
    ucnv_reset(conv);
    const int32_t len = ucnv_fromUChars(conv, out, sizeof out, src, n, &status);
    if (U_FAILURE(status) || len != 2)
        return 0;
    return (unsigned(uchar(out[0])) << 8) | uchar(out[1]);
}

QString hanLatinInitial(char32_t ch) {
    static std::unique_ptr<icu::Transliterator> tr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        UErrorCode status = U_ZERO_ERROR;
        tr.reset(icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            tr.reset();
    }
    if (!tr)
        return QString();
    icu::UnicodeString s{UChar32(ch)};
    tr->transliterate(s);
    for (int32_t i = 0; i < s.length(); ++i) {
        const UChar c = s.charAt(i);
        if (c < 0x80 && QChar(c).isLetter())
            return QString(QChar(c).toLower());
    }
    return QString();
}

} // namespace

QString CharInitial(char32_t ch) {
    if (!u_hasBinaryProperty(UChar32(ch), UCHAR_IDEOGRAPHIC))
        return QString();
    const char letter = levelOneInitial(gbkCode(ch));
    if (letter)
        return QString(QLatin1Char(letter));
    return hanLatinInitial(ch);
}

QString CharInitial(QChar ch) { return CharInitial(char32_t(ch.unicode())); }

QString TextInitials(const QString& text) {
    QString out;
    const QList<uint> codes = text.toUcs4();
    for (uint code : codes) {
        if (code < 0x80) {
            out += QChar(code);
            continue;
        }
        const QString initial = CharInitial(char32_t(code));
        if (!initial.isEmpty()) {
            out += initial;
            continue;
        }
        // Full-width letters and digits count as their ASCII forms; other symbols are dropped.
        if (code >= 0xFF10 && code <= 0xFF5A && QChar::isLetterOrNumber(code))
            out += QChar(code - 0xFEE0);
    }
    return out;
}

QString WeekdayName(const QDate& date) {
    static const QString names[7] = {QStringLiteral("星期一"), QStringLiteral("星期二"), QStringLiteral("星期三"),
                                     QStringLiteral("星期四"), QStringLiteral("星期五"), QStringLiteral("星期六"),
                                     QStringLiteral("星期天")};
    if (!date.isValid())
        return QString();
    return names[date.dayOfWeek() - 1];
}

QStringList ComboItems(const QString& table, const QString& column, const QString& listName) {
    if (!IsIdentifier(table) || !IsIdentifier(column))
        throw DbError(QObject::tr("无效的表名或列名"));
    QSqlQuery q = listName.isEmpty()
                      ? db().exec(QStringLiteral("SELECT DISTINCT trim(\"%1\") AS v FROM \"%2\" WHERE \"%1\" IS NOT NULL ORDER BY v")
                                      .arg(column, table))
                      : db().exec(QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE tablename = ? ORDER BY id").arg(column, table),
                                  {listName});
    QStringList items;
    while (q.next())
        items << q.value(0).toString().trimmed();
    return items;
}

bool DeleteRecord(DataSet& query) {
    if (!query.isOpen() || query.isEmpty())
        return false;
    if (MsgBox(QObject::tr("您确定要删除这条记录吗？"), Msg::YesNo | Msg::IconQuestion, QObject::tr("提示")) != Msg::IdYes)
        return false;
    query.remove();
    return true;
}

QString MyDocumentsPath() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }

QStringList SplitText(const QString& text, const QString& separator) {
    if (separator.isEmpty())
        return {text};
    return text.split(separator);
}

QString RemoveText(const QString& text, const QString& sub) {
    QString r = text;
    const int i = sub.isEmpty() ? -1 : r.indexOf(sub);
    if (i >= 0)
        r.remove(i, sub.size());
    return r;
}

namespace {

bool isSqliteFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

// A consistent copy of an SQLite database through its own read connection (VACUUM INTO).
QString vacuumCopy(const QString& source, const QString& target, bool check) {
    sqlite3* h = nullptr;
    const QByteArray src = QFile::encodeName(source);
    if (sqlite3_open_v2(src.constData(), &h, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString msg = h ? QString::fromUtf8(sqlite3_errmsg(h)) : QStringLiteral("open");
        sqlite3_close(h);
        return msg;
    }
    sqlite3_busy_timeout(h, 8000);
    sqlite3_stmt* st = nullptr;
    QString error;
    const QByteArray sql = "VACUUM INTO ?";
    if (sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr) == SQLITE_OK) {
        const QByteArray t = target.toUtf8();
        sqlite3_bind_text(st, 1, t.constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(st) != SQLITE_DONE)
            error = QString::fromUtf8(sqlite3_errmsg(h));
    } else {
        error = QString::fromUtf8(sqlite3_errmsg(h));
    }
    sqlite3_finalize(st);
    sqlite3_close(h);
    if (!error.isEmpty() || !check)
        return error;
    // The copy must read back whole before it may replace anything.
    sqlite3* c = nullptr;
    const QByteArray tp = QFile::encodeName(target);
    if (sqlite3_open_v2(tp.constData(), &c, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(c);
        return QStringLiteral("integrity");
    }
    if (sqlite3_prepare_v2(c, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
        const QString r = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (r != QLatin1String("ok"))
            error = r;
    } else {
        error = QString::fromUtf8(sqlite3_errmsg(c));
    }
    sqlite3_finalize(st);
    sqlite3_close(c);
    return error;
}

QString tempBeside(const QString& path, const QString& prefix) {
    const QFileInfo fi(path);
    return fi.absoluteDir().filePath(prefix + QUuid::createUuid().toString(QUuid::Id128).left(12) + QStringLiteral(".tmp"));
}

bool replaceFile(const QString& from, const QString& to) {
    // rename(2) replaces the target atomically on the same file system.
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

bool CompactDbFile(const QString& path, const QString& password) {
    Q_UNUSED(password)
    if (!QFileInfo(path).isFile() || !isSqliteFile(path))
        return false;
    const QString tmp = tempBeside(path, QStringLiteral("~CP"));
    const QString error = vacuumCopy(path, tmp, true);
    if (!error.isEmpty()) {
        QFile::remove(tmp);
        return false;
    }
    // A write-ahead log left by a crash belongs to the old file; it must not be replayed into
    // the compacted one.
    if (QFileInfo::exists(path + QStringLiteral("-wal")) && QFileInfo(path + QStringLiteral("-wal")).size() > 0) {
        QFile::remove(tmp);
        return false;
    }
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    if (!replaceFile(tmp, path)) {
        QFile::remove(tmp);
        return false;
    }
    return true;
}

void LZCopyFile(const QString& source, const QString& destination) {
    if (!QFileInfo(source).isFile())
        throw DbError(QObject::tr("Error using LZCopy: 找不到文件 %1").arg(source));
    const QString tmp = tempBeside(destination, QStringLiteral("~LZ"));
    if (isSqliteFile(source)) {
        const QString error = vacuumCopy(source, tmp, true);
        if (!error.isEmpty()) {
            QFile::remove(tmp);
            throw DbError(QObject::tr("Error using LZCopy: %1").arg(error));
        }
    } else if (!QFile::copy(source, tmp)) {
        QFile::remove(tmp);
        throw DbError(QObject::tr("Error using LZCopy: 无法写入 %1").arg(destination));
    }
    if (QFileInfo(destination).isFile() && isSqliteFile(destination)) {
        QFile::remove(destination + QStringLiteral("-wal"));
        QFile::remove(destination + QStringLiteral("-shm"));
    }
    if (!replaceFile(tmp, destination)) {
        QFile::remove(tmp);
        throw DbError(QObject::tr("Error using LZCopy: 无法写入 %1").arg(destination));
    }
}

void LoadDecimals() {
    QSqlQuery q = db().exec(QStringLiteral("SELECT DotPrice, DotNumber, DotMoney FROM tSoftInfo ORDER BY id LIMIT 1"));
    if (q.next()) {
        g_decimals.price = q.value(0).toInt();
        g_decimals.number = q.value(1).toInt();
        g_decimals.money = q.value(2).toInt();
    }
}
