#pragma once

#include "apibase.h"

#include <QString>

class QObject;
namespace Conversion {
struct SourceProperties;
}
namespace ConverterComponent {
class IVideoConverter;
}

namespace Orvak_API {

class Phone_VideoCapabilities;

// The program's handle on the video converter component: it opens a source,
// reads its length, and converts it for a phone with the quality profile and
// the phone's limits. Build, use and destroy it on one thread (a task's worker
// thread); only cancel() may be called from another thread, at any time. Failures are reported through SignalErrorMessage with the media table.
class VideoConverter : public API_Base
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VideoConverter)

public:
    // progressTarget receives the conversion's progress events; without one
    // they go to the default target (the main window's task progress bar).
    explicit VideoConverter(QObject *progressTarget = nullptr);
    ~VideoConverter() override;

    bool openFile(const QString &path);
    void closeFile();
    // Length of the open file in whole seconds; 0 without an open file.
    uint playbackLength();
    // Frame size, frame rate and audio of the open file; false without one.
    bool sourceProperties(Conversion::SourceProperties &source);
    // Stops the open or conversion under way and makes every later one fail
    // with the component's "cancelled" number: a cancel holds whenever it
    // comes, also before a file is open. The one call for other threads;
    // false only without a component.
    bool cancel();
    // Converts the open file into outputFolder as target's name with ".mp4".
    // Blocks until the conversion has ended; on return target holds the
    // output path. quality: 2 High, 1 Medium, anything else Low.
    bool convert(const QString &outputFolder, QString &target, int quality, const Phone_VideoCapabilities &caps);

    bool isFileOpen() const { return m_fileOpen; }
    // Whether the open file has a video stream (not audio alone).
    bool hasVideo() const { return m_fileOpen && m_hasVideo; }
    // Passes the running conversion makes; its progress spans passCount() x 100.
    quint8 passCount() const { return m_passCount; }

    static void setDefaultProgressTarget(QObject *target);

private:
    ConverterComponent::IVideoConverter *m_component = nullptr;
    bool m_fileOpen = false;
    bool m_hasVideo = false;
    quint8 m_passCount = 0;
    QObject *m_progressTarget = nullptr;
};

} // namespace Orvak_API
