#include "teacherview/firstlook.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("FirstLook", text);
}

// What Skrivlo itself puts in a class folder, now or in earlier versions: learners' files,
// sealed or not, the old overview, the saved tests and the wrapped class keys.
bool isSkrivlos(const QString &name)
{
    for (const char *suffix : { ".skrivlo", ".json", ".html", ".csv" }) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return name == QLatin1String("gemte-test") || name == QLatin1String("noegler");
}

} // namespace

namespace FirstLook {

Survey survey(const QString &classFolder)
{
    Survey found;
    const QDir folder(classFolder);
    found.exists = folder.exists();
    if (!found.exists)
        return found;
    // Hidden names are the half-written files of a cut-off copy, or the system's.
    for (const QString &name : folder.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (isSkrivlos(name))
            ++found.skrivloNames;
        else
            ++found.otherNames;
    }
    return found;
}

Line line(bool reachable, int learners, bool defaultFolder, const Survey &survey)
{
    if (!reachable)
        return defaultFolder && !survey.exists ? Line::NoResultsYet : Line::Unreachable;
    if (learners > 0)
        return Line::None;
    // One of Skrivlo's own names (the class's saved tests, say) is enough to call it the class's.
    return survey.skrivloNames == 0 && survey.otherNames > 0 ? Line::NotSkrivlos : Line::NoResultsYet;
}

QString text(Line line, const QString &classFolder, bool defaultFolder, bool everListed)
{
    const QString folder = QDir::toNativeSeparators(classFolder);
    switch (line) {
    case Line::None:
        return QString();
    case Line::NoResultsYet:
        return defaultFolder ? tr("Ingen resultater endnu. Når en kursist på denne pc har afsluttet testen, "
                                  "kommer resultatet her af sig selv.")
                             : tr("Ingen resultater endnu i klassemappen »%1«. Når en kursist har afsluttet "
                                  "testen, kommer resultatet her af sig selv.")
                                       .arg(folder);
    case Line::Unreachable:
        return tr("Klassemappen »%1« kan ikke nås. Tjek, at pc'en er på skolens netværk, og tryk F5. "
                  "Hjælper det ikke, så spørg IT.")
                       .arg(folder)
                + (everListed ? tr(" Listen viser det, der sidst blev læst.") : QString());
    case Line::NotSkrivlos:
        return tr("Mappen »%1« har ingen resultater fra Skrivlo, kun andre filer. Måske er det ikke "
                  "klassemappen. Spørg IT, hvilken mappe klassen bruger.")
                .arg(folder);
    }
    return QString();
}

bool isWarning(Line line)
{
    return line == Line::Unreachable || line == Line::NotSkrivlos;
}

} // namespace FirstLook
