#include "autosave.h"

#include "dictate1.h"
#include "dictate2.h"
#include "mainwindow.h"
#include "recoveryfile.h"

#include <QApplication>
#include <QLineEdit>

namespace {

constexpr int intervalMs = 2000;
// A moment after the cursor moves, so the sentence of the new field starts first and the
// learner's typing never waits for the disk.
constexpr int afterFocusMs = 250;
constexpr int dictation1Page = 3;
constexpr int dictation2Page = 5;

} // namespace

Autosave::Autosave(MainWindow *window)
    : QObject(window)
    , window(window)
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
    state.learner = currentLearner();
    state.page = window->currentIndex();
    for (const QLineEdit *field : window->findChildren<QLineEdit *>()) {
        if (!field->objectName().isEmpty())
            state.fields.insert(field->objectName(), field->text());
    }
    if (state.page == dictation1Page && dictate1Page)
        state.workedMs = dictate1Page->workedMs();
    else if (state.page == dictation2Page && dictate2Page)
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
    if (currentLearner().finished) {
        timer.stop();
        return;
    }
    const RecoveryState state = snapshot();
    if (state.page < 1 || state == saved)
        return;
    // A failed save is tried again at the next change; the report's own writes tell the
    // teacher when the folder takes nothing.
    if (RecoveryFile::write(state))
        saved = state;
}
