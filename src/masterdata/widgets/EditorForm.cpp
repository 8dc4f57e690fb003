#include "masterdata/widgets/EditorForm.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/widgets/WidgetRoutines.h"
#include "masterdata/RecordEditor.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

EditorForm::EditorForm(QWidget* page, const QVector<EditorField>& fields, int columns,
                       std::function<void(const EditorField&)> pick)
    : m_page(page), m_layout(new QGridLayout(page)), m_fields(fields) {
    int cell = 0;
    for (const EditorField& f : m_fields) {
        QWidget* control = nullptr;
        QWidget* placed = nullptr;
        switch (f.kind) {
        case EditorField::Choice: {
            auto* box = new QComboBox(page);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->addItems(f.choices);
            box->setCurrentIndex(-1);
            control = placed = box;
            break;
        }
        case EditorField::Category:
        case EditorField::Zone: {
            auto* holder = new QWidget(page);
            auto* row = new QHBoxLayout(holder);
            row->setContentsMargins(0, 0, 0, 0);
            row->setSpacing(2);
            auto* edit = new QLineEdit(holder);
            auto* button = new QToolButton(holder);
            button->setObjectName(f.control + QStringLiteral("Button"));
            button->setText(QStringLiteral("…"));
            button->setFocusPolicy(Qt::NoFocus);
            row->addWidget(edit, 1);
            row->addWidget(button);
            const EditorField field = f;
            QObject::connect(button, &QToolButton::clicked, page, [pick, field]() {
                if (pick)
                    pick(field);
            });
            control = edit;
            placed = holder;
            break;
        }
        default: {
            auto* edit = new QLineEdit(page);
            if (f.kind == EditorField::Number) {
                auto* v = new QDoubleValidator(edit);
                v->setLocale(QLocale::c());
                v->setNotation(QDoubleValidator::StandardNotation);
                edit->setValidator(v);
            } else if (f.kind == EditorField::Money) {
                edit->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("^-?[0-9]{0,12}([.][0-9]{0,4})?$")), edit));
            }
            control = placed = edit;
            break;
        }
        }
        control->setObjectName(f.control);
        m_controls.insert(f.column.toLower(), control);
        if (f.kind == EditorField::Hidden) {
            control->hide();
            continue;
        }
        const int r = cell / columns;
        const int c = (cell % columns) * 3;
        ++cell;
        auto* label = new QLabel(f.caption, page);
        label->setObjectName(QStringLiteral("lbl") + f.column);
        label->setBuddy(control);
        m_layout->addWidget(label, r, c, Qt::AlignRight);
        if (f.suffix.isEmpty()) {
            m_layout->addWidget(placed, r, c + 1, 1, 2);
        } else {
            m_layout->addWidget(placed, r, c + 1);
            auto* suffix = new QLabel(f.suffix, page);
            suffix->setObjectName(QStringLiteral("lbl") + f.column + QStringLiteral("Unit"));
            m_layout->addWidget(suffix, r, c + 2);
        }
    }
    for (int c = 0; c < columns; ++c)
        m_layout->setColumnStretch(c * 3 + 1, 1);
}

QLineEdit* EditorForm::lineEdit(const QString& column) const {
    return qobject_cast<QLineEdit*>(control(column));
}

QComboBox* EditorForm::comboBox(const QString& column) const {
    return qobject_cast<QComboBox*>(control(column));
}

QString EditorForm::text(const QString& column) const {
    if (QLineEdit* e = lineEdit(column))
        return e->text();
    if (QComboBox* b = comboBox(column))
        return b->currentText();
    return QString();
}

void EditorForm::setText(const QString& column, const QString& text) {
    if (QLineEdit* e = lineEdit(column))
        e->setText(text);
    else if (QComboBox* b = comboBox(column))
        b->setEditText(text);
}

void EditorForm::fillChoices(bool keepText) {
    for (const EditorField& f : m_fields) {
        QComboBox* box = comboBox(f.column);
        if (!box || f.lookupList.isEmpty())
            continue;
        const QString kept = box->currentText();
        try {
            FillCombo(box, QStringLiteral("tOther"), QStringLiteral("name"), f.lookupList);
        } catch (const DbError& e) {
            MsgError(e.message());
        }
        box->setCurrentIndex(-1);
        box->setEditText(keepText ? kept : QString());
    }
}

void EditorForm::read(RecordEditor& editor) const {
    for (const EditorField& f : m_fields)
        editor.setText(f.column, text(f.column));
}

void EditorForm::write(const RecordEditor& editor) {
    for (const EditorField& f : m_fields)
        setText(f.column, editor.text(f.column));
}

void EditorForm::focusControl(const QString& objectName) {
    if (objectName.isEmpty())
        return;
    if (QWidget* w = m_page->window()->findChild<QWidget*>(objectName)) {
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->selectAll();
    }
}
