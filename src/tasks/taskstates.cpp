#include "taskstates.h"

#include <QCoreApplication>

namespace TaskState {

int firstPendingState(int kind)
{
    switch (kind) {
    case ConvertKind:
    case ConvertAndCopyKind:
        return PendingConversion;
    case DeletePcKind:
        return PendingPcDeletion;
    case DeletePhoneKind:
        return PendingPhoneDeletion;
    case CopyToPcKind:
        return PendingCopyToPc;
    case CopyToPhoneKind:
        return PendingCopyToPhone;
    default:
        return 0;
    }
}

QString text(int state)
{
    const char *source = "Unknown";
    switch (state) {
    case PendingConversion:
    case PendingPcDeletion:
    case PendingPhoneDeletion:
    case PendingCopyToPc:
    case PendingCopyToPhone:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Pending...");
        break;
    case Converting:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Converting...");
        break;
    case CopyingToPhone:
    case CopyingToPc:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Copying...");
        break;
    case DeletingOnPhone:
    case DeletingOnPc:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Deleting...");
        break;
    case CopyToPhoneDone:
    case CopyToPcDone:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Copying done");
        break;
    case ConversionDone:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Conversion done");
        break;
    case Cancelled:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Completed.");
        break;
    case DeletionDone:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Deletion Successful");
        break;
    case CopyFailed:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Copy Failed");
        break;
    case DeletionFailed:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Deletion Failed");
        break;
    case ConversionFailed:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Conversion Failed");
        break;
    default:
        source = QT_TRANSLATE_NOOP("CTaskItem", "Unknown");
        break;
    }
    return QCoreApplication::translate("CTaskItem", source);
}

} // namespace TaskState
