#include "app/autosave.h"

#include "app/mainwindow.h"
#include "archive/recoveryfile.h"
#include "archive/session.h"
#include "dictation/dictate1.h"
#include "dictation/dictate2.h"

#include <QApplication>
#include <QLineEdit>

namespace {

constexpr int intervalMs = 2000;
// A moment after the cursor moves, so the sentence of the new field starts first and the
// learner's typing never waits for the disk.
constexpr int afterFocusMs = 250;

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
    connect(&timer, &QTimer::timeout, this, &Autosave::save);
    connect(&soon, &QTimer::timeout, this, &Autosave::save);
    connect(qApp, &QApplication::focusChanged, &soon, qOverload<>(&QTimer::start));
    // The teacher may end a test seconds after the last keystroke: keep those too.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Autosave::save);
}

RecoveryState Autosave::snapshot() const
{
    RecoveryState state;
    state.learner = session.learner();
    state.step = window->currentStep();
    for (const QLineEdit *field : window->findChildren<QLineEdit *>()) {
        if (!field->objectName().isEmpty())
            state.fields.insert(field->objectName(), field->text());
    }
    if (state.step == TestStep::Dictation1 && dictate1Page)
        state.workedMs = dictate1Page->workedMs();
    else if (state.step == TestStep::Dictation2 && dictate2Page)
        state.workedMs = dictate2Page->workedMs();
    return state;
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
    // A failed save is tried again at the next change; the report's own writes tell the
    // teacher when the folder takes nothing.
    if (RecoveryFile::write(session.folder(), state))
        saved = state;
}
