#pragma once

class Database;

// A write transaction started with BEGIN IMMEDIATE, so two writers queue on the busy timeout
// instead of failing half-way. Rolled back on destruction unless commit() was called.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();
    bool active() const { return m_active; }

private:
    Database& m_db;
    bool m_active = false;
};
