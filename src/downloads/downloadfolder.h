#pragma once

#include <QString>

#include <memory>

class QLockFile;
class QTemporaryDir;

// Where downloads in progress live: a folder of the user's own inside the
// temporary folder, reachable by no one else, with one fresh subfolder per
// download, so that a download never meets a file it did not make.
namespace DownloadFolder {

// <temporary folder>/tamsel-downloads-<user id>, made with mode 0700 when
// missing. Empty, with the reason in error, when it cannot be made or is not
// the user's own (another owner, a symbolic link, not a folder).
QString privateFolder(QString *error = nullptr);

// One download's own subfolder of the private folder, locked while it is in
// use; it goes, with everything in it, when this object goes.
class Own
{
public:
    // Null, with the reason in error, when none can be made.
    static std::unique_ptr<Own> create(QString *error = nullptr);
    ~Own();
    Own(const Own &) = delete;
    Own &operator=(const Own &) = delete;

    QString path() const;

private:
    Own();
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QLockFile> m_lock;
};

// Removes the subfolders whose download died with its program (a crash, a
// kill): those whose lock no running process holds.
void removeAbandoned();

} // namespace DownloadFolder
