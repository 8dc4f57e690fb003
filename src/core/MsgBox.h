#pragma once

#include <QString>

#include <functional>

// Every message box of the program goes through MsgBox. The window layer installs an answerer
// that shows a real box; tests install a scripted one. Without an answerer the text goes to the
// log and the default button is returned.
namespace Msg {
enum Buttons { Ok = 0x0, OkCancel = 0x1, YesNoCancel = 0x3, YesNo = 0x4 };
enum Icon { IconError = 0x10, IconQuestion = 0x20, IconWarning = 0x30, IconInformation = 0x40 };
enum Result { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };
} // namespace Msg

struct MsgRequest {
    QString text;
    QString caption;
    int flags = 0;
    int buttons() const { return flags & 0x0F; }
    int icon() const { return flags & 0xF0; }
};

using MsgAnswerer = std::function<int(const MsgRequest&)>;

// Shows a message; returns the button pressed (Msg::IdOk, IdYes, ...). An empty caption gives
// the application's title.
int MsgBox(const QString& text, int flags = Msg::Ok | Msg::IconInformation, const QString& caption = QString());
// Installs the answerer; returns the previous one.
MsgAnswerer SetMsgAnswerer(MsgAnswerer answerer);
bool HasMsgAnswerer();
// Convenience forms with the program's captions.
void MsgInfo(const QString& text);                 // "提示", information
void MsgWarn(const QString& text);                 // "警告", error icon
void MsgError(const QString& text);                // "错误", error icon
bool MsgAsk(const QString& text, const QString& caption = QString()); // Yes/No question; true on Yes
