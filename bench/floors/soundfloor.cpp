// A bare sound player: each line on standard input is a WAV file, played at once, cutting
// off the one before, with a new QSoundEffect each time; an empty line stops it.

#include "timing/timingmarks.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QSoundEffect>
#include <QUrl>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    std::unique_ptr<QSoundEffect> sound;
    QSocketNotifier input(fileno(stdin), QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&sound]() {
        char line[4096];
        if (!std::fgets(line, sizeof line, stdin)) {
            sound.reset();
            QCoreApplication::quit();
            return;
        }
        const QString path = QString::fromLocal8Bit(line).trimmed();
        if (path.isEmpty()) {
            sound.reset();
            return;
        }
        TimingMarks::mark("play", path);
        sound = std::make_unique<QSoundEffect>();
        sound->setSource(QUrl::fromLocalFile(path));
        sound->play();
    });
    TimingMarks::mark("ready");
    return application.exec();
}
