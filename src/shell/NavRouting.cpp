#include "shell/NavRouting.h"

#include <QDir>
#include <QFileInfo>

const QStringList& NavRouting::commandNames() {
    static const QStringList names = {
        QStringLiteral("OpenSupply"),     QStringLiteral("SupplyType"),     QStringLiteral("OpenEmployee"),
        QStringLiteral("EmployeeType"),   QStringLiteral("Units"),          QStringLiteral("Depart"),
        QStringLiteral("JiXing"),         QStringLiteral("Zone"),           QStringLiteral("SetMember"),
        QStringLiteral("RMemberGain"),    QStringLiteral("RMemberSale"),    QStringLiteral("OpenMedicine"),
        QStringLiteral("SetSale"),        QStringLiteral("SetNursing"),     QStringLiteral("SetChangePrice"),
        QStringLiteral("SetChaiLing"),    QStringLiteral("SetStock"),       QStringLiteral("SetOut"),
        QStringLiteral("SetSK"),          QStringLiteral("SetFK"),          QStringLiteral("SearchSale"),
        QStringLiteral("SearchStock"),    QStringLiteral("SetGSP"),         QStringLiteral("Expired"),
        QStringLiteral("RunningAccount"), QStringLiteral("DesignBill"),     QStringLiteral("DesignSupply"),
        QStringLiteral("DesignMedicine"), QStringLiteral("DesignEmployee"), QStringLiteral("CashType"),
        QStringLiteral("SetPosition"),    QStringLiteral("Company"),        QStringLiteral("ClearData"),
        QStringLiteral("ExcelToSQLM"),    QStringLiteral("ExcelToSQLC"),    QStringLiteral("ExcelToSQLS"),
        QStringLiteral("Backup"),         QStringLiteral("Restore"),        QStringLiteral("CompactDatabase"),
    };
    return names;
}

QStringList NavRouting::commandsFor(const QString& target) {
    QStringList hits;
    for (const QString& name : commandNames())
        if (target.contains(name))
            hits << name;
    return hits;
}

QString NavRouting::targetText(const QUrl& link, const QUrl& page) {
    if (link.isLocalFile() && page.isLocalFile()) {
        const QString folder = QFileInfo(page.toLocalFile()).absolutePath();
        const QString file = QDir::cleanPath(link.toLocalFile());
        if (file == folder || file.startsWith(folder + QLatin1Char('/'))) {
            QString rel = QDir(folder).relativeFilePath(file);
            if (link.hasQuery())
                rel += QLatin1Char('?') + link.query(QUrl::FullyDecoded);
            if (link.hasFragment())
                rel += QLatin1Char('#') + link.fragment(QUrl::FullyDecoded);
            return rel;
        }
        // A file elsewhere: only its own name is the link's text.
        QString name = QFileInfo(file).fileName();
        if (link.hasFragment())
            name += QLatin1Char('#') + link.fragment(QUrl::FullyDecoded);
        return name;
    }
    return link.toString();
}
