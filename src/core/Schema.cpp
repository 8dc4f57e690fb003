#include "core/Schema.h"

#include "core/ColumnKinds.h"
#include "core/Currency.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/DemoShop.h"
#include "core/PasswordHash.h"
#include "core/Transaction.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

namespace {

QString resourceText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QObject::tr("缺少程序文件：%1").arg(path));
    return QString::fromUtf8(f.readAll());
}

// Step n of the schema; step 1 builds the whole first version.
void applyStep(Database& db, int step) {
    db.runScript(resourceText(QStringLiteral(":/schema/schema_%1.sql").arg(step, 3, 10, QLatin1Char('0'))));
}

void loadStartingRows(Database& db) {
    const QDir dir(QStringLiteral(":/schema/data"));
    const QStringList files = dir.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name);
    for (const QString& f : files) {
        const QString table = f.left(f.size() - 4);
        Schema::loadRows(db, table, resourceText(dir.filePath(f)));
    }
    // The first operator: Admin with an empty password and every permission.
    db.run(QStringLiteral("INSERT INTO tAdmin (tablename, username, password, team, memo, authority) "
                          "VALUES ('user', 'Admin', ?, '', ?, ?)"),
           {PasswordHash::hash(QString()), QObject::tr("系统管理员"), Schema::allAuthorities(db)});
    if (db.scalar(QStringLiteral("SELECT count(*) FROM tSoftInfo")).toInt() == 0)
        db.run(QStringLiteral("INSERT INTO tSoftInfo (DotPrice, DotNumber, DotMoney, fGoodsCode, SoftName, Version) "
                              "VALUES (2, 2, 2, 0, 'Pelmora', ?)"),
               {QStringLiteral(PELMORA_VERSION)});
    if (db.scalar(QStringLiteral("SELECT count(*) FROM tCompany")).toInt() == 0)
        db.run(QStringLiteral("INSERT INTO tCompany (Company) VALUES ('')"));
}

} // namespace

namespace Schema {

int loadRows(Database& db, const QString& table, const QString& tsv) {
    const QStringList known = db.columns(table);
    if (known.isEmpty())
        throw DbError(QObject::tr("数据文件对应的表不存在：%1").arg(table));
    QStringList lines = tsv.split(QLatin1Char('\n'));
    QStringList header;
    QStringList types;
    QString insert;
    int count = 0;
    QSqlQuery typeQuery = db.exec(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), {table});
    QHash<QString, QString> typeOf;
    while (typeQuery.next())
        typeOf.insert(typeQuery.value(0).toString().toLower(), typeQuery.value(1).toString().toUpper());
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (header.isEmpty()) {
            QStringList names, marks;
            for (const QString& h : cells) {
                const QString name = h.trimmed();
                if (!typeOf.contains(name.toLower()))
                    throw DbError(QObject::tr("表 %1 没有列 %2").arg(table, name));
                header << name;
                types << typeOf.value(name.toLower());
                names << QLatin1Char('"') + name + QLatin1Char('"');
                marks << QStringLiteral("?");
            }
            insert = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                         .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
            continue;
        }
        if (cells.size() > header.size())
            throw DbError(QObject::tr("数据文件 %1 的一行多出了列：%2").arg(table, line));
        QVariantList values;
        for (int i = 0; i < header.size(); ++i) {
            const QString cell = i < cells.size() ? cells[i] : QString();
            if (types[i] == QLatin1String("TEXT")) {
                values << cell;
            } else if (cell.trimmed().isEmpty()) {
                values << QVariant();
            } else if (ColumnKinds::isCurrency(header[i])) {
                Currency c;
                if (!Currency::parse(cell, &c))
                    throw DbError(QObject::tr("数据文件 %1 的金额无效：%2").arg(table, cell));
                values << qlonglong(c.raw());
            } else if (types[i] == QLatin1String("INTEGER")) {
                values << cell.trimmed().toLongLong();
            } else {
                values << cell.trimmed().toDouble();
            }
        }
        db.run(insert, values);
        ++count;
    }
    return count;
}

QString allAuthorities(Database& db) {
    QString s;
    QSqlQuery q = db.exec(QStringLiteral("SELECT authority FROM tAuthority WHERE authority <> '' ORDER BY code"));
    while (q.next())
        s += QLatin1Char('|') + q.value(0).toString();
    return s;
}

void createNew(Database& db, bool demo) {
    Transaction t(db);
    applyStep(db, 1);
    db.clearColumnCache();
    loadStartingRows(db);
    for (int step = 2; step <= CurrentVersion; ++step)
        applyStep(db, step);
    if (demo)
        DemoShop::fill(db);
    db.run(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId));
    db.run(QStringLiteral("PRAGMA user_version = %1").arg(CurrentVersion));
    t.commit();
    db.clearColumnCache();
}

void upgrade(Database& db) {
    const int app = db.scalar(QStringLiteral("PRAGMA application_id")).toInt();
    const int version = db.scalar(QStringLiteral("PRAGMA user_version")).toInt();
    if (app != ApplicationId)
        throw DbError(QObject::tr("该文件不是本程序的数据库"));
    if (version > CurrentVersion)
        throw DbError(QObject::tr("数据库版本（%1）比程序新，请升级程序").arg(version));
    for (int step = version + 1; step <= CurrentVersion; ++step) {
        Transaction t(db);
        applyStep(db, step);
        db.run(QStringLiteral("PRAGMA user_version = %1").arg(step));
        t.commit();
        db.clearColumnCache();
    }
}

} // namespace Schema
