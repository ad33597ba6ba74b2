#include "downloadlog.h"

Q_LOGGING_CATEGORY(lcDownloads, "tamsel.downloads", QtWarningMsg)
