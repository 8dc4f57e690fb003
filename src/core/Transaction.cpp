#include "core/Transaction.h"

#include "core/Database.h"

Transaction::Transaction(Database& db) : m_db(db) {
    m_db.run(QStringLiteral("BEGIN IMMEDIATE"));
    m_active = true;
}

Transaction::~Transaction() {
    if (m_active) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    if (!m_active)
        return;
    m_db.run(QStringLiteral("COMMIT"));
    m_active = false;
}

void Transaction::rollback() {
    if (!m_active)
        return;
    m_active = false;
    m_db.run(QStringLiteral("ROLLBACK"));
}
