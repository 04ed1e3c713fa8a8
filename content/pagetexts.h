#pragma once

#include <QString>
#include <QStringList>

// The texts of the pages around the dictations, as the pages show them and the recordings
// read them aloud. Rich-text labels carry their small HTML fragments in the text itself.
namespace PageTexts {

// A page of guidance: its heading, its paragraphs and the recording that reads them.
struct GuideText
{
    QString heading;
    QStringList paragraphs;
    QString soundFile; // "sounds/<name>.wav"
};

GuideText welcome();
GuideText dictate1Help();
GuideText dictate2Help();

// The details form: every text it shows top to bottom (heading, introduction, the note on
// the required fields, the nine field labels, the closing rule), the labels alone in page
// order, and the recording that reads the page.
QStringList infoTexts();
QStringList infoFieldLabels();
QString infoSoundFile();

// The object names of the nine fields in page order, which is their order in the report
// and the names under which a test in progress keeps what was typed.
QStringList infoFieldObjectNames();

} // namespace PageTexts
