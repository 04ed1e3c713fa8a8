#include "archive/reportfile.h"

#include "archive/outbox.h"
#include "archive/safefile.h"
#include "archive/session.h"
#include "model/learnerfilename.h"
#include "sealing/sealedfile.h"

#include <QDir>
#include <QRandomGenerator>

QString ReportFile::fileName()
{
    return QStringLiteral("results.html");
}

bool ReportFile::write(const QString &path, const QString &text)
{
    return SafeFile::write(path, text.toUtf8());
}

bool ReportFile::read(const QString &path, QString *html)
{
    QByteArray bytes;
    if (SafeFile::readSmall(path, SealedFile::largestFile, &bytes) != SafeFile::Read::Done)
        return false;
    *html = QString::fromUtf8(bytes);
    return true;
}

QString ReportFile::learnerFilePath(const Session &session)
{
    return QDir(session.classFolder()).filePath(session.learner().reportName);
}

QString ReportFile::newReportName(const Session &session)
{
    // 32 random bits: two learners of one PC never meet on a name, and nobody can guess one.
    const QString id = QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
    return LearnerFileName::anonymousStem(session.pcName(), id) + QStringLiteral(".html");
}

QString ReportFile::writeStage(Session &session, Mode mode, const QString &text)
{
    LearnerRecord &learner = session.learner();
    if (mode == Create)
        learner.reportName.clear(); // a new learner gets a file of their own
    const QString document = mode == Create ? text : learner.document + text;
    if (!write(session.folder().filePath(fileName()), document))
        return fileName();
    if (learner.reportName.isEmpty()) {
        if (!learner.started.isValid())
            learner.started = QDateTime::currentDateTime();
        learner.reportName = newReportName(session);
    }
    if (!session.outbox().put(learner.reportName, document.toUtf8()))
        return Outbox::folderName() + QLatin1Char('/') + learner.reportName;
    learner.document = document;
    Outbox *box = &session.outbox();
    session.onShare([box]() { box->send(); });
    return QString();
}
