#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class DataSet;

// Grid column sets: the rows of tFieldShow under one TableName say which fields a grid shows,
// in which order, with which caption, width, decimals and footer sum. These routines hold the
// rules; DataGrid and the column chooser window only show them.

// A grid loads at most this many columns (the first ones by ShowID).
constexpr int MaxGridColumns = 51;

// One shown column of a set, as the grid lays it out.
struct GridColumn {
    QString field;
    QString caption;
    int width = 80;
    bool sum = false;    // the footer shows the column's sum
    bool button = false; // the cell offers an ellipsis button
    bool readOnly = false;
    int decimals = -1;      // number of decimals shown, -1 for the default display
    QString format() const; // DecimalFormat(decimals)
};

// One title sort marker: the field and its direction, kept in marking order.
struct SortMarker {
    QString field;
    bool descending = false;
};

// Position and width of a shown column after the user dragged it.
struct ColumnLayout {
    QString field;
    int width = 80;
};

// The two lists of the column chooser: captions of hidden and of shown columns, without the
// rows marked showmoney (those keep their state).
struct ColumnChoice {
    QStringList hidden;
    QStringList shown;
};

// "0" for 0 decimals, "0.0" ... "0.0000000000" for 1 to 10, an empty text (no format) otherwise.
QString DecimalFormat(int decimals);
// Decimals of a format from DecimalFormat; -1 for an empty or foreign format.
int DecimalsOfFormat(const QString& format);
// The decimals a DotSize names: 1 DotPrice, 2 DotNumber, 3 DotMoney (g_decimals); -1 (no
// format) for any other value or a setting outside 0..10.
int DotSizeDecimals(int dotSize);

// The shown columns of a set in ShowID order (at most MaxGridColumns), decimals resolved from
// the current g_decimals. Throws DbError when the database cannot be read.
QVector<GridColumn> ReadGridColumns(const QString& setName);

// Stores ShowID (0, 1, 2 ... in the given order) and width of each column, in one transaction.
// Fewer than two columns store nothing and show nothing. With showMessage, confirms with
// "列属性已成功保存!". Returns true when something was stored; throws DbError on failure.
bool SaveGridColumns(const QString& setName, const QVector<ColumnLayout>& columns, bool showMessage);

// The sort text of the markers: "  A, B DESC " style (two blanks in front, pieces joined by
// ", ", descending fields followed by " DESC "). Fields that are not plain identifiers or not
// fields of the dataset are left out; no marker gives an empty text.
QString SortTextFromMarkers(const QVector<SortMarker>& markers, const DataSet& dataSet);
// The markers a sort text stands for (fields of the dataset only), e.g. to show them again
// after the grid was reloaded.
QVector<SortMarker> MarkersFromSortText(const QString& sortText, const DataSet& dataSet);
// Sorts an open dataset by the markers (no marker restores the order of the result).
void SortByMarkers(DataSet& dataSet, const QVector<SortMarker>& markers);
// The marker list after a click on the title of field: none -> ascending -> descending -> none.
// A newly marked field goes to the end; a field that changes direction keeps its place.
QVector<SortMarker> ToggleSortMarker(const QVector<SortMarker>& markers, const QString& field);

// The chooser's lists of a set (rows in stored order). Throws DbError.
ColumnChoice ReadColumnChoice(const QString& setName);
// Moves entry index of from to the end of to; false when index is out of range.
bool MoveColumnEntry(QStringList& from, QStringList& to, int index);
// Moves every entry of from to the end of to, in order.
void MoveAllColumnEntries(QStringList& from, QStringList& to);
// Stores the chooser's lists: every caption of hidden gets show off, every caption of shown
// gets show on (rows of the set with that trimmed caption, showmoney rows excepted), in one
// transaction. Throws DbError; nothing is stored then.
void StoreColumnChoice(const QString& setName, const ColumnChoice& choice);
