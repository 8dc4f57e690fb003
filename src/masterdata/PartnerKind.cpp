#include "masterdata/PartnerKind.h"

#include <QObject>

namespace {

using F = EditorField;

// The boxes suppliers and customers share, after the first three.
QVector<EditorField> companyFields() {
    return {
        {QStringLiteral("Company"), QStringLiteral("EditCompany"), QObject::tr("所属公司")},
        {QStringLiteral("LegalPerson"), QStringLiteral("EditLegalPerson"), QObject::tr("法    人")},
        {QStringLiteral("TaxNo"), QStringLiteral("EditTaxNo"), QObject::tr("税    号")},
        {QStringLiteral("BankName"), QStringLiteral("EditBankName"), QObject::tr("开 户 行")},
        {QStringLiteral("Account"), QStringLiteral("EditAccount"), QObject::tr("账    号")},
        {QStringLiteral("GSP"), QStringLiteral("EditGSP"), QObject::tr("GSP 认证")},
        {QStringLiteral("Tel"), QStringLiteral("EditTel"), QObject::tr("联系电话")},
        {QStringLiteral("Fax"), QStringLiteral("EditFax"), QObject::tr("传    真")},
        {QStringLiteral("EMail"), QStringLiteral("EditEMail"), QObject::tr("E_Mail")},
        {QStringLiteral("Zip"), QStringLiteral("EditZip"), QObject::tr("邮    编")},
        {QStringLiteral("Address"), QStringLiteral("EditAddress"), QObject::tr("地    址")},
        {QStringLiteral("Remark1"), QStringLiteral("EditRemark1"), QObject::tr("备 注 一")},
        {QStringLiteral("Remark2"), QStringLiteral("EditRemark2"), QObject::tr("备 注 二")},
        {QStringLiteral("TypeCode"), QStringLiteral("EditTypeCode"), QString(), F::Hidden},
    };
}

QStringList columnsOf(const QVector<EditorField>& fields) {
    QStringList l;
    for (const EditorField& f : fields)
        l << f.column;
    return l;
}

} // namespace

const PartnerKind& PartnerKind::supply() {
    static const PartnerKind k = [] {
        PartnerKind p;
        p.table = &MasterTable::supply();
        p.fields = {
            {QStringLiteral("SupplyName"), QStringLiteral("EditSupplyName"), QObject::tr("供应商名称")},
            {QStringLiteral("SupplyType"), QStringLiteral("EditSupplyType"), QObject::tr("供应商分类"),
             F::Category},
            {QStringLiteral("SupplyZone"), QStringLiteral("EditSupplyZone"), QObject::tr("所属地区"),
             F::Zone},
        };
        p.fields += companyFields();
        p.saveOrder = columnsOf(p.fields);
        p.uniqueColumn = QStringLiteral("SupplyName");
        p.duplicateMessage = QObject::tr("供应商名称不能重复！");
        p.required = {{QStringLiteral("SupplyName"), QObject::tr("供应商名称不能为空!")}};
        p.addCaption = QObject::tr("新增供应商资料");
        p.editCaption = QObject::tr("编辑供应商资料");
        p.addButton = QObject::tr("新增&A");
        p.editButton = QObject::tr("编辑&E");
        p.cancelButton = QObject::tr("退出&Q");
        p.pageCaption = QObject::tr("供应商管理");
        p.treeCaption = QObject::tr("供应商分类");
        p.caller = QStringLiteral("AddSupply");
        return p;
    }();
    return k;
}

const PartnerKind& PartnerKind::custom() {
    static const PartnerKind k = [] {
        PartnerKind p;
        p.table = &MasterTable::custom();
        p.fields = {
            {QStringLiteral("CustName"), QStringLiteral("EditCustName"), QObject::tr("客户名称")},
            {QStringLiteral("CustType"), QStringLiteral("EditCustType"), QObject::tr("客户分类"),
             F::Category},
            {QStringLiteral("CustZone"), QStringLiteral("EditCustZone"), QObject::tr("所属地区"), F::Zone},
        };
        p.fields += companyFields();
        p.saveOrder = columnsOf(p.fields);
        p.uniqueColumn = QStringLiteral("CustName");
        p.duplicateMessage = QObject::tr("客户名称不能重复！");
        p.required = {{QStringLiteral("CustName"), QObject::tr("客户名称不能为空!")}};
        p.addCaption = QObject::tr("新增客户资料");
        p.editCaption = QObject::tr("编辑客户资料");
        p.addButton = QObject::tr("新增&A");
        p.editButton = QObject::tr("编辑&E");
        p.cancelButton = QObject::tr("退出&Q");
        p.pageCaption = QObject::tr("客户管理");
        p.emptiesAfterAdding = true;
        p.treeCaption = QObject::tr("客户分类");
        p.caller = QStringLiteral("AddCustom");
        return p;
    }();
    return k;
}

const PartnerKind& PartnerKind::employee() {
    static const PartnerKind k = [] {
        PartnerKind p;
        p.table = &MasterTable::employee();
        p.fields = {
            {QStringLiteral("EmployeeCode"), QStringLiteral("EditEmployeeCode"), QObject::tr("员工编码")},
            {QStringLiteral("EmployeeName"), QStringLiteral("EditEmployeeName"), QObject::tr("员工姓名")},
            {QStringLiteral("EmployeeType"), QStringLiteral("EditEmployeeType"), QObject::tr("员工分类"),
             F::Category},
            {QStringLiteral("Depart"), QStringLiteral("ComboDepart"), QObject::tr("所属部门"), F::Choice,
             QString(), QStringLiteral("Depart")},
            {QStringLiteral("Tel"), QStringLiteral("EditTel"), QObject::tr("联系电话")},
            {QStringLiteral("Mobile"), QStringLiteral("EditMobile"), QObject::tr("手    机")},
            {QStringLiteral("EMail"), QStringLiteral("EditEMail"), QObject::tr("E_Mail")},
            {QStringLiteral("Address"), QStringLiteral("EditAddress"), QObject::tr("地    址")},
            {QStringLiteral("Remark1"), QStringLiteral("EditRemark1"), QObject::tr("备 注 一")},
            {QStringLiteral("Remark2"), QStringLiteral("EditRemark2"), QObject::tr("备 注 二")},
            {QStringLiteral("TypeCode"), QStringLiteral("EditTypeCode"), QString(), F::Hidden},
        };
        p.saveOrder = columnsOf(p.fields);
        p.uniqueColumn = QStringLiteral("EmployeeCode");
        p.duplicateMessage = QObject::tr("员工编码不能重复！");
        p.required = {{QStringLiteral("EmployeeCode"), QObject::tr("员工编码不能为空！")},
                      {QStringLiteral("EmployeeName"), QObject::tr("员工姓名不能为空!")}};
        p.addCaption = QObject::tr("新增员工资料");
        p.editCaption = QObject::tr("编辑员工资料");
        p.addButton = QObject::tr("保存");
        p.editButton = QObject::tr("保存");
        p.cancelButton = QObject::tr("退出");
        p.treeCaption = QObject::tr("员工分类");
        p.caller = QStringLiteral("AddEmployee");
        return p;
    }();
    return k;
}
