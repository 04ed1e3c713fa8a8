#pragma once

#include "model/recoverytext.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

class Session;

// The copy of each PC's recovery file in the class folder, "gemte-test/<pc>.json", sealed, so that a
// learner whose PC dies can go on at another. Each PC writes only its own copy, through the
// outbox, and refreshes it every little while as long as a test runs on it: a copy that
// has not been refreshed for a while belongs to a PC that no longer runs the test.
namespace ClassRecovery {

QString folderName();
QString nameFor(const QString &pc);

// Seconds after which a copy counts as left by a PC that no longer runs the test.
constexpr int staleAfterSeconds = 90;

struct Found
{
    RecoveryState state;
    QString pc;         // the PC that saved it
    QDateTime saved;    // when it was saved last
    QString path;
};

void put(Session &session, const QByteArray &recoveryBytes);
// Tells the other PCs that the test still runs here: a small file of this PC's own beside
// its copy, written straight to the class folder (a sign of life that waited would be a lie).
void beat(const QString &classFolder, const QString &pc, const QDateTime &now = QDateTime::currentDateTime());
// The test on this PC has ended: its copy goes from the outbox at once, and from the class
// folder with the next work on the share (Session::onShare).
void withdraw(Session &session);
// The class folder's part of that: this PC's copy and its sign of life go.
void removeCopy(const QString &classFolder, const QString &pc);

// Tests in the class folder from other PCs, not refreshed for staleAfterSeconds, whose
// report has no data file yet (not finished, not kept as unfinished), that this PC's keys
// open. Oldest save last. now: the share's time; by default that of a file this PC writes
// there for it, since the copies carry the server's times and this PC's clock may be off.
// looked: false when the class folder lets this PC put files in but not see what others put
// there (a drop box).
QVector<Found> leftByOthers(Session &session, QDateTime now = QDateTime(), bool *looked = nullptr);

// This PC continues the test: the other PC's copy is renamed so that neither the other PC,
// should it start again, nor a third PC continues it too. False, with a Danish reason, when
// the class folder refused the rename (someone else took it over first).
bool takeOver(Session &session, const Found &found, QString *reason);

// True when this PC's own unfinished test was continued at another PC; pc names it.
bool continuedElsewhere(Session &session, const RecoveryState &own, QString *pc);

} // namespace ClassRecovery
