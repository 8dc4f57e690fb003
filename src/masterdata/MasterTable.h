#pragma once

#include <QString>

// What tells the master lists apart: their table, grid set, category tree and the columns the
// list orders by and names a row by. The grid set also names the category tree and the search
// texts of schema step 2.
struct MasterTable {
    QString table;       // "tMedicine"
    QString setName;     // "Medicine": grid set, category tree, search texts
    QString typeColumn;  // category name column ("MedicineType"); empty without categories
    QString orderColumn; // the search lists its rows in this order
    QString keyColumn;   // the column that names a row to the user

    bool hasCategories() const { return !typeColumn.isEmpty(); }
    // "select 1,* from <table> order by id": the list as it first opens.
    QString openStatement() const;
    // An empty selection to append new rows to.
    QString emptyStatement() const;

    static const MasterTable& medicine();
    static const MasterTable& supply();
    static const MasterTable& custom();
    static const MasterTable& employee();
    static const MasterTable& member();
    // The table of a grid set name (case ignored), or null.
    static const MasterTable* bySet(const QString& setName);
};
