#include "dictation/dictateword.h"

#include "input/learnertext.h"
#include "input/learnertextvalidator.h"
#include "widgets/voiceplayer.h"

#include <QEvent>

namespace {

struct SizePreset
{
    int width;
    int maxLength;
};

constexpr SizePreset narrowPreset { 100, 12 };
constexpr SizePreset widePreset { 175, 20 };

} // namespace

DictateWord::DictateWord(QWidget *page, const QString &correctWord, const QString &soundFile,
                         bool narrow, bool exactCase)
    : QLineEdit(page)
    , exactCase(exactCase)
    , correctWord(correctWord)
    , soundPath(QStringLiteral("sounds/") + soundFile)
{
    const SizePreset &preset = narrow ? narrowPreset : widePreset;
    setMinimumWidth(preset.width);
    setMaximumWidth(preset.width);
    setMaxLength(preset.maxLength);
    setValidator(new LearnerTextValidator(this));
}

DictateWord::~DictateWord() = default;

bool DictateWord::isCorrect() const
{
    const QString answer = LearnerText::clean(text()).trimmed();
    if (answer.isEmpty())
        return false;
    if (exactCase)
        return answer == correctWord;
    return answer.startsWith(correctWord.left(1), Qt::CaseInsensitive)
            && answer.mid(1) == correctWord.mid(1);
}

QString DictateWord::evaluate(int &correctCount)
{
    QString answer = LearnerText::clean(text()).trimmed();
    if (answer.isEmpty())
        answer = QStringLiteral("-");
    // The learner's text is escaped so that it can never turn into markup in the report.
    if (isCorrect()) {
        resultHtml = QStringLiteral("<font color=\"green\">") + answer.toHtmlEscaped() + QStringLiteral("</font>");
        ++correctCount;
    } else {
        resultHtml = answer.toHtmlEscaped() + QStringLiteral("&nbsp;(") + correctWord + QLatin1Char(')');
    }
    return resultHtml;
}

bool DictateWord::event(QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn)
        voicePlayer->play(soundPath);
    return QLineEdit::event(event);
}
