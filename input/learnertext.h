#pragma once

#include <QString>

// What a learner typed or pasted, made fit to judge and to write into the report.
namespace LearnerText {

// Drops control characters (NUL, ESC, tab ...), the invisible marks that turn the writing
// direction (U+202E and its kin) and any half of a surrogate pair, then composes the rest
// (NFC), so that "a" with a combining ring is the same "å" as the one key gives.
QString clean(const QString &text);

} // namespace LearnerText
