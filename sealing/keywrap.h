#pragma once

#include "sealing/classkey.h"

#include <QString>

#include <memory>

// The class key wrapped under the school's password, as one line of text:
//     skrivlo-noegle-1$<key id>$<passes>$<memory, KiB>$<salt>$<nonce>$<wrapped key>
// (salt, nonce and wrapped key in base64). Argon2id (libsodium's crypto_pwhash) derives a key
// from the password with the line's own salt and cost; XChaCha20-Poly1305 opens the class key
// with it, the rest of the line bound in as associated data. A right password is one that
// opens the key: the same slow derivation checks the password and unlocks the class folder.
// Changing the password wraps the same key anew; nothing sealed with it changes.
namespace KeyWrap {

struct Cost
{
    quint64 passes;
    quint64 memoryKiB;
};

// What a school's password is wrapped with: at least half a second and 64 MiB on the build
// machine, so that guessing from a copied line costs an attacker as much.
Cost schoolCost();
// Far cheaper, for tests that unlock many times: never written by the program itself.
Cost testCost();

// The line for key under password; empty when libsodium cannot work here.
QString wrap(const ClassKey &key, const QString &password, Cost cost = schoolCost());

// Whether the line has the form wrap() writes, with a cost a reader will pay (a line that
// asks for more memory or time than any school's would is refused, never tried).
bool isWellFormed(const QString &line);
QString keyIdOf(const QString &line);
Cost costOf(const QString &line);

// The class key when password opens the line, else null.
std::shared_ptr<const ClassKey> unwrap(const QString &line, const QString &password);

} // namespace KeyWrap
