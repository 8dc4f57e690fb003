#pragma once

#include <QString>
#include <QVector>

class DataSet;
class Database;

// Moving rows of a master list to another category: the category name column and TypeCode are
// written together. Lists: "Medicine" (tMedicine.MedicineType), "Supply" (tSupply.SupplyType),
// "Custom" (tCustom.CustType), "Employee" (tEmployee.EmployeeType).
struct CategoryListTable {
    QString table;
    QString nameColumn;
};
// The table of a list; an empty table for an unknown list.
CategoryListTable CategoryListTableOf(const QString& list);

// The ids of the rows selected in a list's dataset (its selected bookmarks), or of its current
// row when none is selected; empty when the dataset is closed or empty. Throws DbError when the
// dataset has no id column.
QVector<qint64> SelectedRowIds(const DataSet& rows);

// Files the rows with these ids under the category, in one transaction; returns the number of
// rows changed. Throws DbError for an unknown list or a failed write (nothing is changed then).
int MoveToCategory(Database& db, const QString& list, const QVector<qint64>& ids, const QString& name,
                   const QString& code);
