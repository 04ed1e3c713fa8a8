#pragma once

#include "model/recoverytext.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class MainWindow;
class QMessageBox;
class QWidget;
class Session;

// Keeps the recovery file up to date while a learner works: at most half a second after a
// key, shortly after every change of field, every few seconds whenever something changed,
// and when the program ends. Nothing is saved before the details page nor after the results
// page. When the file cannot be written the teacher is told at once, and saving goes on.
class Autosave : public QObject
{
    Q_OBJECT

public:
    Autosave(MainWindow *window, Session &session);

    RecoveryState snapshot() const;

    // Puts the saved texts back into the window's entry fields.
    static void restoreFields(QWidget *window, const QMap<QString, QString> &fields);

public slots:
    void save();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void write(const RecoveryState &state);
    void tell(const QString &title, const QString &text);

    MainWindow *window;
    Session &session;
    QTimer timer;
    QTimer soon;
    QTimer typed;
    RecoveryState saved;
    bool failing = false; // the teacher has been told, and not yet that it works again
    QPointer<QMessageBox> shown;
};
