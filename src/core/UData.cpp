#include "core/UData.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/Schema.h"

#include <QDir>

TFrmData* FrmData = nullptr;

namespace {

TFrmData::TemplateLoader& templateLoader() {
    static TFrmData::TemplateLoader loader;
    return loader;
}

} // namespace

TFrmData::TFrmData(const QString& home, QObject* parent) : QObject(parent), m_home(home) {
    FrmData = this;
    for (DataSet* ds : {&QryMedicine, &QryCustom, &QrySupply, &QryEmployee, &QryOther, &QryMember, &QrySelectCust,
                        &QrySelectMedicine, &QryStock, &QrySale, &QryOut, &QryNursing, &QryChangePrice, &QryCash,
                        &QryUser, &QryBill, &QryBillDetail, &QryPanDian, &QryTemp, &QryStr, &QryCombo, &QryTree,
                        &QryFieldShow, &QryDot, &QrySys, &QryCompany, &QryImport})
        ds->setDatabase(&m_db);
    // The document line datasets cache their rows until the document is saved.
    for (DataSet* ds : {&QrySelectCust, &QrySelectMedicine, &QryStock, &QrySale, &QryOut, &QryBillDetail, &QryPanDian})
        ds->setBatchMode(true);
    installFieldEvents();
}

TFrmData::~TFrmData() {
    if (FrmData == this)
        FrmData = nullptr;
}

QString TFrmData::databasePath() const { return QDir(m_home).filePath(QStringLiteral("DataBase/Pelmora.db")); }

QString TFrmData::reportsPath() const { return QDir(m_home).filePath(QStringLiteral("Reports")); }

void TFrmData::FormCreate() {
    m_ini = std::make_unique<IniFile>(QDir(m_home).filePath(QStringLiteral("Config.ini")));
    m_connected = false;
    try {
        m_db.close();
        m_db.open(databasePath());
        Schema::upgrade(m_db);
        Database::setCurrent(&m_db);
        m_connected = true;
    } catch (const DbError&) {
        m_db.close();
        if (MsgBox(tr("连接数据库失败,您要连接本机数据库吗! "), Msg::YesNo | Msg::IconInformation,
                   QStringLiteral("Pelmora")) == Msg::IdYes)
            m_ini->writeString(QStringLiteral("Config"), QStringLiteral("DBConn"), QString());
    }
    loadReportTemplates();
}

bool TFrmData::reconnect() {
    m_connected = false;
    try {
        m_db.close();
        m_db.open(databasePath());
        Schema::upgrade(m_db);
        Database::setCurrent(&m_db);
        m_connected = true;
    } catch (const DbError&) {
        m_db.close();
    }
    return m_connected;
}

void TFrmData::setTemplateLoader(TemplateLoader loader) { templateLoader() = std::move(loader); }

void TFrmData::loadReportTemplates() {
    if (templateLoader())
        templateLoader()(*this);
}

void TFrmData::lineAmount(DataSet& ds, const QString& priceField, const QString& numberField,
                          const QString& moneyField) {
    if (!ds.hasField(moneyField))
        return;
    const Currency price = ds.currency(priceField);
    const double number = ds.toDouble(numberField);
    // Written as exact decimal text, so a Currency field takes the value without a float step.
    ds.setValue(moneyField, price.times(number).toPlainString());
}

void TFrmData::installFieldEvents() {
    auto hook = [](DataSet& ds, const QString& price, const QString& number, void (TFrmData::*handler)(),
                   TFrmData* self) {
        ds.setFieldHook([=](DataSet& d, int field) {
            const QString name = d.fieldName(field);
            if (name.compare(price, Qt::CaseInsensitive) == 0 || name.compare(number, Qt::CaseInsensitive) == 0)
                (self->*handler)();
        });
    };
    hook(QrySale, QStringLiteral("price"), QStringLiteral("number"), &TFrmData::QrySalepriceChange, this);
    hook(QryOut, QStringLiteral("price"), QStringLiteral("number"), &TFrmData::QryOutpriceChange, this);
    hook(QryStock, QStringLiteral("stockprice"), QStringLiteral("number"), &TFrmData::QryStockstockpriceChange, this);
}
