#include "tests/support/testfolder.h"

#include "sealing/sealedfile.h"

#include <QDir>
#include <QFile>

std::shared_ptr<const ClassKey> testClassKey()
{
    static const std::shared_ptr<const ClassKey> key = ClassKey::generate();
    return key;
}

void unlockForTest(Session &session)
{
    session.unlock(testClassKey(), Keyring());
}

QByteArray openedWithTestKey(const QString &path, const QString &sealedAs)
{
    QFile file(path);
    QByteArray plain;
    if (!file.open(QIODevice::ReadOnly)
        || SealedFile::open(Keyring(testClassKey()), sealedAs, file.readAll(), &plain) != SealedFile::Opened::Yes)
        return QByteArray();
    return plain;
}

TestFolder::TestFolder()
    : before(QDir::currentPath())
{
    valid = dir.isValid() && QDir::setCurrent(dir.path());
    renewSession();
}

TestFolder::~TestFolder()
{
    current.reset();
    QDir::setCurrent(before);
}

Session &TestFolder::renewSession()
{
    current.reset();
    current = std::make_unique<Session>(WorkingFolder(dir.path()));
    unlockForTest(*current);
    return *current;
}
