#include "safekeeping/classsync.h"

#include "archive/classrecovery.h"
#include "archive/deletedlearners.h"
#include "archive/foldercheck.h"
#include "archive/recoveryfile.h"
#include "archive/session.h"
#include "model/recoverytext.h"
#include "testwindow/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSet>

#include <memory>
#include <optional>

namespace {

constexpr int tickMs = 3000;
// Well inside ClassRecovery::staleAfterSeconds.
constexpr int beatSeconds = 30;
// After a failed send: a share that is gone is not asked again at every tick.
constexpr int retrySeconds = 30;

QByteArray localCopy(const Session &session)
{
    return RecoveryFile::opened(session.folder(), session.keys());
}

// Where a test's files go in the working folder when it was continued at another PC: kept,
// never sent.
QString asideFolder(const Session &session)
{
    return QDir(session.workingFolder()).filePath(QStringLiteral("udbakke fortsat på anden pc"));
}

// How many learners' results wait in the outbox: each learner has a report and a data file
// there (sealed or not), and the class's saved tests lie in a folder of their own.
int learnersWaiting(const QStringList &names)
{
    QSet<QString> learners;
    for (QString name : names) {
        if (name.contains(QLatin1Char('/')))
            continue;
        for (const char *suffix : { ".skrivlo", ".json", ".html" }) {
            if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
                name.chop(int(qstrlen(suffix)));
        }
        learners.insert(name);
    }
    return int(learners.size());
}

} // namespace

ClassSync::ClassSync(Session &session, QObject *parent)
    : QObject(parent)
    , session(session)
    , worker(this)
{
    timer.setInterval(tickMs);
    connect(&timer, &QTimer::timeout, this, &ClassSync::tick);
    session.setShareRunner([this](std::function<void()> job) { share(std::move(job)); });
}

// A call still waiting on the share is not waited for: the program ends, and that call with it.
ClassSync::~ClassSync()
{
    session.setShareRunner({});
}

void ClassSync::start(QWidget *parent, bool mayCreate, int waitMs)
{
    Session *run = &session;
    const QString classFolder = session.classFolder();
    const QString pc = session.pcName();
    auto answer = std::make_shared<std::optional<Checked>>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    const bool queued = worker.run<Checked>(
            [run, classFolder, pc, mayCreate]() {
                Checked checked;
                checked.usable = FolderCheck::classFolderUsable(classFolder, mayCreate, pc, &checked.reason);
                if (!checked.usable)
                    return checked;
                // What a write of this PC's, cut off by a crash or the network, left there.
                FolderCheck::removeClassLeftovers(classFolder, pc);
                // A learner deleted while this PC was off: their saved tests here go before one is
                // offered, their files in the outbox before they are sent.
                DeletedLearners::forgetHere(*run, DeletedLearners::read(classFolder, run->keys()));
                if (!RecoveryFile::exists(run->folder()))
                    ClassRecovery::removeCopy(classFolder, pc);
                checked.sent.all = run->outbox().send(&checked.sent.reason);
                return checked;
            },
            [this, answer, waiting](const Checked &checked) {
                --sends;
                if (waiting) {
                    *answer = checked;
                    waiting->quit();
                } else if (!checked.usable) {
                    // Known only once the test had begun: told without stopping it.
                    tellUnusable(QApplication::activeWindow(), checked.reason, false);
                } else {
                    sentBack(checked.sent);
                }
            });
    if (!queued)
        return;
    ++sends;
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    loop.exec();
    if (!answer->has_value())
        return;
    if (!(*answer)->usable)
        tellUnusable(parent, (*answer)->reason, true);
    else
        sentBack((*answer)->sent);
}

void ClassSync::tellUnusable(QWidget *parent, const QString &reason, bool wait)
{
    if (told)
        return;
    told = true;
    const int waiting = learnersWaiting(session.outbox().waiting());
    QString text = tr("Skrivlo kan ikke gemme i klassemappen »%1« lige nu. %2\n\n"
                      "Testen kan godt gå i gang. Resultaterne venter sikkert på denne pc og bliver sendt "
                      "af sig selv, når klassemappen kan nås igen.\n\n"
                      "Tjek netværket. Bliver det ved, så spørg IT.")
                           .arg(QDir::toNativeSeparators(session.classFolder()), reason);
    if (waiting == 1)
        text += tr("\n\nResultatet for 1 kursist venter allerede.");
    else if (waiting > 1)
        text += tr("\n\nResultaterne for %1 kursister venter allerede.").arg(waiting);
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Klassemappen kan ikke bruges"), text, QMessageBox::NoButton,
                                parent);
    box->setDefaultButton(box->addButton(tr("&Fortsæt"), QMessageBox::AcceptRole));
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (wait) {
        box->exec();
        return;
    }
    // Over a test already going: shown without stopping it.
    box->open();
    box->raise();
}

void ClassSync::keepUp()
{
    timer.start();
}

bool ClassSync::runAndWait(const std::function<bool()> &job, int waitMs, bool *result)
{
    // Behind a call the share has not answered in time, a short wait would only run out.
    if (waitMs >= 0 && worker.pending() > 0)
        return false;
    auto answer = std::make_shared<std::optional<bool>>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    if (!worker.run<bool>(job, [answer, waiting](const bool &value) {
            *answer = value;
            if (waiting)
                waiting->quit();
        }))
        return false;
    if (waitMs >= 0)
        QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    loop.exec();
    if (!answer->has_value())
        return false;
    *result = **answer;
    return true;
}

void ClassSync::sendNow()
{
    nextTry = QDateTime();
    // One that waits already answers for this one too.
    if (sends == 0)
        share({});
}

void ClassSync::share(std::function<void()> job)
{
    if (!worker.run<Sent>(sending(std::move(job)), [this](const Sent &sent) {
            --sends;
            sentBack(sent);
        })) {
        // Too much waits for a share that hangs: the next tick sends what is in the outbox.
        // A copy of a saved test not removed now is never offered: its test has a data file.
        nextTry = QDateTime();
        return;
    }
    ++sends;
}

std::function<ClassSync::Sent()> ClassSync::sending(std::function<void()> job)
{
    RecoveryState own;
    own.learner.started = session.learner().started;
    own.learner.reportName = session.learner().reportName;
    return [run = &session, job = std::move(job), own, known = continuedAt, aside = asideFolder(session)]() {
        Sent sent;
        QString at = known;
        // Learned before anything of this test is written there again.
        if (at.isEmpty() && !own.learner.reportName.isEmpty() && ClassRecovery::continuedElsewhere(*run, own, &at))
            sent.continuedAt = at;
        if (!at.isEmpty()) {
            run->outbox().withdraw(ClassRecovery::nameFor(run->pcName()));
            QString stem = own.learner.reportName;
            stem.chop(int(qstrlen(".html")));
            run->outbox().setAside(stem, aside);
        } else if (job) {
            job();
        }
        sent.all = run->outbox().send(&sent.reason);
        return sent;
    };
}

void ClassSync::sentBack(const Sent &sent)
{
    nextTry = sent.all ? QDateTime() : QDateTime::currentDateTime().addSecs(retrySeconds);
    if (!sent.continuedAt.isEmpty() && continuedAt.isEmpty()) {
        continuedAt = sent.continuedAt;
        emit continuedElsewhere(continuedAt);
    }
    emit delivered(sent.all, sent.reason);
}

void ClassSync::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    const bool ours = continuedAt.isEmpty(); // a test gone on elsewhere is no longer this PC's to save there
    const QByteArray copy = ours ? localCopy(session) : QByteArray();
    if (!copy.isEmpty() && copy != lastCopy) {
        ClassRecovery::put(session, copy);
        lastCopy = copy;
    }
    const bool beating = !copy.isEmpty() && (!lastBeat.isValid() || lastBeat.secsTo(now) >= beatSeconds);
    const bool waiting = !session.outbox().waiting().isEmpty() && (!nextTry.isValid() || now >= nextTry);
    // Never a second call behind one that waits on the share: this one would only wait too.
    if (worker.pending() > 0 || (!beating && !waiting))
        return;
    if (!beating) {
        share({});
        return;
    }
    lastBeat = now;
    share([classFolder = session.classFolder(), pc = session.pcName(), now]() {
        ClassRecovery::beat(classFolder, pc, now);
    });
}

void ClassSync::serve(MainWindow *window)
{
    window->setSentInBackground();
    connect(this, &ClassSync::delivered, window, &MainWindow::delivered);
    connect(this, &ClassSync::continuedElsewhere, window, &MainWindow::continuedElsewhere);
    connect(window, &MainWindow::sendAgain, this, &ClassSync::sendNow);
}
