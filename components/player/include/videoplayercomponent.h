#pragma once

// The video player component: plays one video at a time inside a window the
// program hands it. The program loads it at run time (libtamselplayer.so) and
// creates one instance per use through the exported factory below.
//
// The picture is drawn by a child widget of that window, named
// kPictureObjectName, which lets mouse and key events through to the window.
// It keeps the video's shape: what the picture does not fill stays black.
//
// The component reports to the window by posting ComponentEvent 2124 (a
// player event: read which with eventCode()) and 2125 (wParam: the position
// in milliseconds, a few times a second while playing).
//
// Every call returns a result code: 0 for success, positive for success with
// nothing changed, negative for failure. Calls that can fail for a reason of
// the component's own also store a component error number (Error) through
// their last argument. Create, use and release an instance on the GUI thread.

#include <QtGlobal>

class QObject;

namespace PlayerComponent {

// Component error numbers, shared with the converter component's table.
enum Error : qint32 {
    NoError = 0,
    FileAccessProblem = 1, // the file cannot be opened for reading
    UnsupportedFileType = 2,
    NoVideoCodec = 3,
    NoAudioCodec = 4,
    OutOfMemory = 7,
    FileReadError = 8, // reading or decoding failed while playing
    InternalError = 14,
    NoUsableStream = 15,
};

// Player events, as eventCode() tells them.
enum Event : quint32 {
    NoEvent = 0,
    Finished = 1, // playback reached the end or stopped on an error
    Started = 2,
    Paused = 3,
};

// Result codes.
inline constexpr qint32 Ok = 0;
inline constexpr qint32 NothingChanged = 1;
inline constexpr qint32 Fail = qint32(0x80004005);
inline constexpr qint32 InvalidArgument = qint32(0x80070057);
inline constexpr qint32 WrongState = qint32(0x8000FFFF);

// Object name of the widget that draws the picture inside the window.
inline constexpr char kPictureObjectName[] = "playerPicture";

// What the component knows of the open file. The strings are
// zero-terminated UTF-16.
struct PlaybackInfo
{
    quint32 lengthMs = 0;     // 0 when the file does not tell its length
    quint32 reserved[2] = {}; // unused
    const char16_t *title = nullptr;  // the file's title tag, else its base name
    const char16_t *format = nullptr; // container and codecs, e.g. "mp4: h264, aac"
};

class IVideoPlayer
{
public:
    // Lifetime: the creator holds one reference.
    virtual quint32 addRef() = 0;
    virtual quint32 release() = 0;
    virtual qint32 reserved0() = 0;

    // Opens a file for playback (closing the one open before). `kind`
    // receives 1 for a file with video, 2 for audio only.
    virtual qint32 openFile(const char16_t *path, quint16 *kind, qint32 *error) = 0;
    // Stops and closes; events of this file still waiting for the window are
    // dropped.
    virtual qint32 closeFile() = 0;
    virtual qint32 reserved1() = 0;
    // The record stays owned by the component and valid until the next call
    // on it.
    virtual qint32 playbackInfo(const PlaybackInfo **info) = 0;
    // The window to draw into and to post events to: a QWidget.
    virtual qint32 setWindow(QObject *window) = 0;
    // Where in the window the picture goes.
    virtual qint32 setPictureRect(qint32 x, qint32 y, qint32 width, qint32 height) = 0;
    // Starts playing the open file; without `withSound` the sound is left out.
    virtual qint32 play(quint8 withSound, qint32 *error) = 0;
    // Pauses or resumes; after the end it plays again from the start.
    // NothingChanged without an open file.
    virtual qint32 togglePause() = 0;
    // After a Finished event: the component error number it ended with
    // (NoError when the video simply ran to its end). Reading it clears it.
    virtual qint32 playbackError(qint32 *error) = 0;
    virtual qint32 reserved2() = 0;
    // The last player event posted.
    virtual qint32 eventCode(quint32 *code) = 0;
    // Plays from a position in milliseconds (the length or beyond: the end).
    virtual qint32 playFrom(qint64 positionMs) = 0;
    // Volume 0 to 100 as a listener hears it (a logarithmic scale); the
    // component turns it into the linear gain of its sound output.
    virtual qint32 volume(qint32 *volume) = 0;
    virtual qint32 setVolume(qint32 volume) = 0;

protected:
    virtual ~IVideoPlayer() = default;
};

} // namespace PlayerComponent

// The factory the library exports, resolved by this name.
#define TAMSEL_PLAYER_FACTORY "TamselPlayer_Create"
extern "C" {
typedef PlayerComponent::IVideoPlayer *(*TamselPlayerFactory)();
}
