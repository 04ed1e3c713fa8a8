#pragma once

#include <QString>

// The line above the table when there are no learners to show, or the class folder is lost:
// no results yet, a folder that cannot be reached, or a folder that is not Skrivlo's. Each
// says what to do next, so that a teacher does not call IT for a folder that is only empty.
namespace FirstLook {

// What the class folder holds, read on the listing's thread (the folder may be a share).
struct Survey
{
    bool exists = false;
    int skrivloNames = 0; // learners' files, sealed files, the class's saved tests
    int otherNames = 0;   // anything else a person can see
};

Survey survey(const QString &classFolder);

enum class Line {
    None,
    NoResultsYet,
    Unreachable,
    NotSkrivlos
};

// reachable: the listing read the class folder. learners: its rows from the class folder,
// readable or not. defaultFolder: "resultater" in the working folder, which the first result
// makes, so its absence means only that no result has come yet.
Line line(bool reachable, int learners, bool defaultFolder, const Survey &survey);

// The line's words; everListed adds that the rows on screen are those read last.
QString text(Line line, const QString &classFolder, bool defaultFolder, bool everListed);

// A warning (yellow) or only news (blue).
bool isWarning(Line line);

} // namespace FirstLook
