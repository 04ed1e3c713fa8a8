#include "archive/pcname.h"

#include "archive/safefile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>

namespace PcName {

namespace {

constexpr int hostLength = 20;

} // namespace

QString idFileName()
{
    return QStringLiteral("skrivlo-pc.txt");
}

QString hostPart(const QString &hostName)
{
    QString part;
    for (QChar c : hostName.section(QLatin1Char('.'), 0, 0).toUpper()) {
        if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            part += c;
        else if (!part.isEmpty() && !part.endsWith(QLatin1Char('-')))
            part += QLatin1Char('-');
    }
    while (part.endsWith(QLatin1Char('-')))
        part.chop(1);
    part = part.left(hostLength);
    return part.isEmpty() ? QStringLiteral("PC") : part;
}

bool isWellFormed(const QString &name)
{
    static const QRegularExpression form(QStringLiteral("^[A-Z0-9](?:[A-Z0-9-]{0,19})-[0-9a-f]{6}$"));
    return form.match(name).hasMatch();
}

QString ofThisCopy(const QString &workingFolder)
{
    const QString path = QDir(workingFolder).filePath(idFileName());
    QFile file(path);
    if (SafeFile::mayReplace(path) && file.open(QIODevice::ReadOnly)) {
        const QString kept = QString::fromLatin1(file.read(64)).trimmed();
        if (isWellFormed(kept))
            return kept;
    }
    const QString made = hostPart(QSysInfo::machineHostName()) + QLatin1Char('-')
            + QStringLiteral("%1").arg(QRandomGenerator::system()->bounded(0x1000000), 6, 16, QLatin1Char('0'));
    SafeFile::write(path, made.toLatin1() + '\n');
    return made;
}

} // namespace PcName
