#include "core/widgets/WidgetRoutines.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace {

// The next widget the Tab key reaches (widgets that take no tab focus are passed over).
QWidget* nextTabStop(QWidget* w) {
    QWidget* n = w->nextInFocusChain();
    while (n != w && !(n->focusPolicy() & Qt::TabFocus))
        n = n->nextInFocusChain();
    return n;
}

} // namespace

class TestWidgetRoutines : public QObject {
    Q_OBJECT
private slots:
    void tabOrderFollowsReadingOrder();
    void findActionIgnoresCase();
};

void TestWidgetRoutines::tabOrderFollowsReadingOrder() {
    QWidget form;
    auto* right = new QLineEdit(&form);
    right->setGeometry(200, 40, 100, 24);
    auto* left = new QLineEdit(&form);
    left->setGeometry(10, 40, 100, 24);
    auto* panel = new QWidget(&form); // a container: its children take their place in the order
    panel->setGeometry(0, 80, 400, 100);
    auto* inner = new QLineEdit(panel);
    inner->setGeometry(10, 10, 100, 24);
    auto* top = new QLineEdit(&form); // created last, placed highest
    top->setGeometry(10, 5, 100, 24);
    SetTabOrderByPosition(&form, true);
    QCOMPARE(nextTabStop(top), left);
    QCOMPARE(nextTabStop(left), right);
    QCOMPARE(nextTabStop(right), inner);
}

void TestWidgetRoutines::findActionIgnoresCase() {
    QWidget owner;
    auto* a = new QAction(&owner);
    a->setObjectName(QStringLiteral("SetSale"));
    const QList<QAction*> actions{a};
    QCOMPARE(FindAction(actions, QStringLiteral("setsale")), a);
    QCOMPARE(FindAction(actions, QStringLiteral("SetSales")), nullptr);
}

QTEST_MAIN(TestWidgetRoutines)
#include "tst_core_widgets.moc"
