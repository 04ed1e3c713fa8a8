#include "settings/schoolpassword.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QStringList>

namespace SchoolPassword {

namespace {

const QString algorithm = QStringLiteral("pbkdf2-sha256");
const QChar separator = QLatin1Char('$');
// Far above what a teacher would wait for; a line asking for more is not ours.
constexpr int maximumIterations = 10000000;

struct Parts
{
    int iterations = 0;
    QByteArray salt;
    QByteArray hash;
};

// PBKDF2 with HMAC-SHA256 (RFC 8018), as Qt's QPasswordDigestor computes it. That one lives
// in Qt Network, which would bring Kerberos and proxy libraries into every start of the
// program for this one function; the HMAC is Qt Core's.
QByteArray pbkdf2(const QByteArray &password, const QByteArray &salt, int iterations, int length)
{
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    QByteArray key;
    for (quint32 block = 1; key.size() < length; ++block) {
        const char index[4] = { char(block >> 24), char(block >> 16), char(block >> 8), char(block) };
        mac.reset();
        mac.addData(salt);
        mac.addData(index, sizeof index);
        QByteArray link = mac.result();
        QByteArray sum = link;
        for (int round = 1; round < iterations; ++round) {
            mac.reset();
            mac.addData(link);
            link = mac.result();
            char *to = sum.data();
            const char *from = link.constData();
            for (qsizetype i = 0; i < sum.size(); ++i)
                to[i] ^= from[i];
        }
        key += sum;
    }
    return key.left(length);
}

QByteArray derive(const QString &word, const QByteArray &salt, int iterations)
{
    // The same letters typed on another system may come composed differently (å as one
    // character or as a + ring); the normal form makes them the same password.
    return pbkdf2(word.normalized(QString::NormalizationForm_C).toUtf8(), salt, iterations, hashBytes);
}

bool parse(const QString &stored, Parts *parts)
{
    const QStringList fields = stored.split(separator);
    if (fields.size() != 4 || fields[0] != algorithm)
        return false;
    bool number = false;
    parts->iterations = fields[1].toInt(&number);
    if (!number || parts->iterations < 1 || parts->iterations > maximumIterations)
        return false;
    const auto salt = QByteArray::fromBase64Encoding(fields[2].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const auto hash = QByteArray::fromBase64Encoding(fields[3].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !hash || salt.decoded.size() < saltBytes || hash.decoded.size() != hashBytes)
        return false;
    parts->salt = salt.decoded;
    parts->hash = hash.decoded;
    return true;
}

// Takes as long whatever the two hold, so the time of an answer tells nothing about how
// much of a guess was right.
bool sameBytes(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace

QString make(const QString &word, int iterations)
{
    QByteArray salt(saltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), saltBytes / sizeof(quint32));
    return make(word, salt, iterations);
}

QString make(const QString &word, const QByteArray &salt, int iterations)
{
    return QStringList { algorithm, QString::number(iterations), QString::fromLatin1(salt.toBase64()),
                         QString::fromLatin1(derive(word, salt, iterations).toBase64()) }
            .join(separator);
}

bool isWellFormed(const QString &stored)
{
    Parts parts;
    return parse(stored, &parts);
}

bool matches(const QString &stored, const QString &typed)
{
    Parts parts;
    if (!parse(stored, &parts))
        return false;
    return sameBytes(derive(typed, parts.salt, parts.iterations), parts.hash);
}

} // namespace SchoolPassword
