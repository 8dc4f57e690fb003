#include "support/TestSupport.h"

#include "core/Schema.h"

#include <QDir>

ScriptedAnswers::ScriptedAnswers() {
    m_previous = SetMsgAnswerer([this](const MsgRequest& r) {
        shown << r;
        if (!m_script.isEmpty())
            return m_script.takeFirst();
        switch (r.buttons()) {
        case Msg::YesNo:
        case Msg::YesNoCancel:
            return int(Msg::IdYes);
        default:
            return int(Msg::IdOk);
        }
    });
}

ScriptedAnswers::~ScriptedAnswers() { SetMsgAnswerer(m_previous); }

QStringList ScriptedAnswers::texts() const {
    QStringList l;
    for (const MsgRequest& r : shown)
        l << r.text;
    return l;
}

TestDatabase::TestDatabase(bool demo) : m_db(std::make_unique<Database>()) {
    m_path = QDir(m_dir.path()).filePath(QStringLiteral("test.db"));
    m_db->create(m_path);
    Schema::createNew(*m_db, demo);
    Database::setCurrent(m_db.get());
}

TestDatabase::~TestDatabase() {
    if (Database::current() == m_db.get())
        Database::setCurrent(nullptr);
    m_db->close();
}
