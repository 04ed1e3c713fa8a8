#include "model/learnerfilename.h"

#include <QCoreApplication>

namespace {

constexpr int maxNameBytes = 255;
constexpr int counterReserve = 8; // " (9999)"
const QString extension = QStringLiteral(".html");

bool refused(QChar c)
{
    return c.unicode() < 0x20 || c == QChar(0x7f) || QStringLiteral("/\\:*?\"<>|").contains(c);
}

// Cuts at a whole character, never inside a surrogate pair.
QString fitBytes(const QString &text, int maxBytes)
{
    QString fitted = text;
    while (fitted.toUtf8().size() > maxBytes) {
        fitted.chop(1);
        if (!fitted.isEmpty() && fitted.back().isHighSurrogate())
            fitted.chop(1);
    }
    return fitted;
}

QString trimmedEnd(QString text)
{
    while (!text.isEmpty() && (text.back() == QLatin1Char('.') || text.back().isSpace()))
        text.chop(1);
    return text;
}

} // namespace

namespace LearnerFileName {

QString folderName()
{
    return QStringLiteral("resultater");
}

QString safeName(const QString &learnerName)
{
    QString name;
    for (QChar c : learnerName.simplified())
        name += refused(c) ? QChar(QLatin1Char('_')) : c;
    name = trimmedEnd(name);
    return name.count(QLatin1Char('_')) == name.size() ? QString() : name;
}

QString stem(const QDateTime &started, const QString &learnerName, const QString &pc)
{
    QString name = safeName(learnerName);
    if (name.isEmpty())
        name = QCoreApplication::translate("LearnerFileName", "uden navn");
    const QString prefix = started.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss "));
    const QString suffix = pc.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(safeName(pc));
    const int room = maxNameBytes - extension.size() - counterReserve - prefix.toUtf8().size()
            - suffix.toUtf8().size();
    return prefix + trimmedEnd(fitBytes(name, room)) + suffix;
}

QString anonymousStem(const QString &pc, const QString &id)
{
    return pc + QLatin1Char(' ') + id;
}

QString dataName(const QString &reportName)
{
    QString name = reportName;
    if (name.endsWith(extension))
        name.chop(extension.size());
    return name + QStringLiteral(".json");
}

QString withCounter(const QString &stem, int n)
{
    return n <= 1 ? stem + extension : QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension);
}

} // namespace LearnerFileName
