#pragma once

#include "model/recoverytext.h"

#include <QObject>
#include <QTimer>

class MainWindow;
class QWidget;
class Session;

// Keeps the recovery file up to date while a learner works: shortly after every change of
// field, every few seconds whenever something changed, and when the program ends. Nothing is
// saved before the details page nor after the results page.
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

private:
    MainWindow *window;
    Session &session;
    QTimer timer;
    QTimer soon;
    RecoveryState saved;
};
