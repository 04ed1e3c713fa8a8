#include "input/learnertext.h"

namespace LearnerText {

namespace {

bool turnsDirection(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E)
            || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

QString clean(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            kept += c;
            kept += text.at(++i);
        } else if (!c.isSurrogate() && c.category() != QChar::Other_Control && !turnsDirection(c.unicode())) {
            kept += c;
        }
    }
    return kept.normalized(QString::NormalizationForm_C);
}

} // namespace LearnerText
