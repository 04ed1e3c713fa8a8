#pragma once

#include <QString>

// Whether a password IT chooses for the school is long enough not to be found quickly with a
// word list: at least 12 characters, or at least three words. Words are parted by blanks or
// hyphens; characters are counted as a reader sees them (an å is one, however it was typed),
// without blanks at the ends or more than one blank in a row.
namespace PasswordStrength {

constexpr int shortestLength = 12;
constexpr int fewestWords = 3;

// Empty when the password will do; otherwise, in Danish, what a password must be.
QString objection(const QString &word);

} // namespace PasswordStrength
