#include "timing/timingmarks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSet>
#include <QStringList>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>
#include <utility>

namespace {

std::function<void(const QString &, const QString &)> markObserver;

int visibleWidgets(const QWidget *window)
{
    int count = 1;
    for (const QWidget *child : window->findChildren<QWidget *>()) {
        if (child->isVisible())
            ++count;
    }
    return count;
}

// A widget counts as painted once the window that holds it has been flushed to the screen:
// the marks of the widgets painted while a window handles an expose or an update request
// are made when that handling is over.
class PaintWatcher : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Expose:
        case QEvent::UpdateRequest:
            if (watched->isWindowType() && !syncing) {
                syncing = true;
                watched->event(event);
                syncing = false;
                markPainted();
                return true;
            }
            break;
        case QEvent::Paint:
            if (watched->isWidgetType())
                notePainted(static_cast<QWidget *>(watched));
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            // Only the first receiver: an ignored key travels on to the parents.
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && watched == QApplication::focusWidget())
                TimingMarks::mark("key-return", static_cast<QWidget *>(watched)->window()->windowTitle());
            break;
        }
        case QEvent::FocusIn:
            // The word fields of the dictations are named word1 to word80.
            if (watched->isWidgetType() && watched->objectName().startsWith(QLatin1String("word")))
                TimingMarks::mark("focus", watched->objectName());
            break;
        default:
            break;
        }
        return false;
    }

private:
    // A window counts as painted with the first of its widgets: one whose children cover
    // it wholly gets no paint event of its own.
    void notePainted(QWidget *widget)
    {
        // Drawn off screen (QWidget::render on a hidden window) is not painted on the screen.
        if (!widget->window()->isVisible())
            return;
        if (!widget->isWindow())
            note(widget->objectName(), 0);
        QWidget *window = widget->window();
        if (!marked.contains(window->windowTitle()))
            note(window->windowTitle(), visibleWidgets(window));
    }

    void note(const QString &name, int count)
    {
        if (name.isEmpty() || marked.contains(name))
            return;
        marked.insert(name);
        pending.append({ name, count });
    }

    void markPainted()
    {
        const auto painted = std::exchange(pending, {});
        for (const auto &[name, count] : painted)
            TimingMarks::mark("painted", name, count);
    }

    bool syncing = false;
    QSet<QString> marked;
    QList<QPair<QString, int>> pending;
};

} // namespace

void TimingMarks::install(std::function<void(const QString &, const QString &)> observer)
{
    markObserver = std::move(observer);
    qApp->installEventFilter(new PaintWatcher);
}

void TimingMarks::mark(const char *what, const QString &name, int count)
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "skrivlo-mark %lld %s %d %s\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                 what, count, qPrintable(name));
    std::fflush(stderr);
    if (markObserver)
        markObserver(QString::fromLatin1(what), name);
}
