#pragma once

// The video converter component: an in-process component that converts one
// source video at a time into an MP4 file with H.264 video and AAC audio.
// The program loads it at run time (libtamselconverter.so) and creates one
// instance per use through the exported factory below.
//
// Every call returns a result code: 0 or positive for success, negative for
// failure. Calls that can fail for a reason of the component's own also store
// a component error number (ConverterError) through their last argument.

#include <QtGlobal>

class QObject;

namespace ConverterComponent {

// Component error numbers.
enum Error : qint32 {
    NoError = 0,
    FileAccessProblem = 1,      // the file cannot be opened for reading
    UnsupportedFileType = 2,
    NoVideoCodec = 3,
    NoAudioCodec = 4,
    MultipleAudioStreams = 5,
    MultipleVideoStreams = 6,
    OutOfMemory = 7,
    FileReadError = 8,          // reading failed during the conversion
    Cancelled = 9,
    SameFormat = 10,
    WaveOutError = 11,
    NoVolumeControl = 12,
    TargetProtected = 13,       // the target cannot be written, or already exists
    InternalError = 14,
    NoUsableStream = 15,
    RotationUnsupported = 16,
    TruncatedSource = 17,       // the input ends well before its stated length
};

// Result codes.
inline constexpr qint32 Ok = 0;
inline constexpr qint32 Fail = qint32(0x80004005);
inline constexpr qint32 InvalidArgument = qint32(0x80070057);
inline constexpr qint32 WrongState = qint32(0x8000FFFF);

// Properties of the opened source. Zero where the source does not tell.
struct MediaInfo
{
    quint32 durationMs = 0;
    quint32 flags = 0; // unused
    double frameRate = 0;
    quint16 width = 0;
    quint16 height = 0;
    quint32 sampleRate = 0;
    quint8 channels = 0;
};

// What to encode. A frame size is the output frame; the picture is scaled to
// fit inside it with its shape kept and the rest is filled black.
struct EncoderConfig
{
    quint8 audioChannels = 0;   // 0 leaves the audio out
    quint32 audioSampleRate = 48000;
    quint32 videoFourCC = 0x31435641; // "AVC1"
    quint32 width = 0;
    quint32 height = 0;
    double frameRate = 15;
    quint32 videoBitrate = 0;   // bits per second
};

struct AudioRecord
{
    quint32 bitrate = 0; // bits per second
    quint8 enabled = 1;
};

// Signalled once when a started conversion has ended, however it ended.
class EndEvent
{
public:
    virtual void set() = 0;

protected:
    ~EndEvent() = default;
};

class IVideoConverter
{
public:
    // Lifetime: the creator holds one reference.
    virtual quint32 addRef() = 0;
    virtual quint32 release() = 0;
    virtual qint32 reserved0() = 0;

    // Opens a source. `kind` receives 1 for a file with video, 2 for audio only.
    // A source that blocks (a FIFO) is waited for until it delivers or the
    // instance is cancelled.
    virtual qint32 openFile(const char16_t *path, quint16 *kind, qint32 *error) = 0;
    virtual qint32 closeFile() = 0;
    // The returned record stays owned by the component and valid until the
    // next call on it.
    virtual qint32 mediaInfo(const MediaInfo **info) = 0;
    virtual qint32 reserved1() = 0;
    // `parameters` is an opaque tuning block of `parameterSize` bytes.
    virtual qint32 configure(const EncoderConfig *config, const quint8 *parameters, quint32 parameterSize,
                             const AudioRecord *audio, quint32 audioSize, qint32 *error) = 0;
    virtual qint32 setEndEvent(EndEvent *event, quint32 mode) = 0;
    // Starts converting in the background into `outputPathWithoutExtension` + ".mp4".
    // The file appears only when the conversion succeeds and never replaces an
    // existing file.
    virtual qint32 start(const char16_t *outputPathWithoutExtension, quint32 mode, qint32 *error) = 0;
    // Progress events (ComponentEvent 2025, 2026, 2028) are posted to `target`.
    virtual qint32 setProgressTarget(QObject *target, qint32 minimum, qint32 maximum) = 0;
    // Any thread may cancel, at any moment, also before a file is open: the
    // open or conversion under way ends with Cancelled, leaving no file, and
    // every later openFile and start on this instance fails with Cancelled.
    // A cancel holds for the rest of the instance's life; new work needs a
    // new instance.
    virtual qint32 cancel() = 0;
    virtual qint32 passCount(void **reserved, quint8 *count) = 0;
    // After the end event: the conversion's component error number.
    virtual qint32 finalResult(qint32 *error) = 0;

protected:
    virtual ~IVideoConverter() = default;
};

} // namespace ConverterComponent

// The factory the library exports, resolved by this name.
#define TAMSEL_CONVERTER_FACTORY "TamselConverter_Create"
extern "C" {
typedef ConverterComponent::IVideoConverter *(*TamselConverterFactory)();
}
