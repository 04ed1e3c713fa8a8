#include "settings/passwordstrength.h"

#include <QCoreApplication>

namespace PasswordStrength {

namespace {

bool separates(QChar c)
{
    return c.isSpace() || c == QLatin1Char('-');
}

int length(const QString &word)
{
    // Composed form first, so a + combining ring counts as the one å it shows.
    return int(word.simplified().normalized(QString::NormalizationForm_C).toUcs4().size());
}

int words(const QString &word)
{
    int count = 0;
    bool inWord = false;
    for (const QChar c : word) {
        if (separates(c)) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++count;
        }
    }
    return count;
}

} // namespace

QString objection(const QString &word)
{
    if (length(word) >= shortestLength || words(word) >= fewestWords)
        return QString();
    return QCoreApplication::translate("PasswordStrength",
                                       "Vælg et længere password: mindst %1 tegn, eller mindst tre ord med mellemrum "
                                       "eller bindestreg imellem, fx »Rødgrød med fløde«.")
            .arg(shortestLength);
}

} // namespace PasswordStrength
