#pragma once

#include <QString>

// Download states. They share the task states' classes: a pending, a done
// and a failed bit; a state with none of them is running.
namespace DownloadState {

enum : int {
    PendingBit = 0x10000,
    DoneBit = 0x100000,
    FailedBit = 0x1000000,

    Queued = 0x10001,
    Downloading = 2, // requesting or receiving
    Completed = 0x100003,
    Failed = 0x1000004,
    Cancelled = 0x1000005,
};

inline bool isFinal(int state) { return state & (DoneBit | FailedBit); }
// Queued or downloading: what a cancel still reaches.
inline bool isActive(int state) { return state == Queued || state == Downloading; }

// "Pending...", "Downloading...", "Completed.", "Failed", "Canceled"; "Unknown" else.
QString text(int state);

} // namespace DownloadState
