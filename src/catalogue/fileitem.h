#pragma once

#include "filemirror.h"

#include <QUuid>

class CTaskItem;
class CDownloadItem;

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
    QString name(const QString &overridePath = QString()) const;
    QString path() const;
    int playbackLength() const;
    qint32 size() const;
    QString type() const;
    // Neither copy: twenty years before now, so that such items sort last.
    QDateTime date() const;
    QPixmap thumbnail() const;
    QString rowText(int viewKind);

    // Compares the two copies and sets both copies' sync states.
    void syncStates();

    PC pc;
    PHONE phone;
    CTaskItem *task = nullptr;         // not owned
    CDownloadItem *download = nullptr; // not owned
    QUuid uuid;

private:
    const FileMirror *chosen() const;
};
