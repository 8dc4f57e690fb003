#pragma once

#include "masterdata/EditorField.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <functional>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QWidget;
class RecordEditor;

// The boxes of an editor laid out from its field table: a caption and a control per field, in
// reading order over a number of columns. Numbers and money get validators, lookup lists fill
// their combo boxes, category and area boxes get a button that runs the given picker.
class EditorForm {
public:
    // pick is called with the field whose button was pressed.
    EditorForm(QWidget* page, const QVector<EditorField>& fields, int columns,
               std::function<void(const EditorField&)> pick = {});

    QWidget* control(const QString& column) const { return m_controls.value(column.toLower()); }
    QLineEdit* lineEdit(const QString& column) const;
    QComboBox* comboBox(const QString& column) const;
    QGridLayout* layout() const { return m_layout; }

    QString text(const QString& column) const;
    void setText(const QString& column, const QString& text);
    // Fills the choices of the combo boxes with a lookup list; keepText leaves what the boxes
    // show, otherwise they are emptied.
    void fillChoices(bool keepText);

    // Control texts into the editor, and back.
    void read(RecordEditor& editor) const;
    void write(const RecordEditor& editor);
    // Focus on the control with that objectName.
    void focusControl(const QString& objectName);

private:
    QWidget* m_page;
    QGridLayout* m_layout;
    QVector<EditorField> m_fields;
    QHash<QString, QWidget*> m_controls; // by column, lower case
};
