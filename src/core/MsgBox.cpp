#include "core/MsgBox.h"

#include <QCoreApplication>
#include <QDebug>

namespace {

MsgAnswerer& answerer() {
    static MsgAnswerer a;
    return a;
}

} // namespace

int MsgBox(const QString& text, int flags, const QString& caption) {
    MsgRequest r;
    r.text = text;
    r.flags = flags;
    r.caption = caption.isEmpty() ? QCoreApplication::applicationName() : caption;
    if (answerer())
        return answerer()(r);
    qInfo().noquote() << r.caption << ":" << text;
    switch (r.buttons()) {
    case Msg::YesNo:
    case Msg::YesNoCancel:
        return Msg::IdYes;
    default:
        return Msg::IdOk;
    }
}

MsgAnswerer SetMsgAnswerer(MsgAnswerer a) {
    MsgAnswerer old = answerer();
    answerer() = std::move(a);
    return old;
}

bool HasMsgAnswerer() { return bool(answerer()); }

void MsgInfo(const QString& text) { MsgBox(text, Msg::Ok | Msg::IconInformation, QObject::tr("提示")); }
void MsgWarn(const QString& text) { MsgBox(text, Msg::Ok | Msg::IconError, QObject::tr("警告")); }
void MsgError(const QString& text) { MsgBox(text, Msg::Ok | Msg::IconError, QObject::tr("错误")); }

bool MsgAsk(const QString& text, const QString& caption) {
    return MsgBox(text, Msg::YesNo | Msg::IconQuestion, caption.isEmpty() ? QObject::tr("提示") : caption) ==
           Msg::IdYes;
}
