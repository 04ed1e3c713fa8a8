#include "dictation/dictateword.h"

#include "input/learnertextvalidator.h"
#include "model/handin.h"
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
    return HandIn::isRight(text(), correctWord, exactCase);
}

QString DictateWord::evaluate(int &correctCount)
{
    resultHtml = HandIn::fragment(text(), correctWord, exactCase, correctCount);
    return resultHtml;
}

bool DictateWord::event(QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn)
        voicePlayer->play(soundPath);
    return QLineEdit::event(event);
}
