#include "masterdata/MemberEditor.h"

#include "core/DataSet.h"
#include "core/Database.h"
#include "core/MsgBox.h"
#include "core/Routines.h"

#include <QDateTime>

const QVector<EditorField>& MemberEditor::Fields() {
    using F = EditorField;
    static const QVector<EditorField> fields = {
        {QStringLiteral("MemberCode"), QStringLiteral("EditMemberCode"), QObject::tr("会员卡号")},
        {QStringLiteral("MemberName"), QStringLiteral("EditMemberName"), QObject::tr("会员姓名")},
        {QStringLiteral("ShortName"), QStringLiteral("EditShortName"), QObject::tr("拼音简写")},
        {QStringLiteral("Birthday"), QStringLiteral("EditBirthday"), QObject::tr("会员生日")},
        {QStringLiteral("Sex"),
         QStringLiteral("ComboSex"),
         QObject::tr("性    别"),
         F::Choice,
         QString(),
         QString(),
         {QObject::tr("男"), QObject::tr("女")}},
        {QStringLiteral("Address"), QStringLiteral("EditAddress"), QObject::tr("地    址")},
        {QStringLiteral("idCard"), QStringLiteral("EditidCard"), QObject::tr("身份证号")},
        {QStringLiteral("Tel"), QStringLiteral("EditTel"), QObject::tr("联系电话")},
        {QStringLiteral("MemberType"),
         QStringLiteral("ComboMemberType"),
         QObject::tr("会员类别"),
         F::Choice,
         QString(),
         QString(),
         {QObject::tr("普通会员"), QObject::tr("高级会员")}},
        {QStringLiteral("Point"), QStringLiteral("EditPoint"), QObject::tr("会员积分"), F::Number},
        {QStringLiteral("Memo"), QStringLiteral("EditMemo"), QObject::tr("备    注")},
    };
    return fields;
}

const QStringList& MemberEditor::SaveOrder() {
    static const QStringList order = {
        QStringLiteral("MemberCode"), QStringLiteral("MemberName"), QStringLiteral("ShortName"),
        QStringLiteral("Birthday"),   QStringLiteral("Sex"),        QStringLiteral("Address"),
        QStringLiteral("idCard"),     QStringLiteral("Tel"),        QStringLiteral("MemberType"),
        QStringLiteral("Point"),      QStringLiteral("Memo"),
    };
    return order;
}

MemberEditor::MemberEditor(bool addMode) : RecordEditor(Fields()), AddMode(addMode) {}

void MemberEditor::NameChanged(const QString& name) {
    setText(QStringLiteral("MemberName"), name);
    setText(QStringLiteral("ShortName"), TextInitials(name));
}

bool MemberEditor::Submit(DataSet& list) {
    InputRejected = false;
    m_focus.clear();
    Database* db = list.database();
    if (!db)
        return false;
    // The card number is stored trimmed, so a padded number that is taken counts as taken.
    const QString code = text(QStringLiteral("MemberCode"));
    if (AddMode && exists(*db, QStringLiteral("tMember"), QStringLiteral("MemberCode"), code.trimmed())) {
        setText(QStringLiteral("MemberCode"), QString());
        return reject(QObject::tr("会员卡号重复，请确认后重新输入"), QStringLiteral("MemberCode"), Msg::Ok);
    }
    if (code.isEmpty())
        return reject(QObject::tr("会员编号不能为空！"), QStringLiteral("MemberCode"), Msg::Ok);
    const QString now =
        Now.isEmpty() ? QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : Now;
    const bool adding = AddMode;
    QString reason;
    const bool saved = write(list, AddMode, SaveOrder(), &reason, [adding, now](DataSet& row) {
        row.setValue(adding ? QStringLiteral("CreateDate") : QStringLiteral("EditDate"), now);
    });
    if (!saved) {
        MsgBox(QObject::tr("保存出现问题，请联系管理员！") + QLatin1Char('\n') + reason, Msg::Ok);
        return false;
    }
    MsgBox(QObject::tr("保存成功！"), Msg::Ok);
    return true;
}
