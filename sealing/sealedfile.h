#pragma once

#include "sealing/classkey.h"
#include "sealing/keyring.h"

#include <QByteArray>
#include <QString>

// A file of the class folder, sealed: encrypted and authenticated with the class key
// (XChaCha20-Poly1305, libsodium's AEAD), its own name bound in as associated data, so that
// a file changed, cut off, renamed or put in another learner's place does not open.
//
//     "SKRIVLO-FORSEGLET 1\n"     the format and its version
//     "<key id, 16 hex>\n"        which class key sealed it
//     nonce (24 random bytes)
//     ciphertext with its 16-byte tag
//
// The associated data is the two header lines followed by the file's name in UTF-8.
namespace SealedFile {

// The name a sealed file gets in a folder: the plain name with this ending.
QString suffix();
QString sealedName(const QString &plainName);
// The plain name of a sealed one, or an empty string when it is not one.
QString plainName(const QString &sealedName);

// Nothing the program seals is larger; a bigger file is damaged, never read into memory.
constexpr qint64 largestFile = 4 * 1024 * 1024;

// The sealed bytes of plain, for the file called name (the plain name).
QByteArray seal(const ClassKey &key, const QString &name, const QByteArray &plain);

enum class Opened {
    Yes,
    NotSealed,   // a plain file, as written before the class folder was sealed
    OtherKey,    // sealed with a key this reader does not hold (another class folder's)
    Changed,     // changed, cut off, renamed or of a newer format: not to be trusted
};

// Opens bytes read from the file called name; plain holds the contents when Yes.
Opened open(const Keyring &keys, const QString &name, const QByteArray &bytes, QByteArray *plain);

} // namespace SealedFile
