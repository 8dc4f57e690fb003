#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// A report's rows as a table, for writing a spreadsheet: one column per memo of the first master
// data band, left to right, captioned by the page-header memo above it. A cell that is a single
// expression keeps its value (numbers stay numbers); others hold the printed text.
struct ReportTable {
    QString title;
    QStringList captions;
    // The display format of each column's memo ("0.00"), empty when none.
    QStringList formats;
    QList<QVariantList> rows;
    // The summary band's cells under their columns; empty when the report has no summary.
    QVariantList totals;
};
