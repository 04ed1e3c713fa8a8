#include "studio/takerecorder.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QMediaDevices>

#include <algorithm>
#include <cstdlib>
#include <utility>

TakeRecorder::TakeRecorder(QObject *parent)
    : QObject(parent)
{
}

TakeRecorder::~TakeRecorder()
{
    // Quietly: whoever listens may be half destroyed already.
    if (input)
        disconnect(input, nullptr, this, nullptr);
    if (source) {
        disconnect(source, nullptr, this, nullptr);
        delete source;
    }
    stopPlayback();
}

bool TakeRecorder::hasMicrophone()
{
    return !QMediaDevices::audioInputs().isEmpty();
}

void TakeRecorder::start()
{
    if (input)
        return;
    // The take being recorded must not hear the one played back.
    stopPlayback();
    // With no microphone this is a null device, whose source opens nothing: the failure below.
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    QAudioFormat wanted;
    wanted.setSampleRate(44100);
    wanted.setChannelCount(1);
    wanted.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(wanted))
        wanted = device.preferredFormat();
    auto *opened = new QAudioSource(device, wanted, this);
    QIODevice *stream = opened->start();
    if (!stream || opened->error() != QAudio::NoError) {
        delete opened;
        emit failed(tr("Mikrofonen kan ikke bruges (%1).").arg(device.description()));
        return;
    }
    source = opened;
    connect(source, &QAudioSource::stateChanged, this, [this](QAudio::State) {
        // A microphone pulled out mid-take: keep what came before it.
        if (source && source->error() != QAudio::NoError && source->error() != QAudio::UnderrunError)
            stop();
    });
    capture(stream, wanted);
}

void TakeRecorder::capture(QIODevice *stream, const QAudioFormat &streamFormat)
{
    input = stream;
    format = streamFormat;
    raw.clear();
    connect(input, &QIODevice::readyRead, this, &TakeRecorder::readChunk);
    emit recordingStarted();
}

void TakeRecorder::readChunk()
{
    const QByteArray chunk = input->readAll();
    raw += chunk;
    const TakeProcessing::Take part = TakeProcessing::fromDevice(chunk, format);
    int peak = 0;
    for (qint16 s : part.samples)
        peak = std::max(peak, std::abs(int(s)));
    emit levelChanged(peak * 100 / 32768);
    if (raw.size() > qint64(format.bytesForDuration(qint64(longestTakeSeconds) * 1000000)))
        stop();
}

void TakeRecorder::stop()
{
    if (!input)
        return;
    QIODevice *stream = std::exchange(input, nullptr);
    raw += stream->readAll();
    disconnect(stream, nullptr, this, nullptr);
    if (QAudioSource *finished = std::exchange(source, nullptr)) {
        disconnect(finished, nullptr, this, nullptr);
        finished->stop();
        finished->deleteLater();
    }
    emit levelChanged(0);
    const TakeProcessing::Take captured = TakeProcessing::fromDevice(std::exchange(raw, {}), format);
    if (TakeProcessing::isSilent(captured)) {
        emit nothingHeard();
        return;
    }
    emit takeReady(TakeProcessing::levelled(TakeProcessing::trimmed(captured)));
}

void TakeRecorder::play(const TakeProcessing::Take &take)
{
    stopPlayback();
    if (take.isEmpty())
        return;
    QAudioFormat playFormat;
    playFormat.setSampleRate(take.rate);
    playFormat.setChannelCount(1);
    playFormat.setSampleFormat(QAudioFormat::Int16);
    // The samples alone: the sink is told their format.
    playback.setData(TakeProcessing::wavBytes(take).mid(44));
    playback.open(QIODevice::ReadOnly);
    sink = new QAudioSink(QMediaDevices::defaultAudioOutput(), playFormat, this);
    sink->start(&playback);
}

void TakeRecorder::stopPlayback()
{
    if (sink) {
        sink->stop();
        delete sink;
        sink = nullptr;
    }
    playback.close();
}
