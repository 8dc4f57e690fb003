#pragma once

#include "core/Database.h"
#include "core/MsgBox.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// Answers message boxes from a script and records every box shown.
class ScriptedAnswers {
public:
    ScriptedAnswers();
    ~ScriptedAnswers();
    // The next boxes get these answers in order; once the script runs out, the default
    // button (Yes / OK) is pressed.
    void queue(int answer) { m_script << answer; }
    QList<MsgRequest> shown;
    QStringList texts() const;
    void clear() { shown.clear(); }

private:
    QList<int> m_script;
    MsgAnswerer m_previous;
};

// A new database with the starting rows in a temporary folder, made the program's connection.
class TestDatabase {
public:
    explicit TestDatabase(bool demo = false);
    ~TestDatabase();
    Database& db() { return *m_db; }
    QString path() const { return m_path; }
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<Database> m_db;
};
