#pragma once

#include <QString>

// Operator passwords are stored as Argon2id hashes (libsodium's crypto_pwhash_str), never as
// the typed text. The comparison is exact: no trimming, letter case counts.
namespace PasswordHash {
QString hash(const QString& password);
bool verify(const QString& storedHash, const QString& password);
} // namespace PasswordHash
