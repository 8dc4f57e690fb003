#pragma once

#include "core/DataSet.h"
#include "core/Database.h"
#include "core/IniFile.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The data module: the one connection, the settings file, the shared datasets every window
// binds to, the line-amount field events and the place where the report templates are loaded.
// Created once at start-up (global FrmData) and kept until the program ends.
class TFrmData : public QObject {
    Q_OBJECT
public:
    // home is the program folder (Config.ini, DataBase/, Reports/ ...).
    explicit TFrmData(const QString& home, QObject* parent = nullptr);
    ~TFrmData() override;

    // The creation steps: settings file, connection, report templates. Shows the connection
    // message on failure; connected() tells the outcome.
    void FormCreate();
    bool connected() const { return m_connected; }
    // Opens the connection again on databasePath() after it was closed for work on the file
    // (compaction, restore): checks the file is ours, applies missing schema steps and makes it
    // the program's connection. False, and not connected, when that fails.
    bool reconnect();

    QString home() const { return m_home; }
    QString databasePath() const;
    QString reportsPath() const;
    IniFile& ini() { return *m_ini; }
    Database& db() { return m_db; }

    // The report layer registers how templates are loaded from the Reports folder; it is called
    // at the end of FormCreate and whenever the templates should be read again.
    using TemplateLoader = std::function<void(TFrmData&)>;
    static void setTemplateLoader(TemplateLoader loader);
    void loadReportTemplates();

    // Line amounts: the amount field = price (rounded to four decimals) x quantity, rounded to
    // four decimals, ties to even, whichever of the two was set last.
    static void lineAmount(DataSet& ds, const QString& priceField, const QString& numberField,
                           const QString& moneyField);
    void QrySalepriceChange() { lineAmount(QrySale, QStringLiteral("price"), QStringLiteral("number"), QStringLiteral("money")); }
    void QrySalenumberChange() { QrySalepriceChange(); }
    void QryOutpriceChange() { lineAmount(QryOut, QStringLiteral("price"), QStringLiteral("number"), QStringLiteral("money")); }
    void QryOutnumberChange() { QryOutpriceChange(); }
    void QryStockstockpriceChange() {
        lineAmount(QryStock, QStringLiteral("stockprice"), QStringLiteral("number"), QStringLiteral("stockmoney"));
    }
    void QryStocknumberChange() { QryStockstockpriceChange(); }

    // Shared datasets (the established component names).
    DataSet QryMedicine, QryCustom, QrySupply, QryEmployee, QryOther, QryMember, QrySelectCust,
        QrySelectMedicine, QryStock, QrySale, QryOut, QryNursing, QryChangePrice, QryCash, QryUser, QryBill,
        QryBillDetail, QryPanDian, QryTemp, QryStr, QryCombo, QryTree, QryFieldShow, QryDot, QrySys, QryCompany,
        QryImport;

private:
    void installFieldEvents();

    QString m_home;
    std::unique_ptr<IniFile> m_ini;
    Database m_db;
    bool m_connected = false;
};

extern TFrmData* FrmData;
