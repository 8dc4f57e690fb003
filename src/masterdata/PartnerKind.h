#pragma once

#include "masterdata/EditorField.h"
#include "masterdata/MasterTable.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// What the supplier, customer and employee editors differ in: their boxes, the order a save
// assigns the columns, the unique column, the required boxes and their messages, captions, and
// whether the boxes are emptied after a new entry was saved.
struct PartnerKind {
    const MasterTable* table = nullptr;
    QVector<EditorField> fields;
    QStringList saveOrder;
    QString uniqueColumn;
    QString duplicateMessage;
    QVector<QPair<QString, QString>> required; // column, message when it is empty
    QString addCaption;
    QString editCaption;
    QString addButton;
    QString editButton;
    QString cancelButton;
    QString pageCaption; // empty: no page
    bool emptiesAfterAdding = false;
    QString treeCaption; // root caption of the category tree
    QString caller;      // caller id of the category and area pickers

    static const PartnerKind& supply();
    static const PartnerKind& custom();
    static const PartnerKind& employee();
};
