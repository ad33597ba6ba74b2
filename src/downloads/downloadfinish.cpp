#include "downloadfinish.h"

#include "catalogue.h"
#include "downloaditem.h"
#include "downloadlog.h"
#include "downloadstates.h"
#include "settingsstore.h"
#include "taskmanager.h"
#include "taskstates.h"
#include "videoconverter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Downloads {

namespace {

bool isDirectlyIn(const QString &path, const QString &folder)
{
    return QFileInfo(path).absolutePath() == QDir::cleanPath(QDir(folder).absolutePath());
}

} // namespace

FinishedDownload finishDownload(FileItem *item, CTaskManager *tasks)
{
    FinishedDownload result;
    auto *download = item ? static_cast<CDownloadItem *>(item->download) : nullptr;
    if (!download || download->state() != DownloadState::Completed || download->item() != item)
        return result;
    // Only the download's own file is moved, and only once.
    const QString source = item->pc.path;
    if (download->folderPath().isEmpty() || !isDirectlyIn(source, download->folderPath()))
        return result;

    Catalogue &catalogue = Catalogue::instance();
    const QString folder = Settings::myCollectionFolder();
    const QString target = catalogue.uniqueTargetPath(folder + QLatin1Char('/') + item->pc.name + QLatin1Char('.')
                                                      + item->pc.suffix);
    // The free name stays in the My collection folder and meets no file.
    QString problem;
    if (!QDir().mkpath(folder))
        problem = QStringLiteral("cannot create the My collection folder ") + folder;
    else if (!isDirectlyIn(target, folder) || QFileInfo::exists(target))
        problem = QStringLiteral("no free name in the My collection folder for ") + item->pc.name;
    else if (!QFile::rename(source, target))
        problem = QStringLiteral("cannot move ") + source + QStringLiteral(" to ") + target;
    if (!problem.isEmpty()) {
        qCWarning(lcDownloads) << "finishing download" << item->uuid << "failed:" << problem;
        download->failAfterFinish(QStringLiteral("Download failed, ") + problem,
                                  CDownloadItem::tr("The downloaded file cannot be moved to My collection."));
        return result;
    }
    download->releaseFolder();

    item->pc.setFromFile(target);
    item->pc.targetPath = target;
    Orvak_API::VideoConverter probe;
    const int length = catalogue.probeLength(&probe, target);
    item->pc.playbackLength = length;

    FileItem *collected = catalogue.appendMyCollectionItem();
    collected->pc.setFromFile(target);
    collected->pc.playbackLength = length;
    result.collectionItem = collected;
    qCDebug(lcDownloads) << "download" << item->uuid << "now in My collection:" << target << length << "s";

    if (download->copyToPhone() && tasks) {
        result.copyQueued =
            tasks->addTasks({collected}, catalogue.tasks.items(), TaskState::CopyToPhoneKind) == 0;
    }
    return result;
}

} // namespace Downloads
