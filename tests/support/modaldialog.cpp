#include "tests/support/modaldialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QPointer>
#include <QTimer>

namespace {

QList<QPointer<QTimer>> &waiting()
{
    static QList<QPointer<QTimer>> polls;
    return polls;
}

} // namespace

std::shared_ptr<ModalRecord> answerModal(ModalAction action, int timeoutMs)
{
    auto record = std::make_shared<ModalRecord>();
    auto *poll = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, clock, record, action, timeoutMs]() {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog && dialog->isVisible()) {
            poll->stop();
            poll->deleteLater();
            record->seen = true;
            record->className = QString::fromLatin1(dialog->metaObject()->className());
            record->title = dialog->windowTitle();
            if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                record->text = box->text();
                record->icon = box->icon();
                record->standardButtons = box->standardButtons();
                for (QAbstractButton *button : box->buttons())
                    record->buttons.append(button->text().remove(QLatin1Char('&')));
            }
            action(dialog);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start();
    waiting().removeAll(nullptr);
    waiting().append(poll);
    return record;
}

std::shared_ptr<ModalRecord> answerMessageBox(const QString &answer, std::function<void()> whileOpen, int timeoutMs)
{
    return answerModal([answer, whileOpen](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        if (box && whileOpen)
            whileOpen();
        if (box && answer == QLatin1String("Escape")) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        if (box) {
            for (QAbstractButton *button : box->buttons()) {
                if (button->text().remove(QLatin1Char('&')) == answer) {
                    button->click();
                    return;
                }
            }
        }
        // Not the box the test expected: close it so the test goes on and fails on its record.
        dialog->close();
    }, timeoutMs);
}

std::shared_ptr<ModalRecord> guardNoModal(int timeoutMs)
{
    return answerModal([](QWidget *dialog) { dialog->close(); }, timeoutMs);
}

void disarmModalAnswerers()
{
    for (const QPointer<QTimer> &poll : std::as_const(waiting())) {
        if (poll) {
            poll->stop();
            poll->deleteLater();
        }
    }
    waiting().clear();
}
