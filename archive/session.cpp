#include "archive/session.h"

#include "archive/pcname.h"
#include "model/learnerfilename.h"

#include <QDir>

namespace {

QString absoluteClassFolder(const WorkingFolder &folder, const QString &classFolder)
{
    if (classFolder.isEmpty())
        return folder.filePath(LearnerFileName::folderName());
    return QDir::cleanPath(QDir(folder.path()).absoluteFilePath(classFolder));
}

} // namespace

Session::Session(const WorkingFolder &folder, const MachineSettings &settings, const QString &classFolder,
                 const QString &pc)
    : working(folder)
    , classPath(absoluteClassFolder(folder, classFolder))
    , classAsked(classFolder)
    , pc(pc)
    , box(folder.path(), classPath, classFolder.isEmpty())
    , instanceLock(folder)
    , machineSettings(settings)
{
}

QString Session::pcName() const
{
    if (pc.isEmpty())
        pc = PcName::ofThisCopy(working.path());
    return pc;
}

void Session::unlock(std::shared_ptr<const ClassKey> own, const Keyring &known, std::function<void()> firstUse)
{
    keyring = known;
    keyring.add(own);
    key = std::move(own);
    box.setKey(key, std::move(firstUse));
}
