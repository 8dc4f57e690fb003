#include "core/widgets/DateTarget.h"

#include <QDateEdit>
#include <QPointer>

namespace {

struct State {
    QPointer<QDateEdit> from;
    QPointer<QDateEdit> to;
    DateTarget::MenuPopup popup;
};

State& state() {
    static State s;
    return s;
}

} // namespace

namespace DateTarget {

void setMenuPopup(MenuPopup popup) {
    state().popup = std::move(popup);
}

void set(QDateEdit* from, QDateEdit* to) {
    state().from = from;
    state().to = to;
}

void popup(QDateEdit* from, QDateEdit* to, const QPoint& globalPos) {
    set(from, to);
    if (state().popup)
        state().popup(from ? from->window() : nullptr, globalPos);
}

void clear() {
    set(nullptr, nullptr);
}

QDateEdit* from() {
    return state().from;
}

QDateEdit* to() {
    return state().to;
}

bool apply(const QDate& start, const QDate& end) {
    State& s = state();
    if (!s.from || !s.to)
        return false;
    s.from->setDate(start);
    s.to->setDate(end);
    return true;
}

} // namespace DateTarget
