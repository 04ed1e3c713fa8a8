#include "modaldialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

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
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                record->text = box->text();
            action(dialog);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start();
    return record;
}

std::shared_ptr<ModalRecord> clickMessageBoxButton(const QString &buttonText, int timeoutMs)
{
    return answerModal([buttonText](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        if (box) {
            for (QAbstractButton *button : box->buttons()) {
                if (button->text().remove(QLatin1Char('&')) == buttonText) {
                    button->click();
                    return;
                }
            }
        }
        // Not the box the test expected: close it so the test goes on and fails on its record.
        QPointer<QWidget> guard(dialog);
        QTimer::singleShot(0, [guard]() {
            if (guard)
                guard->close();
        });
    }, timeoutMs);
}
