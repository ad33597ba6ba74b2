#pragma once

#include <QList>
#include <QSize>

// A player component made for the tests, for what the real one on this
// machine never does: fail to read the volume, or not know a file's length.
// It opens any path, plays nothing, and records the calls the program makes.
// The test reaches this state through the library's second export.
struct StubPlayerState
{
    bool failVolume = true;
    quint32 lengthMs = 0;
    int volumeReads = 0;
    int volume = 50;
    QList<qint64> playFromCalls;
    QList<QSize> pictureSizes;
    QList<quint8> playWithSound;
};

#define TAMSEL_STUB_PLAYER_STATE "TamselStubPlayer_State"
extern "C" {
typedef StubPlayerState *(*StubPlayerStateFunction)();
}
