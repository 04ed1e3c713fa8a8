#include "studio/studiowindow.h"

#include "recordings/recordingcheck.h"
#include "recordings/recordingfolders.h"
#include "studio/takefile.h"
#include "studio/takerecorder.h"
#include "widgets/teacherguide.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include <utility>

namespace {

QPushButton *keyButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    // The keys belong to the window: a focused button would take Space for itself.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QString seconds(double value)
{
    return QString::number(value, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

StudioWindow::StudioWindow(const QVector<Manuscript::Recording> &recordings, std::function<void(const QString &)> play,
                           std::function<void()> stop, QWidget *parent)
    : QWidget(parent)
    , recordings(recordings)
    , folder(RecordingFolders::teacherFolder())
    , playVoice(std::move(play))
    , stopVoice(std::move(stop))
{
    setWindowTitle(tr("Skrivlo – indtal optagelser"));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(21, 21, 85));
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);

    progressLabel = new QLabel;
    progressLabel->setObjectName(QStringLiteral("progressLabel"));
    nameLabel = new QLabel;
    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    textLabel = new QLabel;
    textLabel->setObjectName(QStringLiteral("textLabel"));
    textLabel->setWordWrap(true);
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont large = textLabel->font();
    large.setPointSize(24);
    textLabel->setFont(large);
    QFont medium = font();
    medium.setPointSize(14);
    progressLabel->setFont(medium);
    nameLabel->setFont(medium);
    statusLabel = new QLabel;
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    statusLabel->setFont(medium);
    levelBar = new QProgressBar;
    levelBar->setObjectName(QStringLiteral("levelBar"));
    levelBar->setRange(0, 100);
    levelBar->setTextVisible(false);
    levelBar->setAccessibleName(tr("Lydniveau"));

    recordButton = keyButton(tr("Optag / stop  (mellemrum)"), this);
    recordButton->setObjectName(QStringLiteral("recordButton"));
    playButton = keyButton(tr("Lyt  (P)"), this);
    playButton->setObjectName(QStringLiteral("playButton"));
    acceptButton = keyButton(tr("Gem og gå videre  (Enter)"), this);
    acceptButton->setObjectName(QStringLiteral("acceptButton"));
    previousButton = keyButton(tr("Forrige  (Page Up)"), this);
    nextButton = keyButton(tr("Næste  (Page Down)"), this);
    QPushButton *helpButton = keyButton(tr("Hjælp  (F1)"), this);
    helpButton->setObjectName(QStringLiteral("helpButton"));

    list = new QListWidget;
    list->setObjectName(QStringLiteral("recordingList"));
    list->setFocusPolicy(Qt::NoFocus);
    list->setAccessibleName(tr("Optagelser"));
    for (int i = 0; i < recordings.size(); ++i)
        list->addItem(QString());
    recorder = new TakeRecorder(this);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(recordButton);
    buttons->addWidget(playButton);
    buttons->addWidget(acceptButton);
    buttons->addStretch(1);
    buttons->addWidget(previousButton);
    buttons->addWidget(nextButton);
    buttons->addWidget(helpButton);

    auto *reading = new QVBoxLayout;
    reading->addWidget(progressLabel);
    reading->addWidget(nameLabel);
    // A guidance text in large print can be taller than a small screen.
    auto *textArea = new QScrollArea;
    textArea->setWidget(textLabel);
    textArea->setWidgetResizable(true);
    textArea->setFrameShape(QFrame::NoFrame);
    textArea->setFocusPolicy(Qt::NoFocus);
    textArea->viewport()->setAutoFillBackground(false);
    textLabel->setAutoFillBackground(false);
    reading->addWidget(textArea, 1);
    reading->addWidget(levelBar);
    reading->addWidget(statusLabel);
    reading->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(reading, 4);
    layout->addWidget(list, 1);

    connect(recordButton, &QPushButton::clicked, this, &StudioWindow::slotRecordOrStop);
    connect(playButton, &QPushButton::clicked, this, &StudioWindow::slotPlayBack);
    connect(acceptButton, &QPushButton::clicked, this, &StudioWindow::slotAccept);
    connect(previousButton, &QPushButton::clicked, this, &StudioWindow::slotPrevious);
    connect(nextButton, &QPushButton::clicked, this, &StudioWindow::slotNext);
    connect(recorder, &TakeRecorder::recordingStarted, this, [this]() {
        recordButton->setText(tr("Stop  (mellemrum)"));
        setStatus(tr("Optager ... læs teksten op, og tryk mellemrum, når du er færdig."));
    });
    connect(recorder, &TakeRecorder::levelChanged, levelBar, &QProgressBar::setValue);
    connect(recorder, &TakeRecorder::takeReady, this, [this](const TakeProcessing::Take &ready) {
        take = ready;
        showStopped(tr("Optaget: %1 sek. Lyt med P, gem med Enter, eller optag igen med mellemrum.")
                    .arg(seconds(take.seconds())));
    });
    connect(recorder, &TakeRecorder::nothingHeard, this, [this]() {
        showStopped(tr("Der kom ingen lyd fra mikrofonen. Tjek at den er tændt, og optag igen."));
    });
    connect(recorder, &TakeRecorder::failed, this, &StudioWindow::setStatus);
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != current)
            showText(row);
    });
    const struct { QKeySequence key; void (StudioWindow::*slot)(); } keys[] = {
        { QKeySequence(Qt::Key_Space), &StudioWindow::slotRecordOrStop },
        { QKeySequence(Qt::Key_P), &StudioWindow::slotPlayBack },
        { QKeySequence(Qt::Key_Return), &StudioWindow::slotAccept },
        { QKeySequence(Qt::Key_Enter), &StudioWindow::slotAccept },
        { QKeySequence(Qt::Key_PageUp), &StudioWindow::slotPrevious },
        { QKeySequence(Qt::Key_PageDown), &StudioWindow::slotNext },
    };
    for (const auto &key : keys)
        connect(new QShortcut(key.key, this), &QShortcut::activated, this, key.slot);
    const auto openGuide = [this]() { TeacherGuide::open(this); };
    connect(helpButton, &QPushButton::clicked, this, openGuide);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, openGuide);
    // Stopping is safe at any time: every accepted recording is already saved.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    for (int i = 0; i < recordings.size(); ++i)
        markItem(i);
    // Carry on where the teacher stopped last time: at the first text still in the synthetic voice.
    int first = 0;
    while (first < recordings.size() && isTeachers(first))
        ++first;
    showText(first < recordings.size() ? first : 0);
    if (!TakeRecorder::hasMicrophone()) {
        recordButton->setEnabled(false);
        setStatus(tr("Der er ingen mikrofon. Sæt en mikrofon til og start programmet igen."));
    }
}

bool StudioWindow::isRecording() const
{
    return recorder->isRecording();
}

void StudioWindow::slotRecordOrStop()
{
    if (recorder->isRecording())
        recorder->stop();
    else
        startRecording();
}

void StudioWindow::slotPlayBack()
{
    recorder->stop();
    recorder->stopPlayback();
    if (take.isEmpty()) {
        // Nothing new yet: what the learner would hear now.
        playVoice(QStringLiteral("sounds/") + recordings.at(current).fileName);
        return;
    }
    recorder->play(take);
    setStatus(tr("Afspiller optagelsen (%1 sek.).").arg(seconds(take.seconds())));
}

void StudioWindow::slotAccept()
{
    if (recorder->isRecording()) {
        recorder->stop();
        if (take.isEmpty())
            return; // the status says why; nothing to keep
    }
    if (take.isEmpty()) {
        slotNext();
        return;
    }
    const QString name = recordings.at(current).fileName;
    QString error;
    if (!TakeFile::save(folder, name, TakeProcessing::wavBytes(take), &error)) {
        setStatus(error);
        return;
    }
    const QString problem = RecordingCheck::problem(QDir(folder).filePath(name));
    markItem(current);
    if (!problem.isEmpty()) {
        setStatus(tr("%1 er gemt, men %2. Optag den gerne igen.").arg(name, problem));
        take = {};
        return;
    }
    slotNext();
    setStatus(tr("%1 er gemt.").arg(name) + QLatin1Char(' ') + statusLabel->text());
}

void StudioWindow::slotPrevious()
{
    if (current > 0)
        showText(current - 1);
}

void StudioWindow::slotNext()
{
    if (current + 1 < recordings.size())
        showText(current + 1);
    else
        setStatus(tr("Det var den sidste tekst. Luk med Esc, eller gå tilbage med Page Up."));
}

void StudioWindow::showText(int index)
{
    recorder->stop();
    recorder->stopPlayback();
    stopVoice();
    current = index;
    take = {};
    const Manuscript::Recording &recording = recordings.at(index);
    nameLabel->setText(recording.fileName);
    textLabel->setText(recording.parts.join(QStringLiteral("\n\n")));
    list->setCurrentRow(index);
    updateProgress();
    setStatus(isTeachers(index)
              ? tr("Din optagelse findes. Lyt med P, eller optag igen med mellemrum.")
              : tr("Tryk mellemrum, læs teksten op, og tryk mellemrum igen."));
}

void StudioWindow::startRecording()
{
    stopVoice();
    take = {};
    recorder->start();
}

void StudioWindow::showStopped(const QString &status)
{
    recordButton->setText(tr("Optag / stop  (mellemrum)"));
    setStatus(status);
}

bool StudioWindow::isTeachers(int index) const
{
    return QFileInfo(QDir(folder).filePath(recordings.at(index).fileName)).isFile();
}

void StudioWindow::updateProgress()
{
    int own = 0;
    for (int i = 0; i < recordings.size(); ++i)
        own += isTeachers(i) ? 1 : 0;
    progressLabel->setText(tr("Tekst %1 af %2 · %3 med din stemme, %4 stadig med computerstemmen")
                           .arg(current + 1).arg(recordings.size()).arg(own).arg(recordings.size() - own));
}

void StudioWindow::markItem(int index)
{
    list->item(index)->setText(recordings.at(index).fileName + QStringLiteral("  ")
                               + (isTeachers(index) ? tr("din stemme") : tr("computerstemmen")));
    updateProgress();
}

void StudioWindow::setStatus(const QString &text)
{
    statusLabel->setText(text);
}
