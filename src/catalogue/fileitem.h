#pragma once

#include "filemirror.h"

#include <QUuid>

// What an item asks of the task working on it (the task classes implement it).
class FileItemTask
{
public:
    virtual int taskState() const = 0;
    virtual int taskKind() const = 0;
    virtual QString taskStateText() const = 0;

protected:
    ~FileItemTask() = default;
};

// What an item asks of its download (the download classes implement it).
class FileItemDownload
{
public:
    virtual int downloadState() const = 0;
    // The last progress in percent; -1 while the total is not known.
    virtual int downloadPercent() const = 0;
    virtual QString downloadStateText() const = 0;

protected:
    ~FileItemDownload() = default;
};

// One video as the program knows it: its copy on the PC and its copy on the
// phone (either may be empty), the task working on it and its download.
// Copies keep the identity (uuid); every newly made item gets a fresh one.
class FileItem
{
public:
    enum Location { PcOnly = 0, PhoneOnly = 1, Both = 2, Neither = 3 };

    FileItem();

    // From the two names: which copies there are.
    Location location() const;
    bool isEmpty() const { return location() == Neither; }

    // These ask the PC copy when there is one, else the phone copy; an item
    // with neither answers empty values.
    bool exists() const;
    // With overridePath, the file-name part of it: after the last "\" for a
    // phone path, after the last "/" for a PC path.
    QString name(const QString &overridePath = QString()) const;
    QString path() const;
    int playbackLength() const;
    qint64 size() const;
    QString type() const;
    // Neither copy: twenty years before now, so that such items sort last.
    QDateTime date() const;
    QPixmap thumbnail() const;
    QString rowText(int viewKind);

    // Compares the two copies and sets both copies' sync states.
    void syncStates();

    // The task's state, kind (6 without a task) and state text.
    int taskState() const;
    int taskKind() const;
    QString taskStateText() const;
    // Pending, running or failed: the task has not reached "done".
    bool isTaskNotDone() const;
    // Whether the task (or, with ofDownload, the download) failed.
    bool hasFailed(bool ofDownload = false) const;
    // The download's state, 0 without a download.
    int downloadState() const;

    PC pc;
    PHONE phone;
    FileItemTask *task = nullptr;      // the CTaskItem working on it; not owned
    FileItemDownload *download = nullptr; // the CDownloadItem of this item; not owned
    QUuid uuid;

private:
    const FileMirror *chosen() const;
};
