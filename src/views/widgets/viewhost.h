#pragma once

#include <QString>
#include <QUuid>

class CDownloadManager;
class CTaskManager;
class FileItem;
class QAction;
class QWidget;

// What the list views need of the main window, which implements it. The
// views reach the window only through this, so that they can be built and
// tested without it. GUI thread only.
class CViewHost
{
public:
    virtual ~CViewHost() = default;

    // 0 My collection, 1 Scan results, 2 Tasks, 3 Downloads.
    virtual int currentContext() const = 0;
    // The selection size in the memory box: cleared, or the selected item's
    // (compared with the selected phone memory's free space).
    virtual void resetSelectionDetails() = 0;
    virtual void showSelectionDetails(FileItem *item, qint64 listTotal) = 0;
    // The menu bar's entries and the window's buttons, by object name; null
    // when there is none of that name.
    virtual QAction *menuAction(const QString &objectName) const = 0;
    virtual QWidget *windowButton(const QString &objectName) const = 0;
    // Whether the phone selector lists a phone.
    virtual bool hasPhoneEntries() const = 0;
    virtual void stopPlayer() = 0;
    // Shows path in the single view and plays it.
    virtual void playFile(const QString &path) = 0;
    // The copy to My collection of this item is to be played once done.
    virtual void playWhenCopied(const QUuid &item) = 0;
    // True (once) when the window had asked for this item to be played.
    virtual bool takePlayWhenCopied(const QUuid &item) = 0;
    // My collection is being rebuilt from the disk and the phone: a change
    // to it now would be lost, so the lists ask for another rebuild instead.
    virtual bool isCollectionBuilding() const = 0;
    // Rebuilds My collection (after the running rebuild, if there is one).
    virtual void FillMyCollection() = 0;
    // Tasks and the task box changed: show the task status again.
    virtual void refreshTaskStatus() = 0;
    virtual CTaskManager *taskManager() const = 0;
    virtual CDownloadManager *downloadManager() const = 0;
};
