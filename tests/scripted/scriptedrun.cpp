#include "tests/scripted/scriptedrun.h"

#include "archive/classkeys.h"
#include "archive/session.h"
#include "content/pagetexts.h"
#include "dictation/dictate1.h"
#include "dictation/dictate2.h"
#include "model/recoverytext.h"
#include "pages/dictate1help.h"
#include "pages/dictate2help.h"
#include "pages/info.h"
#include "pages/welcome.h"
#include "safekeeping/classsync.h"
#include "testwindow/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

void fill(QWidget *window, const QString &name, const QString &text)
{
    if (auto *field = window->findChild<QLineEdit *>(name))
        field->setText(text);
}

// The page's green arrow, as the learner clicks it.
void handIn(QWidget *page)
{
    page->findChild<QAbstractButton *>(QStringLiteral("nextButton"))->click();
}

} // namespace

namespace ScriptedRun {

int run(Session &session, const QString &scriptPath)
{
    QFile file(scriptPath);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QJsonObject script = QJsonDocument::fromJson(file.readAll()).object();
    const QString password = script.value(QStringLiteral("password")).toString();
    const MachineSettings::Unlock opened = session.settings().unlock(password);
    if (!opened.accepted) {
        std::fprintf(stderr, "Forkert password.\n");
        return 2;
    }
    // The class key, as after the access dialog.
    const ClassKeys::Own own = ClassKeys::forPc({ opened.key, session.settings().schoolKeyLine() },
                                                session.workingFolder(), session.classFolder(), password);
    if (!own.key)
        return 2;
    session.unlock(own.key, Keyring(), [&session, own]() { ClassKeys::keep(own, session.workingFolder(), session.outbox()); });
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&]() {
        if (auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            std::fprintf(stdout, "box: %s\n", qPrintable(box->windowTitle()));
            std::fflush(stdout);
            box->done(QDialog::Accepted);
        }
    });
    closer.start();
    {
        // Only the start's check on the share's thread: a script hands in at once and reads
        // what the results page says, so its sends are made where it waits for them.
        ClassSync sync(session);
        sync.start(nullptr, session.classFolder().endsWith(QLatin1String("/resultater")));
    }
    const QJsonArray details = script.value(QStringLiteral("details")).toArray();
    if (details.isEmpty())
        return 0;

    session.learner().started = QDateTime::currentDateTime();
    MainWindow window(session);
    handIn(window.welcomePage());
    const QStringList names = PageTexts::infoFieldObjectNames();
    for (int i = 0; i < names.size(); ++i)
        fill(&window, names[i], details.at(i).toString());
    handIn(window.infoPage());
    handIn(window.dictate1HelpPage());
    const QJsonArray answers1 = script.value(QStringLiteral("answers1")).toArray();
    for (int i = 0; i < answers1.size(); ++i)
        fill(&window, RecoveryText::answerKey(i + 1), answers1.at(i).toString());
    const QJsonArray answers2 = script.value(QStringLiteral("answers2")).toArray();
    const qint64 handInAt = qint64(script.value(QStringLiteral("handInAt")).toDouble());
    const auto waitForHandIn = [handInAt]() {
        while (QDateTime::currentMSecsSinceEpoch() < handInAt)
            QThread::msleep(5);
    };
    if (answers2.isEmpty())
        waitForHandIn();
    window.firstDictation()->timeUp();
    handIn(window.firstDictation());
    if (!answers2.isEmpty()) {
        handIn(window.dictate2HelpPage());
        for (int i = 0; i < answers2.size(); ++i)
            fill(&window, RecoveryText::answerKey(i + 21), answers2.at(i).toString());
        waitForHandIn();
        window.secondDictation()->timeUp();
        handIn(window.secondDictation());
    }
    // What the results page tells, for the journey to read.
    if (const QLabel *notice = window.findChild<QLabel *>(QStringLiteral("waitingNotice")); notice && !notice->isHidden())
        std::fprintf(stdout, "notice: %s\n", qPrintable(notice->text()));
    std::fprintf(stdout, "waiting: %lld\n", static_cast<long long>(session.outbox().waiting().size()));
    return window.currentStep() == TestStep::Results ? 0 : 1;
}

} // namespace ScriptedRun
