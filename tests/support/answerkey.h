#pragma once

#include <QByteArray>
#include <QString>

class Session;

// The answer keys written out by hand, apart from the program's own tables, so that a
// fault in those tables cannot hide itself in the tests.
namespace AnswerKey {

extern const char *const words1[20];      // fields 1 to 20
extern const char *const words2[60];      // fields 21 to 80
extern const int categoryCells[20][3];    // the field in each report cell, columns K, E, M

QString word(int field);

} // namespace AnswerKey

// The report in the working directory, as bytes. writeReport also makes the bytes the
// report the session holds, as the earlier stages would have.
QByteArray readReport();
bool writeReport(Session &session, const QByteArray &bytes);
