#include "videoconverter.h"

#include "componentlibrary.h"
#include "conversionplan.h"
#include "converterlibrary.h"
#include "settingsstore.h"
#include "videocapabilities.h"
#include "videoconvertercomponent.h"

#include <QAtomicPointer>
#include <QSemaphore>

using ConverterComponent::IVideoConverter;

namespace Orvak_API {

namespace {

const char kCreateContext[] = "Orvak Video Converter COM object cannot be created. Check if Orvak Pelmora installed";

QAtomicPointer<QObject> s_defaultProgressTarget;

class EndEvent final : public ConverterComponent::EndEvent
{
public:
    void set() override { m_signalled.release(); }
    void wait() { m_signalled.acquire(); }

private:
    QSemaphore m_signalled;
};

} // namespace

void VideoConverter::setDefaultProgressTarget(QObject *target)
{
    s_defaultProgressTarget.storeRelease(target);
}

VideoConverter::VideoConverter(QObject *progressTarget) : m_progressTarget(progressTarget)
{
    setErrorTable(mediaErrorTable);
    m_component = ConverterLibrary::create();
    checkComponentCreated(*this, m_component != nullptr, QLatin1String(kCreateContext));
}

VideoConverter::~VideoConverter()
{
    if (m_component)
        m_component->release();
}

bool VideoConverter::openFile(const QString &path)
{
    if (!m_component)
        return false;
    quint16 kind = 0;
    qint32 error = 0;
    setLastResult(m_component->openFile(componentText(path), &kind, &error));
    setLastCode(error);
    // Reported even on success: a warning number still deserves a message.
    reportError(QStringLiteral("File '") + path + QStringLiteral("' cannot be open"), true, path);
    m_fileOpen = lastResult() >= 0;
    m_hasVideo = kind == 1;
    return m_fileOpen;
}

void VideoConverter::closeFile()
{
    if (!m_component)
        return;
    checkResult(m_component->closeFile(), QStringLiteral("VideoConverter CloseFile command failed"));
    m_fileOpen = false;
}

uint VideoConverter::playbackLength()
{
    if (!m_component || !m_fileOpen)
        return 0;
    const ConverterComponent::MediaInfo *info = nullptr;
    setLastResult(m_component->mediaInfo(&info));
    if (!info || lastResult() < 0)
        return 0;
    // 0 means "not known": a clip shorter than a second still has a length.
    return info->durationMs > 0 && info->durationMs < 1000 ? 1 : info->durationMs / 1000;
}

bool VideoConverter::sourceProperties(Conversion::SourceProperties &source)
{
    source = Conversion::SourceProperties();
    if (!m_component || !m_fileOpen)
        return false;
    const ConverterComponent::MediaInfo *info = nullptr;
    setLastResult(m_component->mediaInfo(&info));
    if (!info || lastResult() < 0)
        return false;
    source.width = info->width;
    source.height = info->height;
    source.frameRate = info->frameRate;
    source.sampleRate = int(info->sampleRate);
    source.channels = info->channels;
    return true;
}

bool VideoConverter::cancel()
{
    // Only the component is touched: its cancel is made for other threads,
    // while the recorded results belong to the converter's own thread.
    if (!m_component)
        return false;
    return m_component->cancel() >= 0;
}

bool VideoConverter::convert(const QString &outputFolder, QString &target, int quality,
                             const Phone_VideoCapabilities &caps)
{
    if (!m_component || !m_fileOpen)
        return false;

    // A source that cannot tell its properties converts with zeros, which the
    // component refuses with its own message.
    Conversion::SourceProperties source;
    sourceProperties(source);
    const Settings::ProfileValues profile = Conversion::profileFor(Settings::qualityFromValue(quality));
    const Conversion::Plan plan =
        Conversion::plan(source, profile, Conversion::PhoneLimits{caps.width, caps.height, caps.maxBitrate});

    ConverterComponent::EncoderConfig config;
    config.audioChannels = quint8(plan.channels);
    config.audioSampleRate = quint32(plan.sampleRate);
    config.width = quint32(qMax(0, plan.width));
    config.height = quint32(qMax(0, plan.height));
    config.frameRate = plan.frameRate;
    config.videoBitrate = quint32(qMax(0, plan.videoBitrate));
    ConverterComponent::AudioRecord audio;
    audio.bitrate = quint32(qMax(0, plan.audioBitrate));
    // The encoder's tuning block; its meaning is the component's.
    quint8 parameters[45] = {};
    parameters[0] = 1;
    parameters[1] = 127;
    parameters[2] = 16;
    parameters[32] = 3;
    parameters[34] = 4096 & 0xFF;
    parameters[35] = 4096 >> 8;
    parameters[36] = 26;
    parameters[37] = 28;
    parameters[39] = 10000 & 0xFF;
    parameters[40] = (10000 >> 8) & 0xFF;
    parameters[44] = 1;

    const QString outputPath = Conversion::outputBase(outputFolder, target);
    qint32 error = 0;
    setLastResult(m_component->configure(&config, parameters, sizeof parameters, &audio, 8, &error));
    setLastCode(error);
    reportError(QStringLiteral("File cannot be converted to ") + outputPath + QStringLiteral(".mp4"), true, target);
    if (lastResult() < 0)
        return false;

    EndEvent ended;
    QObject *progressTarget = m_progressTarget ? m_progressTarget : s_defaultProgressTarget.loadAcquire();
    setLastResult(m_component->setProgressTarget(progressTarget, 0, 100));
    setLastResult(m_component->setEndEvent(&ended, 2));
    m_passCount = 0;
    setLastResult(m_component->passCount(nullptr, &m_passCount));

    error = 0;
    setLastResult(m_component->start(componentText(outputPath), 11, &error));
    setLastCode(error);
    // A conversion that never started never signals its end: do not wait for it.
    if (lastResult() >= 0) {
        ended.wait();
        error = 0;
        setLastResult(m_component->finalResult(&error));
        setLastCode(error);
    }
    reportError(QStringLiteral("File cannot be converted to ") + outputPath, true, target);
    target = outputPath + QStringLiteral(".mp4");
    return lastResult() >= 0;
}

} // namespace Orvak_API
