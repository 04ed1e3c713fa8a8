#pragma once

#include <QByteArray>
#include <QString>

// The school's password as the settings file keeps it: never the word, only a salted PBKDF2
// hash, written as one line that names its own algorithm and iteration count,
//     pbkdf2-sha256$<iterations>$<salt, base64>$<hash, base64>
// so that a stronger format can come later and old lines are still understood.
namespace SchoolPassword {

// About 0.15-0.25 s on the build machine (one core of an AMD EPYC, under load): slow against
// guessing from a copied file, quick enough for a teacher at the access dialog.
constexpr int defaultIterations = 100000;
constexpr int saltBytes = 16;
constexpr int hashBytes = 32;
static_assert(saltBytes % 4 == 0, "the salt is drawn in 32-bit words");

// The line to store for the word, with a fresh random salt.
QString make(const QString &word, int iterations = defaultIterations);
// The same with a given salt, for checking the format against known values.
QString make(const QString &word, const QByteArray &salt, int iterations);

// Whether the line is one that make() writes (and so not, say, a word typed in by hand).
bool isWellFormed(const QString &stored);

// Whether the typed word is the one the line was made from. The hashes are compared in
// constant time; a line that is not well formed matches nothing.
bool matches(const QString &stored, const QString &typed);

} // namespace SchoolPassword
