#include "startup/danishtexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

#include <cstring>

namespace {

struct Gap
{
    const char *context;
    const char *sourceText;
    const char *danish;
};

// What Qt 6's Danish catalogue leaves in English.
const Gap gaps[] = {
    // The file dialog's column "Type".
    { "QAbstractFileIconProvider", "Folder", QT_TRANSLATE_NOOP("DanishTexts", "Mappe") },
    { "QAbstractFileIconProvider", "File Folder", QT_TRANSLATE_NOOP("DanishTexts", "Filmappe") },
    { "QAbstractFileIconProvider", "Drive", QT_TRANSLATE_NOOP("DanishTexts", "Drev") },
    { "QAbstractFileIconProvider", "File", QT_TRANSLATE_NOOP("DanishTexts", "Fil") },
    { "QAbstractFileIconProvider", "Shortcut", QT_TRANSLATE_NOOP("DanishTexts", "Genvej") },
    { "QAbstractFileIconProvider", "Unknown", QT_TRANSLATE_NOOP("DanishTexts", "Ukendt") },
};

} // namespace

DanishTexts::DanishTexts(QObject *parent)
    : QTranslator(parent)
{
}

void DanishTexts::install(QCoreApplication &application)
{
    const QStringList folders {
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
    };
    for (const QString &folder : folders) {
        if (qtCatalogue.load(QStringLiteral("qtbase_da"), folder))
            break;
    }
    application.installTranslator(this);
}

QString DanishTexts::translate(const char *context, const char *sourceText, const char *disambiguation, int n) const
{
    for (const Gap &gap : gaps) {
        if (context && sourceText && std::strcmp(context, gap.context) == 0 && std::strcmp(sourceText, gap.sourceText) == 0)
            return QString::fromUtf8(gap.danish);
    }
    return qtCatalogue.translate(context, sourceText, disambiguation, n);
}

bool DanishTexts::isEmpty() const
{
    return false;
}
