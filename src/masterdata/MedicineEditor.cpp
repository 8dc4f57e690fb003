#include "masterdata/MedicineEditor.h"

#include "core/DataSet.h"
#include "core/Database.h"
#include "core/IniFile.h"
#include "core/MsgBox.h"
#include "core/Routines.h"

namespace {

const QString IniSection = QStringLiteral("Other");
const QString IniKey = QStringLiteral("MedicineCode");

} // namespace

const QVector<EditorField>& MedicineEditor::Fields() {
    using F = EditorField;
    static const QVector<EditorField> fields = {
        {QStringLiteral("MedicineCode"), QStringLiteral("EditMedicineCode"), QObject::tr("药品编码")},
        {QStringLiteral("MedicineName"), QStringLiteral("EditMedicineName"), QObject::tr("药品名称")},
        {QStringLiteral("UsualName"), QStringLiteral("EditUsualName"), QObject::tr("通 用 名")},
        {QStringLiteral("ChemicalName"), QStringLiteral("EditChemicalName"), QObject::tr("化学名称")},
        {QStringLiteral("EnglishName"), QStringLiteral("EditEnglishName"), QObject::tr("英 文 名")},
        {QStringLiteral("JiXing"), QStringLiteral("ComboJiXing"), QObject::tr("剂    型"), F::Choice,
         QString(), QStringLiteral("JiXing")},
        {QStringLiteral("MedicineUnit"), QStringLiteral("EditMedicineUnit"), QObject::tr("规格型号")},
        {QStringLiteral("Expiry"),
         QStringLiteral("EditExpiry"),
         QObject::tr("有 效 期"),
         F::Number,
         QStringLiteral("0"),
         QString(),
         {},
         QObject::tr("（天）")},
        {QStringLiteral("MedicineType"), QStringLiteral("EditMedicineType"), QObject::tr("药品类别"),
         F::Category},
        {QStringLiteral("TypeCode"), QStringLiteral("EditTypeCode"), QString(), F::Hidden},
        {QStringLiteral("FirstUnits"), QStringLiteral("ComboFirstUnits"), QObject::tr("计量单位"), F::Choice,
         QString(), QStringLiteral("Units")},
        {QStringLiteral("SecondUnits"), QStringLiteral("ComboSecondUnits"), QObject::tr("辅助单位"),
         F::Choice, QString(), QStringLiteral("Units")},
        {QStringLiteral("Rate"), QStringLiteral("EditRate"), QObject::tr("换 算 率"), F::Number,
         QStringLiteral("1")},
        {QStringLiteral("GSP"), QStringLiteral("EditGSP"), QObject::tr("GSP 认证")},
        {QStringLiteral("AgreeNo"), QStringLiteral("EditAgreeNo"), QObject::tr("批准文号")},
        {QStringLiteral("Manufacturer"), QStringLiteral("EditManufacturer"), QObject::tr("生产厂家")},
        {QStringLiteral("Brand"), QStringLiteral("EditBrand"), QObject::tr("注册商标")},
        {QStringLiteral("StockPrice"), QStringLiteral("EditStockPrice"), QObject::tr("采 购 价"), F::Money,
         QStringLiteral("0")},
        {QStringLiteral("SalePrice"), QStringLiteral("EditSalePrice"), QObject::tr("销 售 价"), F::Money,
         QStringLiteral("0")},
        {QStringLiteral("WholesalePrice"), QStringLiteral("EditWholesalePrice"), QObject::tr("批 发 价"),
         F::Money, QStringLiteral("0")},
        {QStringLiteral("DepotUp"), QStringLiteral("EditDepotUp"), QObject::tr("库存上限"), F::Number,
         QStringLiteral("0")},
        {QStringLiteral("DepotDown"), QStringLiteral("EditDepotDown"), QObject::tr("库存下限"), F::Number,
         QStringLiteral("0")},
        {QStringLiteral("BatchNo"), QStringLiteral("EditBatchNo"), QObject::tr("批    号")},
        {QStringLiteral("Percentage"), QStringLiteral("EditPercentage"), QObject::tr("销售提成"), F::Number,
         QStringLiteral("0")},
        {QStringLiteral("Barcode"), QStringLiteral("EditBarcode"), QObject::tr("条 形 码")},
        {QStringLiteral("Remark1"), QStringLiteral("EditRemark1"), QObject::tr("备 注 一")},
        {QStringLiteral("Remark2"), QStringLiteral("EditRemark2"), QObject::tr("备 注 二")},
    };
    return fields;
}

const QStringList& MedicineEditor::SaveOrder() {
    static const QStringList order = {
        QStringLiteral("MedicineCode"),
        QStringLiteral("ChemicalName"),
        QStringLiteral("MedicineUnit"),
        QStringLiteral("MedicineName"),
        QStringLiteral("EnglishName"),
        QStringLiteral("Expiry"),
        QStringLiteral("UsualName"),
        QStringLiteral("Brand"),
        QStringLiteral("Rate"),
        QStringLiteral("AgreeNo"),
        QStringLiteral("GSP"),
        QStringLiteral("Manufacturer"),
        QStringLiteral("StockPrice"),
        QStringLiteral("DepotUp"),
        QStringLiteral("SalePrice"),
        QStringLiteral("DepotDown"),
        QStringLiteral("WholesalePrice"),
        QStringLiteral("BatchNo"),
        QStringLiteral("Remark1"),
        QStringLiteral("Remark2"),
        QStringLiteral("MedicineType"),
        QStringLiteral("TypeCode"),
        QStringLiteral("FirstUnits"),
        QStringLiteral("SecondUnits"),
        QStringLiteral("JiXing"),
        QStringLiteral("Percentage"),
        QStringLiteral("Barcode"),
    };
    return order;
}

MedicineEditor::MedicineEditor(bool addMode) : RecordEditor(Fields()), AddMode(addMode) {}

bool MedicineEditor::NextCode(const QString& last, QString* next) {
    next->clear();
    const QString serial = last.right(4);
    if (serial.isEmpty())
        return false;
    for (QChar c : serial)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    const int value = serial.toInt() + 1;
    *next = last.left(last.size() - serial.size()) +
            QString::number(value % 10000).rightJustified(4, QLatin1Char('0'));
    return true;
}

bool MedicineEditor::GoodsCodeOn(Database& db) {
    return db.scalar(QStringLiteral("select fGoodsCode from tSoftInfo order by id limit 1")).toInt() != 0;
}

void MedicineEditor::SetGoodsCode(Database& db, bool on) {
    db.run(QStringLiteral("update tSoftInfo set fGoodsCode = ?"), {on ? 1 : 0});
}

void MedicineEditor::ClearForNew(Database& db, IniFile& ini) {
    clearToDefaults();
    AutoCode = GoodsCodeOn(db);
    if (!AutoCode)
        return;
    QString code;
    if (NextCode(ini.readString(IniSection, IniKey), &code))
        setText(QStringLiteral("MedicineCode"), code);
    else
        MsgBox(QObject::tr("自动编码新增失败!"), Msg::Ok | Msg::IconInformation, QObject::tr("提示"));
}

bool MedicineEditor::CheckInput(Database& db) {
    InputRejected = false;
    m_focus.clear();
    const int flags = Msg::Ok | Msg::IconWarning;
    // A text is empty only when it has no characters at all; it is stored trimmed, so the
    // duplicate test looks at the trimmed code. Codes are unique also when a medicine is
    // edited (another medicine's code is refused here rather than by the database).
    const QString code = text(QStringLiteral("MedicineCode"));
    if ((AddMode || !m_id.isNull()) && exists(db, QStringLiteral("tMedicine"), QStringLiteral("MedicineCode"),
                                              code.trimmed(), AddMode ? QVariant() : m_id))
        return reject(QObject::tr("药品编码不能重复！"), QStringLiteral("MedicineCode"), flags);
    if (code.isEmpty())
        return reject(QObject::tr("药品编码不能为空！"), QStringLiteral("MedicineCode"), flags);
    if (text(QStringLiteral("MedicineName")).isEmpty())
        return reject(QObject::tr("药品名称不能为空!"), QStringLiteral("MedicineName"), flags);
    if (text(QStringLiteral("Manufacturer")).isEmpty())
        return reject(QObject::tr("生产厂家不能为空！"), QStringLiteral("Manufacturer"), flags);
    if (text(QStringLiteral("JiXing")).isEmpty())
        return reject(QObject::tr("剂型不能为空！"), QStringLiteral("JiXing"), flags);
    if (text(QStringLiteral("FirstUnits")).isEmpty())
        return reject(QObject::tr("计量单位不能为空！"), QStringLiteral("FirstUnits"), flags);
    return true;
}

bool MedicineEditor::Submit(DataSet& list, IniFile& ini) {
    Database* db = list.database();
    if (!db)
        return false;
    if (!CheckInput(*db))
        return false;
    if (AddMode)
        SetGoodsCode(*db, AutoCode); // kept even when the medicine is not saved
    QString reason;
    const QString name = text(QStringLiteral("MedicineName")).trimmed();
    const bool saved = write(list, AddMode, SaveOrder(), &reason, [&name](DataSet& row) {
        row.setValue(QStringLiteral("ShortName"), TextInitials(name));
    });
    if (!saved) {
        MsgBox(QObject::tr("保存失败,可能是您输入的数据有误!") + QLatin1Char('\n') + reason,
               Msg::Ok | Msg::IconInformation, QObject::tr("提示"));
        return false;
    }
    if (AddMode) {
        if (AutoCode)
            ini.writeString(IniSection, IniKey, text(QStringLiteral("MedicineCode")).trimmed());
        ClearForNew(*db, ini);
    }
    return true;
}
