#pragma once

#include <QString>

class Database;

// The database's numbered schema steps and its starting rows.
namespace Schema {
constexpr int ApplicationId = 0x50454C4D; // "PELM"
constexpr int CurrentVersion = 2;

// Builds every table, view and index of a new database and loads the starting rows, in one
// transaction. With demo set, a sample shop is added (see DemoShop).
void createNew(Database& db, bool demo = false);
// Checks that an existing file is a Pelmora database and applies the steps it lacks, each in
// one transaction. Throws DbError for a foreign or newer file.
void upgrade(Database& db);
// Loads one tab-separated data file (header line of column names) into a table.
int loadRows(Database& db, const QString& table, const QString& tsv);
// The full permission string granting every catalogue entry ("|A|B|...").
QString allAuthorities(Database& db);
} // namespace Schema
