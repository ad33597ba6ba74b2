#pragma once

class CTaskManager;
class FileItem;

// What the step after a finished download did.
struct FinishedDownload
{
    FileItem *collectionItem = nullptr; // the new My collection item; null when the file could not be moved
    bool copyQueued = false;            // a copy to the phone was queued
};

namespace Downloads {

// The step after a download has completed, as the Downloads view takes it
// when it hears the final announcement: moves the file into the My
// collection folder under a free name and records that path as the item's
// target, measures the video's length (which goes into the My collection
// cache), adds the video to My collection and, when the user wanted it on
// the phone, queues a copy to the phone with tasks (may be null when there
// is no task queue). Main thread only.
//
// When the file cannot be moved the download turns failed, its file is
// removed and the failure is reported through its error signal; the caller
// refreshes the row. Items that are not completed downloads are left alone.
FinishedDownload finishDownload(FileItem *item, CTaskManager *tasks);

} // namespace Downloads
