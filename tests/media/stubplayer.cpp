#include "stubplayer.h"

#include "refcounted.h"

#include "videoplayercomponent.h"

#include <QList>
#include <QSize>

using namespace PlayerComponent;

namespace {
StubPlayerState s_state;

class StubPlayer final : public RefCounted<IVideoPlayer>
{
public:
    qint32 reserved0() override { return Ok; }
    qint32 reserved1() override { return Ok; }
    qint32 reserved2() override { return Ok; }

    qint32 openFile(const char16_t *, quint16 *kind, qint32 *error) override
    {
        *kind = 1;
        *error = NoError;
        m_open = true;
        m_info.lengthMs = s_state.lengthMs;
        m_info.title = u"stub";
        m_info.format = u"stub";
        return Ok;
    }
    qint32 closeFile() override
    {
        m_open = false;
        return Ok;
    }
    qint32 playbackInfo(const PlaybackInfo **info) override
    {
        *info = &m_info;
        return m_open ? Ok : WrongState;
    }
    qint32 setWindow(QObject *window) override { return window ? Ok : InvalidArgument; }
    qint32 setPictureRect(qint32, qint32, qint32 width, qint32 height) override
    {
        s_state.pictureSizes << QSize(width, height);
        return Ok;
    }
    qint32 play(quint8 withSound, qint32 *error) override
    {
        s_state.playWithSound << withSound;
        *error = NoError;
        return m_open ? Ok : WrongState;
    }
    qint32 togglePause() override { return m_open ? Ok : NothingChanged; }
    qint32 playbackError(qint32 *error) override
    {
        *error = NoError;
        return Ok;
    }
    qint32 eventCode(quint32 *code) override
    {
        *code = NoEvent;
        return Ok;
    }
    qint32 playFrom(qint64 positionMs) override
    {
        s_state.playFromCalls << positionMs;
        return Ok;
    }
    qint32 volume(qint32 *volume) override
    {
        ++s_state.volumeReads;
        if (s_state.failVolume)
            return Fail;
        *volume = s_state.volume;
        return Ok;
    }
    qint32 setVolume(qint32 volume) override
    {
        s_state.volume = volume;
        return Ok;
    }

private:
    bool m_open = false;
    PlaybackInfo m_info;
};

} // namespace

extern "C" Q_DECL_EXPORT IVideoPlayer *TamselPlayer_Create()
{
    return new StubPlayer;
}

extern "C" Q_DECL_EXPORT StubPlayerState *TamselStubPlayer_State()
{
    return &s_state;
}
