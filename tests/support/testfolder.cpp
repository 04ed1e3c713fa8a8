#include "tests/support/testfolder.h"

#include <QDir>

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
    current = std::make_unique<Session>(ResultsFolder(dir.path()));
    return *current;
}
