#pragma once

#include "archive/session.h"
#include "widgets/voiceplayer.h"

#include <QApplication>

#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The class key every session of a test program seals with, as the access dialog would give
// it; made once per program, so sessions of several "PCs" open each other's files.
std::shared_ptr<const ClassKey> testClassKey();
// Unlocks a session with it, as the password does.
void unlockForTest(Session &session);
// A sealed file, opened with it under the name it was sealed with; empty when it does not open.
QByteArray openedWithTestKey(const QString &path, const QString &sealedAs);

// A fresh temporary folder as the working directory while it lives, with a session whose
// working folder it is, as main makes one, unlocked; the working directory is put back afterwards.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;

    bool isValid() const { return valid; }
    QString path() const { return dir.path(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }

    Session &session() { return *current; }
    // A new learner at the same PC: a session as the next start of the program makes.
    Session &renewSession();

private:
    QTemporaryDir dir;
    QString before;
    bool valid = false;
    std::unique_ptr<Session> current;
};

// A test program's main() for tests of pages: the application and the program's one voice
// player, as main makes them.
#define SKRIVLO_TEST_MAIN(TestObject)                                                                                 \
    int main(int argc, char *argv[])                                                                                  \
    {                                                                                                                 \
        QApplication application(argc, argv);                                                                         \
        VoicePlayer player;                                                                                           \
        TestObject test;                                                                                              \
        return QTest::qExec(&test, argc, argv);                                                                       \
    }
