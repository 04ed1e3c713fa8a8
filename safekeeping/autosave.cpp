#include "safekeeping/autosave.h"

#include "archive/recoveryfile.h"
#include "archive/session.h"
#include "testwindow/mainwindow.h"
#include "widgets/answersnapshot.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>

namespace {

constexpr int intervalMs = 2000;
// A moment after the cursor moves, so the sentence of the new field starts first and the
// learner's typing never waits for the disk.
constexpr int afterFocusMs = 250;
// A power cut loses at most this much typing.
constexpr int afterKeyMs = 500;

} // namespace

Autosave::Autosave(MainWindow *window, Session &session)
    : QObject(window)
    , window(window)
    , session(session)
{
    timer.setInterval(intervalMs);
    timer.start();
    soon.setSingleShot(true);
    soon.setInterval(afterFocusMs);
    typed.setSingleShot(true);
    typed.setInterval(afterKeyMs);
    connect(&timer, &QTimer::timeout, this, &Autosave::save);
    connect(&soon, &QTimer::timeout, this, &Autosave::save);
    connect(&typed, &QTimer::timeout, this, &Autosave::save);
    connect(qApp, &QApplication::focusChanged, &soon, qOverload<>(&QTimer::start));
    qApp->installEventFilter(this);
    // The teacher may end a test seconds after the last keystroke: keep those too.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Autosave::save);
}

bool Autosave::eventFilter(QObject *watched, QEvent *event)
{
    // Not restarted by every key: a learner who types on and on is saved all the same.
    if (event->type() == QEvent::KeyPress && !typed.isActive() && qobject_cast<QLineEdit *>(watched)
        && window->isAncestorOf(static_cast<QWidget *>(watched)))
        typed.start();
    return QObject::eventFilter(watched, event);
}

RecoveryState Autosave::snapshot() const
{
    return AnswerSnapshot::take(window, session.learner(), window->currentStep(), window->workedMs());
}

void Autosave::restoreFields(QWidget *window, const QMap<QString, QString> &fields)
{
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        if (auto *field = window->findChild<QLineEdit *>(it.key()))
            field->setText(it.value());
    }
}

void Autosave::save()
{
    if (session.learner().finished) {
        timer.stop();
        return;
    }
    const RecoveryState state = snapshot();
    if (state.step == TestStep::Welcome || state == saved)
        return;
    write(state);
}

void Autosave::write(const RecoveryState &state)
{
    bool replacedLink = false;
    const std::shared_ptr<const ClassKey> key = session.sealingKey();
    const bool written = key && RecoveryFile::write(session.folder(), *key, state, &replacedLink);
    const QString file = QDir::toNativeSeparators(RecoveryFile::path(session.folder()));
    if (written) {
        saved = state;
        failing = false;
        if (replacedLink)
            tell(tr("Den gemte test var erstattet"),
                 tr("Hent din lærer.\n\nFilen »%1« var skiftet ud med en genvej (et link). Skrivlo har "
                    "slettet genvejen og gemmer nu svarene i en almindelig fil med samme navn. "
                    "Ingen svar er tabt.").arg(file));
        return;
    }
    // Told once; the next change, key or tick tries again.
    if (!failing) {
        failing = true;
        tell(tr("Svarene bliver ikke gemt"),
             tr("Hent din lærer.\n\nSkrivlo kan ikke gemme svarene i filen »%1«. Går pc'en ned nu, "
                "er svarene tabt.\n\nTesten kan fortsætte: svarene er på skærmen og i programmets "
                "hukommelse, og Skrivlo prøver hele tiden igen. Skaf plads i mappen, eller ret fejlen.")
                     .arg(file));
    }
}

// Shown without stopping the program: the countdown and the saving go on behind the box.
void Autosave::tell(const QString &title, const QString &text)
{
    if (shown)
        shown->close();
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    shown = box;
    box->open();
    // In front, but without the keyboard: a learner's Enter must not wave it away unread.
    box->raise();
}
