#include "masterdata/MasterTable.h"

QString MasterTable::openStatement() const {
    return QStringLiteral("select 1,* from %1 order by id").arg(table);
}

QString MasterTable::emptyStatement() const {
    return QStringLiteral("select * from %1 where id < 0").arg(table);
}

const MasterTable& MasterTable::medicine() {
    static const MasterTable t{QStringLiteral("tMedicine"), QStringLiteral("Medicine"),
                               QStringLiteral("MedicineType"), QStringLiteral("MedicineCode"),
                               QStringLiteral("MedicineCode")};
    return t;
}

const MasterTable& MasterTable::supply() {
    static const MasterTable t{QStringLiteral("tSupply"), QStringLiteral("Supply"),
                               QStringLiteral("SupplyType"), QStringLiteral("SupplyName"),
                               QStringLiteral("SupplyName")};
    return t;
}

const MasterTable& MasterTable::custom() {
    static const MasterTable t{QStringLiteral("tCustom"), QStringLiteral("Custom"),
                               QStringLiteral("CustType"), QStringLiteral("CustName"),
                               QStringLiteral("CustName")};
    return t;
}

const MasterTable& MasterTable::employee() {
    static const MasterTable t{QStringLiteral("tEmployee"), QStringLiteral("Employee"),
                               QStringLiteral("EmployeeType"), QStringLiteral("EmployeeName"),
                               QStringLiteral("EmployeeCode")};
    return t;
}

const MasterTable& MasterTable::member() {
    static const MasterTable t{QStringLiteral("tMember"), QStringLiteral("Member"), QString(),
                               QStringLiteral("MemberCode"), QStringLiteral("MemberCode")};
    return t;
}

const MasterTable* MasterTable::bySet(const QString& setName) {
    for (const MasterTable* t : {&medicine(), &supply(), &custom(), &employee(), &member()})
        if (t->setName.compare(setName, Qt::CaseInsensitive) == 0)
            return t;
    return nullptr;
}
