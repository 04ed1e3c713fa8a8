#pragma once

#include <QString>

class QWidget;

// After the password, before anyone types: a working folder that takes no files is named,
// with the reason, and the teacher picks another folder or closes the program.
namespace FolderPrompt {

// Shows the problem and asks. Returns the folder the teacher picked, or an empty string
// when the teacher closes the program.
QString askForAnother(QWidget *parent, const QString &problem, const QString &folder);

} // namespace FolderPrompt
