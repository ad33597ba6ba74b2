#include "downloadstates.h"

#include <QCoreApplication>

namespace DownloadState {

QString text(int state)
{
    const char *source = QT_TRANSLATE_NOOP("CDownloadItem", "Unknown");
    switch (state) {
    case Queued:
        source = QT_TRANSLATE_NOOP("CDownloadItem", "Pending...");
        break;
    case Downloading:
        source = QT_TRANSLATE_NOOP("CDownloadItem", "Downloading...");
        break;
    case Completed:
        source = QT_TRANSLATE_NOOP("CDownloadItem", "Completed.");
        break;
    case Failed:
        source = QT_TRANSLATE_NOOP("CDownloadItem", "Failed");
        break;
    case Cancelled:
        source = QT_TRANSLATE_NOOP("CDownloadItem", "Canceled");
        break;
    default:
        break;
    }
    return QCoreApplication::translate("CDownloadItem", source);
}

} // namespace DownloadState
