#include "sealing/keywrap.h"

#include <QByteArray>
#include <QStringList>

#include <sodium.h>

namespace {

const QString scheme = QStringLiteral("skrivlo-noegle-1");
constexpr int saltLength = crypto_pwhash_SALTBYTES;
constexpr int nonceLength = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr int wrappedLength = ClassKey::size + crypto_aead_xchacha20poly1305_ietf_ABYTES;
// What a reader pays at the most: a line may not make a PC wait minutes or run out of memory.
constexpr quint64 mostPasses = 20;
constexpr quint64 mostMemoryKiB = 1024 * 1024;
constexpr quint64 leastMemoryKiB = 8 * 1024;

struct Parts
{
    QString keyId;
    quint64 passes = 0;
    quint64 memoryKiB = 0;
    QByteArray salt;
    QByteArray nonce;
    QByteArray wrapped;
    QByteArray associated; // the line up to the nonce
};

QByteArray fromBase64(const QString &text, int length, bool *ok)
{
    const auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    *ok = *ok && decoded && decoded.decoded.size() == length;
    return decoded.decoded;
}

bool parse(const QString &line, Parts *parts)
{
    const QStringList fields = line.split(QLatin1Char('$'));
    if (fields.size() != 7 || fields.at(0) != scheme || fields.at(1).size() != 16)
        return false;
    bool ok = true;
    parts->keyId = fields.at(1);
    for (const QChar c : parts->keyId)
        ok = ok && ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')));
    bool number = false;
    parts->passes = fields.at(2).toULongLong(&number);
    ok = ok && number && parts->passes >= crypto_pwhash_OPSLIMIT_MIN && parts->passes <= mostPasses;
    parts->memoryKiB = fields.at(3).toULongLong(&number);
    ok = ok && number && parts->memoryKiB >= leastMemoryKiB && parts->memoryKiB <= mostMemoryKiB;
    parts->salt = fromBase64(fields.at(4), saltLength, &ok);
    parts->nonce = fromBase64(fields.at(5), nonceLength, &ok);
    parts->wrapped = fromBase64(fields.at(6), wrappedLength, &ok);
    parts->associated = QStringList(fields.mid(0, 5)).join(QLatin1Char('$')).toLatin1();
    return ok;
}

// The key Argon2id derives from the password, in guarded memory, or null.
struct DerivedKey
{
    unsigned char *bytes = nullptr;
    ~DerivedKey()
    {
        if (bytes)
            sodium_free(bytes);
    }
};

bool derive(DerivedKey *out, const QString &password, const QByteArray &salt, quint64 passes, quint64 memoryKiB)
{
    out->bytes = static_cast<unsigned char *>(sodium_malloc(crypto_aead_xchacha20poly1305_ietf_KEYBYTES));
    if (!out->bytes)
        return false;
    // Letters typed on another system in decomposed form are the same letters.
    QByteArray word = password.normalized(QString::NormalizationForm_C).toUtf8();
    const int result = crypto_pwhash(out->bytes, crypto_aead_xchacha20poly1305_ietf_KEYBYTES, word.constData(),
                                     word.size(), reinterpret_cast<const unsigned char *>(salt.constData()), passes,
                                     size_t(memoryKiB) * 1024, crypto_pwhash_ALG_ARGON2ID13);
    sodium_memzero(word.data(), word.size());
    return result == 0;
}

} // namespace

namespace KeyWrap {

Cost schoolCost()
{
    return { 9, 128 * 1024 };
}

Cost testCost()
{
    return { 1, leastMemoryKiB };
}

QString wrap(const ClassKey &key, const QString &password, Cost cost)
{
    if (!sodiumReady())
        return QString();
    QByteArray salt(saltLength, Qt::Uninitialized);
    randombytes_buf(salt.data(), saltLength);
    QByteArray nonce(nonceLength, Qt::Uninitialized);
    randombytes_buf(nonce.data(), nonceLength);
    const QString head = QStringList { scheme, key.id(), QString::number(cost.passes),
                                       QString::number(cost.memoryKiB), QString::fromLatin1(salt.toBase64()) }
                                 .join(QLatin1Char('$'));
    const QByteArray associated = head.toLatin1();
    DerivedKey derived;
    if (!derive(&derived, password, salt, cost.passes, cost.memoryKiB))
        return QString();
    QByteArray wrapped(wrappedLength, Qt::Uninitialized);
    unsigned long long length = 0;
    const int result = key.use([&](const unsigned char *k) {
        return crypto_aead_xchacha20poly1305_ietf_encrypt(
                reinterpret_cast<unsigned char *>(wrapped.data()), &length, k, ClassKey::size,
                reinterpret_cast<const unsigned char *>(associated.constData()), associated.size(), nullptr,
                reinterpret_cast<const unsigned char *>(nonce.constData()), derived.bytes);
    });
    if (result != 0 || length != wrappedLength)
        return QString();
    return head + QLatin1Char('$') + QString::fromLatin1(nonce.toBase64()) + QLatin1Char('$')
            + QString::fromLatin1(wrapped.toBase64());
}

bool isWellFormed(const QString &line)
{
    Parts parts;
    return parse(line, &parts);
}

QString keyIdOf(const QString &line)
{
    Parts parts;
    return parse(line, &parts) ? parts.keyId : QString();
}

Cost costOf(const QString &line)
{
    Parts parts;
    parse(line, &parts);
    return { parts.passes, parts.memoryKiB };
}

std::shared_ptr<const ClassKey> unwrap(const QString &line, const QString &password)
{
    Parts parts;
    if (!sodiumReady() || !parse(line, &parts))
        return nullptr;
    DerivedKey derived;
    if (!derive(&derived, password, parts.salt, parts.passes, parts.memoryKiB))
        return nullptr;
    unsigned char *opened = static_cast<unsigned char *>(sodium_malloc(ClassKey::size));
    if (!opened)
        return nullptr;
    unsigned long long length = 0;
    const int result = crypto_aead_xchacha20poly1305_ietf_decrypt(
            opened, &length, nullptr, reinterpret_cast<const unsigned char *>(parts.wrapped.constData()),
            parts.wrapped.size(), reinterpret_cast<const unsigned char *>(parts.associated.constData()),
            parts.associated.size(), reinterpret_cast<const unsigned char *>(parts.nonce.constData()), derived.bytes);
    std::shared_ptr<const ClassKey> key;
    if (result == 0 && length == ClassKey::size)
        key = ClassKey::fromBytes(opened);
    sodium_free(opened);
    // A line whose id is not its key's was put together by hand.
    if (key && key->id() != parts.keyId)
        return nullptr;
    return key;
}

} // namespace KeyWrap
