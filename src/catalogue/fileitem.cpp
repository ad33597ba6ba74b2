#include "fileitem.h"

#include <QFileInfo>
#include <QPixmap>

FileItem::FileItem() : uuid(QUuid::createUuid()) {}

FileItem::Location FileItem::location() const
{
    const bool onPc = !pc.name.isEmpty();
    const bool onPhone = !phone.name.isEmpty();
    if (onPc && onPhone)
        return Both;
    if (onPc)
        return PcOnly;
    return onPhone ? PhoneOnly : Neither;
}

const FileMirror *FileItem::chosen() const
{
    switch (location()) {
    case PcOnly:
    case Both:
        return &pc;
    case PhoneOnly:
        return &phone;
    case Neither:
        break;
    }
    return nullptr;
}

bool FileItem::exists() const
{
    const FileMirror *m = chosen();
    return m && m->exists();
}

QString FileItem::name(const QString &overridePath) const
{
    const FileMirror *m = chosen();
    if (!m)
        return QString();
    if (!overridePath.isEmpty()) {
        // Phone paths ("\\E:\Videos\clip.mp4") keep the phone's separator;
        // on the PC a backslash is an ordinary character of a file name.
        if (overridePath.startsWith(QLatin1String("\\\\")))
            return overridePath.mid(overridePath.lastIndexOf(QLatin1Char('\\')) + 1);
        return QFileInfo(overridePath).fileName();
    }
    return m->name;
}

QString FileItem::path() const
{
    const FileMirror *m = chosen();
    return m ? m->path : QString();
}

int FileItem::playbackLength() const
{
    const FileMirror *m = chosen();
    return m ? m->playbackLength : 0;
}

qint64 FileItem::size() const
{
    const FileMirror *m = chosen();
    return m ? m->size : 0;
}

QString FileItem::type() const
{
    const FileMirror *m = chosen();
    return m ? m->type : QString();
}

QDateTime FileItem::date() const
{
    const FileMirror *m = chosen();
    return m ? m->created : QDateTime::currentDateTime().addYears(-20);
}

QPixmap FileItem::thumbnail() const
{
    return location() == PhoneOnly ? phone.thumbnail() : pc.thumbnail();
}

void FileItem::syncStates()
{
    const bool onPc = !pc.name.isEmpty();
    const bool onPhone = !phone.name.isEmpty();
    if (onPc && !onPhone) {
        pc.syncState = Current;
        phone.syncState = Missing;
        return;
    }
    if (!onPc && onPhone) {
        pc.syncState = Missing;
        phone.syncState = Current;
        return;
    }
    const qint64 d = phone.modified.toSecsSinceEpoch() - pc.modified.toSecsSinceEpoch();
    if (qAbs(d) >= 2) {
        phone.syncState = d > 0 ? Current : Older;
        pc.syncState = d > 0 ? Older : Current;
    } else {
        const int state = pc.size == phone.size ? Current : Unknown;
        pc.syncState = state;
        phone.syncState = state;
    }
}

namespace {
constexpr int kDoneBit = 0x100000;
constexpr int kFailedBit = 0x1000000;
}

int FileItem::taskState() const
{
    return task ? task->taskState() : 0;
}

int FileItem::taskKind() const
{
    return task ? task->taskKind() : 6;
}

QString FileItem::taskStateText() const
{
    return task ? task->taskStateText() : QString();
}

bool FileItem::isTaskNotDone() const
{
    return !(taskState() & kDoneBit);
}

bool FileItem::hasFailed(bool ofDownload) const
{
    return (ofDownload ? downloadState() : taskState()) & kFailedBit;
}

int FileItem::downloadState() const
{
    return download ? download->downloadState() : 0;
}

QString FileItem::rowText(int viewKind)
{
    syncStates();
    QString text = location() == PhoneOnly ? phone.rowText(viewKind) : pc.rowText(viewKind);
    if (viewKind == 2 && task)
        text += QLatin1Char('|') + task->taskStateText();
    if (viewKind == 3 && download) {
        // While downloading the row shows the progress, when there is a total to measure it by.
        constexpr int kDownloading = 2;
        const int percent = download->downloadPercent();
        if (download->downloadState() == kDownloading && percent >= 0)
            text += QLatin1Char('|') + QString::number(percent) + QStringLiteral(" %");
        else
            text += QLatin1Char('|') + download->downloadStateText();
    }
    return text;
}
