#include "reportfile.h"

#include "resultsfolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

QString ReportFile::fileName()
{
    return QStringLiteral("results.html");
}

bool ReportFile::write(const QString &path, Mode mode, const QString &text)
{
    QFile file(path);
    const QIODevice::OpenMode openMode = mode == Create
            ? QIODevice::WriteOnly | QIODevice::Truncate
            : QIODevice::WriteOnly | QIODevice::Append;
    if (!file.open(openMode))
        return false;
    const qint64 sizeBefore = mode == Create ? 0 : file.size();

    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    stream.setGenerateByteOrderMark(false);
    stream << text;
    stream.flush();
    bool written = stream.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
    written = file.flush() && written;
    file.close();
    written = written && file.error() == QFileDevice::NoError;
    if (!written && file.open(QIODevice::ReadWrite))
        file.resize(sizeBefore);
    return written;
}

void ReportFile::writeOrExit(QWidget *parent, Mode mode, const QString &text)
{
    if (write(ResultsFolder::filePath(fileName()), mode, text))
        return;
    QMessageBox::critical(parent, QCoreApplication::translate("ReportFile", "Kritisk fejl!"),
                          QCoreApplication::translate("ReportFile",
                                                      "Programmet kan ikke skrive til\nfilen \"results.html\".\n\nKontakt din lærer!"),
                          QMessageBox::Ok);
    // Ends at once, without the destructors of static objects: exit() would destroy the
    // sound library's own statics before the program-wide voice player lets go of its
    // sound, and the player would then crash the exit (status -11 instead of 1).
    std::fflush(nullptr);
    std::_Exit(1);
}
