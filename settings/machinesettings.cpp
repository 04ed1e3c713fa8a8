#include "settings/machinesettings.h"

#include "sealing/keywrap.h"
#include "settings/schoolpassword.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#ifdef Q_OS_WIN
#include <shlobj.h>
#endif

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MachineSettings", text);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Names under which IT might type a password in by hand, in any group and any case.
bool namesPassword(const QString &key)
{
    const QString name = key.section(QLatin1Char('/'), -1).toLower();
    return name == QLatin1String("password") || name == QLatin1String("adgangskode")
            || name == QLatin1String("kodeord");
}

// Qt keeps the settings it parsed for each file and tells of a format error only to the first
// reader, so the lines are checked here: a section closed by "]", or a key with "=".
bool wellFormedIni(QByteArray bytes)
{
    if (bytes.startsWith("\xef\xbb\xbf")) // Notepad's mark of UTF-8, which Qt reads past too
        bytes.remove(0, 3);
    for (const QByteArray &raw : bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[') ? !line.endsWith(']') : !line.contains('='))
            return false;
    }
    return true;
}

QString noRights(const QString &path)
{
    return tr("Skrivlo har ikke ret til at skrive i »%1«.\n\n"
              "IT skal køre »skrivlo --ny-adgangskode« med administratorrettigheder "
              "(i Windows: »Kør som administrator«, i Linux: sudo).")
            .arg(shown(path));
}

} // namespace

QString MachineSettings::defaultPath()
{
#ifdef Q_OS_WIN
    // The known folder is kept where only an administrator may change it, unlike %ProgramData%
    // in the environment. (QSettings' SystemScope asks for the same folder, but falls back to
    // C:\temp\qt-common, which any user may write.)
    QString folder;
    PWSTR known = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, KF_FLAG_DEFAULT, nullptr, &known)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(known));
    CoTaskMemFree(known);
    if (folder.isEmpty())
        folder = QStringLiteral("C:/ProgramData");
    return folder + QStringLiteral("/Skrivlo/Skrivlo.ini");
#else
    // Not QSettings' SystemScope: it looks wherever XDG_CONFIG_DIRS says, which any user sets.
    return QStringLiteral("/etc/xdg/Skrivlo/Skrivlo.ini");
#endif
}

MachineSettings MachineSettings::read(const QString &path)
{
    MachineSettings settings;
    settings.file = path;
    if (!QFileInfo::exists(path))
        return settings;
    // QSettings reads an unreadable file as an empty one; that would bring the fixed password back.
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        settings.fileState = State::Unreadable;
        return settings;
    }
    const bool wellFormed = wellFormedIni(probe.readAll());
    probe.close();
    const QSettings ini(path, QSettings::IniFormat);
    if (!wellFormed || ini.status() != QSettings::NoError) {
        settings.fileState = wellFormed && ini.status() == QSettings::AccessError ? State::Unreadable : State::Damaged;
        return settings;
    }
    settings.classFolderValue = ini.value(QLatin1String(classFolderKey)).toString().trimmed();
    settings.keepMonthsWritten = ini.value(QLatin1String(keepMonthsKey)).toString().trimmed();
    if (!settings.keepMonthsWritten.isEmpty()) {
        bool number = false;
        const int months = settings.keepMonthsWritten.toInt(&number);
        settings.keepMonthsValue = number && months >= 1 && months <= longestKeepMonths ? months : -1;
    }
    settings.deleteOld = ini.value(QLatin1String(deleteOldKey)).toString().trimmed().toLower() == QLatin1String("true");
    for (const QString &key : ini.allKeys()) {
        if (!namesPassword(key))
            continue;
        const QString value = ini.value(key).toString();
        if (key != QLatin1String(passwordKey)
            || !(KeyWrap::isWellFormed(value) || SchoolPassword::isWellFormed(value))) {
            settings.fileState = State::HandWritten;
            settings.handWrittenKey = key;
            settings.storedPassword.clear();
            return settings;
        }
        settings.storedPassword = value;
    }
    return settings;
}

QString MachineSettings::problem() const
{
    const QString start = tr("Hent din lærer.\n\n");
    const QString locked = tr("Derfor kan Skrivlo ikke låses op, heller ikke med det faste password.");
    switch (fileState) {
    case State::Read:
        return QString();
    case State::Unreadable:
        return start
                + tr("Skrivlo kan ikke læse indstillingerne i »%1«. %2\n\n"
                     "IT: Giv alle brugere ret til at læse filen, eller slet den og kør "
                     "»skrivlo --ny-adgangskode« som administrator.")
                          .arg(shown(file), locked);
    case State::Damaged:
        return start
                + tr("Indstillingerne i »%1« er ødelagte. %2\n\n"
                     "IT: Ret filen, eller slet den og kør »skrivlo --ny-adgangskode« som administrator.")
                          .arg(shown(file), locked);
    case State::HandWritten:
        return start
                + tr("Indstillingerne i »%1« har et password under »%2«, som Skrivlo ikke selv har gemt, "
                     "måske skrevet i hånden. Skolens password må aldrig stå som almindelig tekst. %3\n\n"
                     "IT: Kør »skrivlo --ny-adgangskode« som administrator, eller fjern linjen fra filen.")
                          .arg(shown(file), handWrittenKey, locked);
    }
    return QString();
}

QString MachineSettings::schoolKeyLine() const
{
    return KeyWrap::isWellFormed(storedPassword) ? storedPassword : QString();
}

MachineSettings::Unlock MachineSettings::unlock(const QString &typed) const
{
    Unlock result;
    if (isRefused())
        return result;
    if (!schoolKeyLine().isEmpty()) {
        result.key = KeyWrap::unwrap(storedPassword, typed);
        result.accepted = result.key != nullptr;
    } else if (hasSchoolPassword()) {
        result.accepted = SchoolPassword::matches(storedPassword, typed);
    } else {
        result.accepted = typed == QCoreApplication::translate("SplashDialog", "kanelsnegle");
    }
    return result;
}

bool MachineSettings::canWrite(const QString &path, QString *reason)
{
    const MachineSettings now = read(path);
    if (now.state() == State::Unreadable || now.state() == State::Damaged) {
        // Writing would start from what could be read and lose the rest of the file.
        *reason = now.fileState == State::Unreadable
                ? noRights(path)
                : tr("Indstillingerne i »%1« er ødelagte, og Skrivlo vil ikke skrive oven i dem. "
                     "Ret filen, eller slet den, og kør så »skrivlo --ny-adgangskode« igen.")
                          .arg(shown(path));
        return false;
    }
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()) || !QSettings(path, QSettings::IniFormat).isWritable()) {
        *reason = noRights(path);
        return false;
    }
    return true;
}

bool MachineSettings::writePassword(const QString &path, const QString &word, QString *reason,
                                    std::shared_ptr<const ClassKey> keep)
{
    if (!canWrite(path, reason))
        return false;
    const std::shared_ptr<const ClassKey> key = keep ? keep : ClassKey::generate();
    const QString line = key ? KeyWrap::wrap(*key, word) : QString();
    if (line.isEmpty()) {
        *reason = tr("Skrivlo kan ikke lave en nøgle til klassemappen på denne pc. Installér Skrivlo igen.");
        return false;
    }
    {
        QSettings ini(path, QSettings::IniFormat);
        for (const QString &key : ini.allKeys()) {
            if (namesPassword(key))
                ini.remove(key);
        }
        ini.setValue(QLatin1String(passwordKey), line);
        ini.sync();
        if (ini.status() != QSettings::NoError) {
            *reason = noRights(path);
            return false;
        }
    }
    // Every user runs the program and must read the file; only its owner may change it.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                        | QFile::ReadGroup | QFile::ReadOther);
    if (!read(path).acceptsPassword(word)) {
        *reason = tr("Skolens password blev skrevet i »%1«, men kunne ikke læses igen bagefter. "
                     "Kør »skrivlo --ny-adgangskode« igen.")
                          .arg(shown(path));
        return false;
    }
    return true;
}
