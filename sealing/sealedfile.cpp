#include "sealing/sealedfile.h"

#include <sodium.h>

namespace {

const QByteArray magic = QByteArrayLiteral("SKRIVLO-FORSEGLET ");
const QByteArray version = QByteArrayLiteral("1\n");
constexpr int idLength = 16;
constexpr int headerLength = 18 + 2 + idLength + 1; // magic, version, id and its line end
constexpr int nonceLength = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr int tagLength = crypto_aead_xchacha20poly1305_ietf_ABYTES;

QByteArray header(const QString &keyId)
{
    return magic + version + keyId.toLatin1() + '\n';
}

QByteArray associated(const QByteArray &head, const QString &name)
{
    return head + name.normalized(QString::NormalizationForm_C).toUtf8();
}

bool isHexId(const QByteArray &id)
{
    if (id.size() != idLength)
        return false;
    for (const char c : id) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// The id of the key that sealed bytes, or an empty string when they are not a sealed file.
QString keyIdOf(const QByteArray &bytes)
{
    if (!bytes.startsWith(magic) || bytes.size() < headerLength)
        return QString();
    const QByteArray id = bytes.mid(magic.size() + version.size(), idLength);
    return isHexId(id) ? QString::fromLatin1(id) : QString();
}

} // namespace

namespace SealedFile {

QString suffix()
{
    return QStringLiteral(".skrivlo");
}

QString sealedName(const QString &plainName)
{
    return plainName + suffix();
}

QString plainName(const QString &sealedName)
{
    if (!sealedName.endsWith(suffix()) || sealedName.size() == suffix().size())
        return QString();
    return sealedName.chopped(suffix().size());
}

QByteArray seal(const ClassKey &key, const QString &name, const QByteArray &plain)
{
    if (!sodiumReady())
        return QByteArray();
    const QByteArray head = header(key.id());
    const QByteArray ad = associated(head, name);
    QByteArray out = head;
    out.resize(head.size() + nonceLength + plain.size() + tagLength);
    auto *nonce = reinterpret_cast<unsigned char *>(out.data() + head.size());
    randombytes_buf(nonce, nonceLength);
    unsigned long long written = 0;
    const int result = key.use([&](const unsigned char *k) {
        return crypto_aead_xchacha20poly1305_ietf_encrypt(
                nonce + nonceLength, &written, reinterpret_cast<const unsigned char *>(plain.constData()),
                plain.size(), reinterpret_cast<const unsigned char *>(ad.constData()), ad.size(), nullptr, nonce, k);
    });
    if (result != 0)
        return QByteArray();
    out.resize(head.size() + nonceLength + int(written));
    return out;
}

Opened open(const Keyring &keys, const QString &name, const QByteArray &bytes, QByteArray *plain)
{
    plain->clear();
    if (!bytes.startsWith(magic))
        return Opened::NotSealed;
    if (!sodiumReady() || bytes.size() < headerLength + nonceLength + tagLength
        || bytes.mid(magic.size(), version.size()) != version || bytes.at(headerLength - 1) != '\n')
        return Opened::Changed;
    const QString id = keyIdOf(bytes);
    if (id.isEmpty())
        return Opened::Changed;
    const std::shared_ptr<const ClassKey> key = keys.find(id);
    if (!key)
        return Opened::OtherKey;
    const QByteArray ad = associated(bytes.left(headerLength), name);
    const auto *nonce = reinterpret_cast<const unsigned char *>(bytes.constData() + headerLength);
    const auto *cipher = nonce + nonceLength;
    const qsizetype cipherLength = bytes.size() - headerLength - nonceLength;
    QByteArray out(cipherLength - tagLength, Qt::Uninitialized);
    unsigned long long length = 0;
    const int result = key->use([&](const unsigned char *k) {
        return crypto_aead_xchacha20poly1305_ietf_decrypt(
                reinterpret_cast<unsigned char *>(out.data()), &length, nullptr, cipher, cipherLength,
                reinterpret_cast<const unsigned char *>(ad.constData()), ad.size(), nonce, k);
    });
    if (result != 0)
        return Opened::Changed;
    out.resize(int(length));
    *plain = out;
    return Opened::Yes;
}

} // namespace SealedFile
