#include "core/Database.h"
#include "core/PasswordHash.h"
#include "core/Schema.h"
#include "core/UData.h"
#include "core/widgets/Commands.h"
#include "shell/LoginLogic.h"
#include "shell/OperatorAdmin.h"
#include "shell/uChangePassword.h"
#include "shell/uSetUser.h"
#include "shell/widgets/AdminCommands.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <memory>

using O = OperatorAdmin::Outcome;

// Operators, permission groups and passwords: the rules without a window, then the two
// windows driven by objectName.
class TestShellAdmin : public QObject {
    Q_OBJECT
private slots:
    void permissionStringInTreeOrder_data();
    void permissionStringInTreeOrder();
    void ticksAreWholeEntries();
    void saveOperatorsAndGroups();
    void passwordsAreHashes();
    void changePasswordChecksInOrder_data();
    void changePasswordChecksInOrder();
    void administratorsAreProtected();
    void windowCopiesGroupIntoOperator();
    void windowModesAndDuplicate();
    void changePasswordWindow();
};

namespace {

qint64 idOf(Database& db, const QString& kind, const QString& name) {
    return db
        .scalar(QStringLiteral("SELECT id FROM tAdmin WHERE tablename = ? AND username = ?"), {kind, name})
        .toLongLong();
}

QString column(Database& db, qint64 id, const QString& col) {
    return db.scalar(QStringLiteral("SELECT %1 FROM tAdmin WHERE id = ?").arg(col), {id}).toString();
}

OperatorAdmin::Operator makeOp(const QString& name, const QString& password = QString(),
                               const QString& authority = QString()) {
    OperatorAdmin::Operator op;
    op.name = name;
    op.password = password;
    op.authority = authority;
    return op;
}

// A program folder with a new database and the data module on it, Admin logged in.
struct App {
    QTemporaryDir home;
    std::unique_ptr<TFrmData> data;
    ScriptedAnswers answers;

    App() {
        QDir(home.path()).mkpath(QStringLiteral("DataBase"));
        {
            Database db;
            db.create(QDir(home.path()).filePath(QStringLiteral("DataBase/Pelmora.db")));
            Schema::createNew(db, false);
            db.close();
        }
        data = std::make_unique<TFrmData>(home.path());
        data->FormCreate();
        Commands::setOperatorName(QStringLiteral("Admin"));
        RegisterAdminCommands();
    }
    Database& db() { return data->db(); }
};

template <typename T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

QTreeWidgetItem* nodeOf(QTreeWidget* tree, const QString& code) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == code)
            return *it;
    return nullptr;
}

} // namespace

void TestShellAdmin::permissionStringInTreeOrder_data() {
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("headings add nothing") << QStringList{"01", "02"} << QString();
    QTest::newRow("tree order") << QStringList{"01", "0101", "0102", "0505"}
                                << QStringLiteral("|SetUser|ClearData|RunningAccount");
    QTest::newRow("unknown code") << QStringList{"9999", "0232"} << QStringLiteral("|Account");
}

void TestShellAdmin::permissionStringInTreeOrder() {
    QFETCH(QStringList, codes);
    QFETCH(QString, expected);
    TestDatabase t;
    QCOMPARE(OperatorAdmin::permissionString(t.db(), codes), expected);
}

void TestShellAdmin::ticksAreWholeEntries() {
    TestDatabase t;
    // Account occurs inside RunningAccount but is a different command.
    QCOMPARE(OperatorAdmin::tickedCodes(t.db(), QStringLiteral("|RunningAccount")), QStringList{"0505"});
    QCOMPARE(OperatorAdmin::tickedCodes(t.db(), QStringLiteral("|Account|SetUser")),
             (QStringList{"0101", "0232"}));
    QVERIFY(OperatorAdmin::tickedCodes(t.db(), QString()).isEmpty());
}

void TestShellAdmin::saveOperatorsAndGroups() {
    TestDatabase t;
    Database& db = t.db();
    qint64 id = -1;
    // Names with a quote are plain values; names are kept trimmed.
    QCOMPARE(OperatorAdmin::saveOperator(
                 db, -1,
                 makeOp(QStringLiteral(" O'Brien "), QStringLiteral("pw"), QStringLiteral("|Account")), &id),
             O::Ok);
    QCOMPARE(column(db, id, QStringLiteral("username")), QStringLiteral("O'Brien"));
    QCOMPARE(column(db, id, QStringLiteral("authority")), QStringLiteral("|Account"));
    QCOMPARE(OperatorAdmin::saveGroup(db, -1, QStringLiteral("店员'组"), QStringLiteral("备注"),
                                      QStringLiteral("|Backup")),
             O::Ok);
    QCOMPARE(OperatorAdmin::groupNames(db), QStringList{QStringLiteral("店员'组")});
    QCOMPARE(OperatorAdmin::groupPermissions(db, QStringLiteral("店员'组")), QStringLiteral("|Backup"));

    // Duplicates: whatever the spacing or letter case, on adding and on renaming; a group may
    // share an operator's name.
    struct Case {
        const char* tag;
        bool group;
        qint64 id;
        QString name;
        O expected;
    };
    const qint64 admin = idOf(db, QStringLiteral("user"), QStringLiteral("Admin"));
    const QList<Case> cases = {
        {"operator again", false, -1, QStringLiteral("o'brien "), O::DuplicateOperator},
        {"operator renamed onto another", false, admin, QStringLiteral("O'Brien"), O::DuplicateOperator},
        {"group again", true, -1, QStringLiteral(" 店员'组"), O::DuplicateGroup},
        {"group named like an operator", true, -1, QStringLiteral("Admin"), O::Ok},
        {"operator keeps its own name", false, id, QStringLiteral("O'BRIEN"), O::Ok},
    };
    for (const Case& c : cases) {
        const int before = db.scalar(QStringLiteral("SELECT count(*) FROM tAdmin")).toInt();
        const O r = c.group ? OperatorAdmin::saveGroup(db, c.id, c.name, QString(), QString())
                            : OperatorAdmin::saveOperator(
                                  db, c.id, makeOp(c.name, QString(), QStringLiteral("|SetUser")));
        QVERIFY2(r == c.expected, c.tag);
        if (r != O::Ok)
            QVERIFY2(db.scalar(QStringLiteral("SELECT count(*) FROM tAdmin")).toInt() == before, c.tag);
    }
    QCOMPARE(OperatorAdmin::message(O::DuplicateOperator), QStringLiteral("操作员名称重复，请重新输入！"));
    QCOMPARE(OperatorAdmin::message(O::DuplicateGroup), QStringLiteral("权限组名称重复，请重新输入！"));
    QCOMPARE(column(db, admin, QStringLiteral("username")), QStringLiteral("Admin"));

    // Editing a group that was deleted meanwhile writes nothing.
    QCOMPARE(OperatorAdmin::saveGroup(db, 9999, QStringLiteral("x"), QString(), QString()), O::NotFound);
}

void TestShellAdmin::passwordsAreHashes() {
    TestDatabase t;
    Database& db = t.db();
    qint64 id = -1;
    QCOMPARE(
        OperatorAdmin::saveOperator(db, -1, makeOp(QStringLiteral("张三"), QStringLiteral(" Secret1 ")), &id),
        O::Ok);
    const QString stored = column(db, id, QStringLiteral("password"));
    QVERIFY(!stored.contains(QStringLiteral("Secret1")));
    QVERIFY(stored.startsWith(QStringLiteral("$argon2id$")));
    QCOMPARE(LoginLogic::check(db, QStringLiteral("张三"), QStringLiteral("Secret1")),
             LoginLogic::Result::Ok);
    QCOMPARE(LoginLogic::check(db, QStringLiteral("张三"), QStringLiteral("secret1")),
             LoginLogic::Result::WrongPassword);

    // Editing with an empty box keeps the password; a typed one replaces it.
    OperatorAdmin::Operator op = makeOp(QStringLiteral("张三"));
    op.memo = QStringLiteral("收银");
    QCOMPARE(OperatorAdmin::saveOperator(db, id, op), O::Ok);
    QCOMPARE(column(db, id, QStringLiteral("password")), stored);
    QCOMPARE(column(db, id, QStringLiteral("memo")), QStringLiteral("收银"));
    op.password = QStringLiteral("new");
    QCOMPARE(OperatorAdmin::saveOperator(db, id, op), O::Ok);
    QVERIFY(PasswordHash::verify(column(db, id, QStringLiteral("password")), QStringLiteral("new")));
}

void TestShellAdmin::changePasswordChecksInOrder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("repeat");
    QTest::addColumn<int>("expected");
    // The old password is checked first, exactly, against the hash.
    QTest::newRow("wrong old and mismatch") << "李四"
                                            << "x"
                                            << "a"
                                            << "b" << int(O::WrongOldPassword);
    QTest::newRow("old differs in case") << "李四"
                                         << "OLD"
                                         << "a"
                                         << "a" << int(O::WrongOldPassword);
    QTest::newRow("old with spaces") << "李四"
                                     << " old"
                                     << "a"
                                     << "a" << int(O::WrongOldPassword);
    QTest::newRow("unknown name") << "nobody"
                                  << "old"
                                  << "a"
                                  << "a" << int(O::WrongOldPassword);
    QTest::newRow("groups have no password") << "组"
                                             << ""
                                             << "a"
                                             << "a" << int(O::WrongOldPassword);
    QTest::newRow("repeat differs") << "李四"
                                    << "old"
                                    << "a"
                                    << "a " << int(O::PasswordsDiffer);
    QTest::newRow("changed, kept as typed") << "李四"
                                            << "old"
                                            << " n'ew "
                                            << " n'ew " << int(O::Ok);
}

void TestShellAdmin::changePasswordChecksInOrder() {
    QFETCH(QString, name);
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, repeat);
    QFETCH(int, expected);
    TestDatabase t;
    Database& db = t.db();
    qint64 id = -1;
    OperatorAdmin::saveOperator(db, -1, makeOp(QStringLiteral("李四"), QStringLiteral("old")), &id);
    OperatorAdmin::saveGroup(db, -1, QStringLiteral("组"), QString(), QString());
    const QString before = column(db, id, QStringLiteral("password"));
    QCOMPARE(int(OperatorAdmin::changePassword(db, name, oldPassword, newPassword, repeat)), expected);
    const QString after = column(db, id, QStringLiteral("password"));
    if (expected == int(O::Ok)) {
        QVERIFY(PasswordHash::verify(after, newPassword));
        QVERIFY(!after.contains(newPassword.trimmed()));
    } else {
        QCOMPARE(after, before);
    }
    QVERIFY(db.scalar(QStringLiteral("SELECT password FROM tAdmin WHERE tablename = 'team'")).isNull());
}

void TestShellAdmin::administratorsAreProtected() {
    TestDatabase t;
    Database& db = t.db();
    const qint64 admin = idOf(db, QStringLiteral("user"), QStringLiteral("Admin"));
    qint64 clerk = -1;
    OperatorAdmin::saveOperator(
        db, -1, makeOp(QStringLiteral("店员"), QString(), QStringLiteral("|RunningAccount")), &clerk);

    // Admin is the only one who may open the operator window.
    QCOMPARE(OperatorAdmin::saveOperator(
                 db, admin, makeOp(QStringLiteral("Admin"), QString(), QStringLiteral("|Account"))),
             O::LastAdministrator);
    QVERIFY(column(db, admin, QStringLiteral("authority")).contains(QStringLiteral("|SetUser")));
    QCOMPARE(OperatorAdmin::canDeleteOperator(db, admin, QStringLiteral("店员")), O::LastAdministrator);
    QCOMPARE(OperatorAdmin::canDeleteOperator(db, clerk, QStringLiteral("店员")), O::CurrentOperator);
    QCOMPARE(OperatorAdmin::canDeleteOperator(db, clerk, QStringLiteral("Admin")), O::Ok);
    QCOMPARE(OperatorAdmin::canDeleteOperator(db, admin, QStringLiteral("admin")), O::CurrentOperator);

    // A second holder frees the first; a name merely containing SetUser does not count.
    QCOMPARE(OperatorAdmin::saveOperator(
                 db, clerk, makeOp(QStringLiteral("店员"), QString(), QStringLiteral("|SetUserX"))),
             O::Ok);
    QCOMPARE(OperatorAdmin::canDeleteOperator(db, admin, QStringLiteral("店员")), O::LastAdministrator);
    QCOMPARE(OperatorAdmin::saveOperator(
                 db, clerk, makeOp(QStringLiteral("店员"), QString(), QStringLiteral("|SetUser"))),
             O::Ok);
    QCOMPARE(OperatorAdmin::canDeleteOperator(db, admin, QStringLiteral("店员")), O::Ok);
    QCOMPARE(OperatorAdmin::saveOperator(db, admin, makeOp(QStringLiteral("Admin"), QString(), QString())),
             O::Ok);
    QVERIFY(OperatorAdmin::message(O::LastAdministrator).contains(QStringLiteral("操作员管理")));
}

void TestShellAdmin::windowCopiesGroupIntoOperator() {
    App app;
    Database& db = app.db();
    OperatorAdmin::saveGroup(db, -1, QStringLiteral("收银组"), QString(),
                             QStringLiteral("|RunningAccount|Backup"));
    OperatorAdmin::saveOperator(db, -1, makeOp(QStringLiteral("王五"), QString(), QString()));

    TFrmSetUser w;
    QCOMPARE(w.windowTitle(), QStringLiteral("操作员管理"));
    auto* tree = child<QTreeWidget>(&w, "RzCheckTree2");
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("操作权限"));
    // Admin is shown first, with every command ticked.
    QCOMPARE(tree->topLevelItem(0)->checkState(0), Qt::Checked);

    // Ticking a heading ticks its commands; the string follows the tree.
    tree->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    nodeOf(tree, QStringLiteral("0505"))->setCheckState(0, Qt::Checked);
    nodeOf(tree, QStringLiteral("0101"))->setCheckState(0, Qt::Checked);
    QCOMPARE(nodeOf(tree, QStringLiteral("01"))->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(w.treePermissions(), QStringLiteral("|SetUser|RunningAccount"));

    // Choose 王五, give him the group, save: the group's ticks become his permissions.
    FrmData->QryUser.setRecNo(1);
    QCOMPARE(child<QLineEdit>(&w, "EditUserName")->text(), QStringLiteral("王五"));
    child<QAction>(&w, "aEditUser")->trigger();
    auto* combo = child<QComboBox>(&w, "ComboType");
    combo->setCurrentIndex(combo->findText(QStringLiteral("收银组")));
    emit combo->textActivated(QStringLiteral("收银组"));
    QCOMPARE(nodeOf(tree, QStringLiteral("0505"))->checkState(0), Qt::Checked);
    QCOMPARE(nodeOf(tree, QStringLiteral("0232"))->checkState(0), Qt::Unchecked);
    child<QAction>(&w, "aSaveUser")->trigger();
    QCOMPARE(app.answers.texts().last(), QStringLiteral("保存成功！"));
    const qint64 wang = idOf(db, QStringLiteral("user"), QStringLiteral("王五"));
    QCOMPARE(column(db, wang, QStringLiteral("authority")), QStringLiteral("|Backup|RunningAccount"));
    QCOMPARE(column(db, wang, QStringLiteral("team")), QStringLiteral("收银组"));

    // Changing the group afterwards leaves him as he is; deleting it leaves his label.
    child<QTabWidget>(&w, "pcUser")->setCurrentIndex(1);
    QCOMPARE(child<QLineEdit>(&w, "EditTypeName")->text(), QStringLiteral("收银组"));
    child<QAction>(&w, "aEditTeam")->trigger();
    nodeOf(tree, QStringLiteral("0232"))->setCheckState(0, Qt::Checked);
    child<QAction>(&w, "aSaveTeam")->trigger();
    QVERIFY(
        OperatorAdmin::groupPermissions(db, QStringLiteral("收银组")).contains(QStringLiteral("|Account")));
    app.answers.queue(Msg::IdYes);
    child<QAction>(&w, "aDelTeam")->trigger();
    QCOMPARE(OperatorAdmin::groupNames(db), QStringList());
    QCOMPARE(column(db, wang, QStringLiteral("authority")), QStringLiteral("|Backup|RunningAccount"));
    QCOMPARE(column(db, wang, QStringLiteral("team")), QStringLiteral("收银组"));
}

void TestShellAdmin::windowModesAndDuplicate() {
    App app;
    Database& db = app.db();
    TFrmSetUser w;
    auto* add = child<QAction>(&w, "aAddUser");
    auto* save = child<QAction>(&w, "aSaveUser");
    auto* cancel = child<QAction>(&w, "aCancelUser");
    auto* del = child<QAction>(&w, "aDelUser");
    QVERIFY(add->isEnabled() && del->isEnabled() && !save->isEnabled() && !cancel->isEnabled());

    // A new operator right after Admin keeps Admin's ticks; a taken name keeps the add mode.
    add->trigger();
    QVERIFY(!add->isEnabled() && save->isEnabled());
    child<QLineEdit>(&w, "EditUserName")->setText(QStringLiteral(" admin"));
    save->trigger();
    QCOMPARE(app.answers.texts().last(), QStringLiteral("操作员名称重复，请重新输入！"));
    QVERIFY(save->isEnabled());
    child<QLineEdit>(&w, "EditUserName")->setText(QStringLiteral("O'Neil"));
    child<QLineEdit>(&w, "EditPassword")->setText(QStringLiteral("pw"));
    save->trigger();
    QCOMPARE(app.answers.texts().last(), QStringLiteral("保存成功！"));
    QVERIFY(add->isEnabled() && !save->isEnabled());
    const qint64 neil = idOf(db, QStringLiteral("user"), QStringLiteral("O'Neil"));
    QCOMPARE(column(db, neil, QStringLiteral("authority")), Schema::allAuthorities(db));
    QCOMPARE(child<QLineEdit>(&w, "EditUserName")->text(), QStringLiteral("O'Neil"));

    // The logged-in operator cannot be deleted; another one can, after the question.
    FrmData->QryUser.setRecNo(0);
    app.answers.clear();
    del->trigger();
    QCOMPARE(app.answers.texts(), QStringList{QStringLiteral("不能删除当前登录的操作员！")});
    FrmData->QryUser.setRecNo(1);
    app.answers.clear();
    app.answers.queue(Msg::IdYes);
    del->trigger();
    QCOMPARE(app.answers.texts(), QStringList{QStringLiteral("您确定要删除这条记录吗？")});
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM tAdmin WHERE tablename = 'user'")).toInt(), 1);

    // Admin cannot untick his own operator window while nobody else holds it.
    child<QAction>(&w, "aEditUser")->trigger();
    nodeOf(child<QTreeWidget>(&w, "RzCheckTree2"), QStringLiteral("0101"))->setCheckState(0, Qt::Unchecked);
    save->trigger();
    QCOMPARE(app.answers.texts().last(), OperatorAdmin::message(O::LastAdministrator));
    QCOMPARE(
        column(db, idOf(db, QStringLiteral("user"), QStringLiteral("Admin")), QStringLiteral("authority")),
        Schema::allAuthorities(db));
    QCOMPARE(nodeOf(child<QTreeWidget>(&w, "RzCheckTree2"), QStringLiteral("0101"))->checkState(0),
             Qt::Checked);
}

void TestShellAdmin::changePasswordWindow() {
    App app;
    Database& db = app.db();
    QVERIFY(Commands::has(QStringLiteral("SetUser")) && Commands::has(QStringLiteral("ChangePassword")));
    TFrmChangePassword w;
    QCOMPARE(w.windowTitle(), QStringLiteral("修改密码"));
    QCOMPARE(child<QLineEdit>(&w, "EditUserName")->text(), QStringLiteral("Admin"));
    auto* oldBox = child<QLineEdit>(&w, "EditOldPassword");
    auto* newBox = child<QLineEdit>(&w, "EditNewPassword");
    auto* repeat = child<QLineEdit>(&w, "EditRepeat");
    auto* ok = child<QPushButton>(&w, "BtnOk");

    oldBox->setText(QStringLiteral("wrong"));
    newBox->setText(QStringLiteral("a"));
    repeat->setText(QStringLiteral("a"));
    ok->click();
    QCOMPARE(app.answers.texts().last(), QStringLiteral("请输入正确的原始密码!"));
    QVERIFY(oldBox->text().isEmpty());
    repeat->setText(QStringLiteral("b"));
    ok->click();
    QCOMPARE(app.answers.texts().last(), QStringLiteral("两次输入的密码不一致，请重新输入!"));
    QVERIFY(newBox->text().isEmpty() && repeat->text().isEmpty());
    newBox->setText(QStringLiteral("新密码"));
    repeat->setText(QStringLiteral("新密码"));
    ok->click();
    QCOMPARE(app.answers.texts().last(), QStringLiteral("修改成功!"));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(LoginLogic::check(db, QStringLiteral("Admin"), QStringLiteral("新密码")),
             LoginLogic::Result::Ok);
}

QTEST_MAIN(TestShellAdmin)
#include "tst_shell_admin.moc"
