#pragma once

#include <QString>

// Task kinds and states. A state's high bits classify it: pending, done or
// failed; a state with none of them is running.
namespace TaskState {

enum Kind {
    ConvertKind = 0,        // into My collection
    ConvertAndCopyKind = 1, // into My collection, then to the phone
    DeletePcKind = 2,
    DeletePhoneKind = 3,
    CopyToPcKind = 4,
    CopyToPhoneKind = 5,
    NoTaskKind = 6,
};

enum : int {
    PendingBit = 0x10000,
    DoneBit = 0x100000,
    FailedBit = 0x1000000,

    PendingConversion = 0x10002,
    PendingPcDeletion = 0x10008,
    PendingPhoneDeletion = 0x10009,
    PendingCopyToPc = 0x1000b,
    PendingCopyToPhone = 0x1000c,

    Converting = 3,
    CopyingToPhone = 4,
    CopyingToPc = 13,
    DeletingOnPhone = 16,
    DeletingOnPc = 17,

    CopyToPhoneDone = 0x100001,
    ConversionDone = 0x100005,
    Cancelled = 0x100006,
    CopyToPcDone = 0x10000e,
    DeletionDone = 0x100012,

    CopyFailed = 0x1000007,
    DeletionFailed = 0x100000a,
    ConversionFailed = 0x100000f,
};

inline bool isPending(int state) { return state & PendingBit; }
inline bool isFinal(int state) { return state & (DoneBit | FailedBit); }

// The first pending state of a kind.
int firstPendingState(int kind);
// "Pending...", "Converting...", "Copying done" and so on; "Unknown" else.
QString text(int state);

} // namespace TaskState
