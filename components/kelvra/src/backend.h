#pragma once

// The file system of one phone as the C calls see it. A session of KelvFiles
// holds one backend; the calls check their arguments and the session's
// state, and the backend does the work on folders (folder phones, removable
// volumes) or on an MTP device. Both answer with the same codes.

#include "kelvra_p.h"

#include <QByteArray>

#include <unistd.h>

#include <vector>

namespace kelvra {

struct FileEntry
{
    QString name;
    qint64 size = 0;
    qint64 modifiedMs = 0; // UTC milliseconds since 1970
};

// What a copy asks of its session while it runs.
class CopyControl
{
public:
    virtual bool cancelled() const = 0; // KELVCancel was called
    virtual bool closed() const = 0;    // the session or the module has ended
    // percent 0 to 100 and the bytes done; only called when percent changes
    // (and with 0 at the start).
    virtual void progress(int percent, qint64 done) = 0;

protected:
    ~CopyControl() = default;
};

class PhoneFs
{
public:
    virtual ~PhoneFs() = default;

    // KELV_OK while the phone is there, else KELV_ERR_NOT_CONNECTED.
    virtual KELV_RESULT connected() = 0;
    virtual KELV_RESULT refreshMemoryValues() = 0;
    virtual KELV_RESULT memoryTypes(QStringList &types) = 0;
    virtual KELV_RESULT memoryValues(const QString &type, qint64 &free, qint64 &total, qint64 &used) = 0;
    // Folders and files of a phone folder, each in name order.
    virtual KELV_RESULT list(const QString &folder, QStringList &folders, std::vector<FileEntry> &files) = 0;
    virtual KELV_RESULT createFolder(const QString &name, const QString &parent) = 0;
    virtual KELV_RESULT deleteFile(const QString &name, const QString &folder) = 0;
    // Copies name between the phone folder and the PC folder, in the
    // direction given, with the rules of KELVCopyFile.
    virtual KELV_RESULT copy(CopyControl &control, bool toPhone, bool replace, const QString &name,
                             const QString &phoneFolder, const QString &pcFolder) = 0;
    // A regular file of at most KELV_MAX_READ_SIZE bytes.
    virtual KELV_RESULT readFile(const QString &name, const QString &folder, QByteArray &data, qint64 &modifiedMs) = 0;
};

std::unique_ptr<PhoneFs> openFolderFs(const Phone &phone);
// Null with the reason in why when the device cannot be used.
std::unique_ptr<PhoneFs> openMtpFs(const Phone &phone, KELV_RESULT &why);

// Closes the descriptor it holds.
struct Fd
{
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
};

// Checks a PC folder for the PC side of a copy.
KELV_RESULT pcFolder(const QString &folder);

// Sends progress to the session's sink.
inline int percentOf(qint64 done, qint64 total)
{
    return total <= 0 ? 100 : int(done * 100 / total);
}

} // namespace kelvra
