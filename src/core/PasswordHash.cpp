#include "core/PasswordHash.h"

#include "core/DbError.h"

#include <QObject>

#include <sodium.h>

namespace {

void ensureInit() {
    static const bool ok = sodium_init() >= 0;
    if (!ok)
        throw DbError(QObject::tr("密码库初始化失败"));
}

} // namespace

namespace PasswordHash {

QString hash(const QString& password) {
    ensureInit();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), quint64(utf8.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw DbError(QObject::tr("内存不足，无法保存密码"));
    return QString::fromLatin1(out);
}

bool verify(const QString& storedHash, const QString& password) {
    ensureInit();
    const QByteArray h = storedHash.toLatin1();
    if (!h.startsWith("$argon2"))
        return false;
    const QByteArray utf8 = password.toUtf8();
    return crypto_pwhash_str_verify(h.constData(), utf8.constData(), quint64(utf8.size())) == 0;
}

} // namespace PasswordHash
