#include "devices/loader/devicemodule.h"

#include "devices/printdevice.h"
#include "devices/sounddevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

#include <future>

namespace {

struct Found
{
    QString fileName; // empty when no candidate loaded
    QString problem;
};

// Loading a library is safe on any thread; only the plugin's object is made on the main one.
Found load(const QStringList &candidates)
{
    QStringList problems;
    for (const QString &candidate : candidates) {
        QPluginLoader loader(candidate);
        if (loader.load())
            return { loader.fileName(), QString() };
        problems.append(loader.errorString());
    }
    return { QString(), problems.join(QStringLiteral("; ")) };
}

std::shared_future<Found> &loading()
{
    static std::shared_future<Found> future;
    return future;
}

} // namespace

void DeviceModule::preload()
{
    if (loading().valid())
        return;
    // The installed folder first, relative to the program, so a copy elsewhere on the plugin
    // path never wins over the program's own; a bare name then searches beside the program.
    const QStringList candidates {
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(SKRIVLO_MODULE_FOLDER "/skrivlo_devices")),
        QStringLiteral("skrivlo_devices"),
    };
    loading() = std::async(std::launch::async, load, candidates).share();
}

namespace {

// The module's one object, which implements every device; made on the main thread at the
// first question.
QObject *plugin()
{
    static QObject *instance = nullptr;
    static bool asked = false;
    if (asked)
        return instance;
    asked = true;
    DeviceModule::preload();
    const Found found = loading().get();
    QString problem = found.problem;
    if (!found.fileName.isEmpty()) {
        QPluginLoader loader(found.fileName);
        instance = loader.instance();
        if (!instance)
            problem = loader.errorString();
    }
    if (!instance)
        qWarning("Skrivlo: no sound or printing: %s", qPrintable(problem));
    return instance;
}

} // namespace

SoundDevice *DeviceModule::sound()
{
    return qobject_cast<SoundDevice *>(plugin());
}

PrintDevice *DeviceModule::printing()
{
    return qobject_cast<PrintDevice *>(plugin());
}
