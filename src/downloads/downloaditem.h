#pragma once

#include "downloadfolder.h"
#include "downloadlink.h"
#include "fileitem.h"
#include "proxysettings.h"

#include <QByteArray>
#include <QObject>
#include <QUrl>
#include <QUuid>

#include <memory>

class CDownloadManager;
class QFile;
class QNetworkAccessManager;
class QNetworkReply;
class QThread;

// One download from a tmk:// link: a HEAD request (again for each redirect
// and proxy retry), then a GET whose body goes straight into a file of its
// own folder as it arrives. Lives on the main thread, like the catalogue
// item it describes. Every failure and every cancel removes the partial file.
class CDownloadItem final : public QObject, public FileItemDownload
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDownloadItem)

public:
    // Adds the download's item to the catalogue's downloads. The item is
    // named after the link's title and placed in a fresh private folder.
    CDownloadItem(CDownloadManager *manager, const QString &link);
    ~CDownloadItem() override;

    int state() const { return m_state; }
    FileItem *item() const { return m_item; }
    QUuid uuid() const { return m_uuid; }
    int percent() const { return m_percent; }
    bool copyToPhone() const { return m_copyToPhone; }
    void setCopyToPhone(bool copy) { m_copyToPhone = copy; }
    // Where the request goes now (it follows redirects).
    QUrl url() const { return m_url; }
    QString host() const { return m_url.host(); }
    bool proxyInUse() const { return m_proxyInUse; }
    // The proxy settings looked up for the host, less the proxies given up on.
    const ProxySettings &proxySettings() const { return m_proxy; }
    // The download's own folder while it has one (until the finishing step
    // has taken the file); empty after.
    QString folderPath() const;

    int downloadState() const override { return m_state; }
    int downloadPercent() const override { return m_percent; }
    QString downloadStateText() const override;

    // Sets the state, looks up the proxy for the host and sends the HEAD
    // request. The lookup runs on a thread of its own: reading the
    // desktop's proxy settings may mean fetching a proxy script.
    void start(int state);
    // Ends the download as cancelled: a queued one at once, a running one
    // by aborting its request. Either way the partial file is removed and
    // the download lets go of its catalogue item, which the caller may be
    // removing; no row update follows.
    void cancel();
    // Tells the Downloads view (row) and the main window (state).
    void announce(bool final);
    // After the finishing step has moved the file on: the folder goes.
    void releaseFolder();
    // Reports a failure of the download through SignalErrorMessage.
    void reportError(const QString &technical, const QString &friendly);
    // The finishing step could not take the file: the download fails after
    // all, its file goes, and the failure is reported (no row update).
    void failAfterFinish(const QString &technical, const QString &friendly);

Q_SIGNALS:
    void downloadStateUpdatedSlot();
    void downloadViewUpdatedSlot(FileItem *item, bool final);
    void SignalErrorMessage(const QString &title, const QString &message, const QString &friendlyMessage);

private:
    void proxyKnown(const ProxySettings &proxy);
    void useProxy(const QNetworkProxy &proxy);
    void sendHead();
    void sendGet();
    void watch(QNetworkReply *reply);
    void readBody();
    void readDataProgress(qint64 done, qint64 total);
    void doneHttpRequest(QNetworkReply *reply);
    bool followRedirect(const QByteArray &location);
    void finish(const QString &contentType);
    void fail(const QString &technical, const QString &friendly);
    void cleanUp();

    CDownloadManager *m_manager;
    ProxySettings m_proxy;
    int m_state;
    FileItem *m_item;
    QUuid m_uuid;
    QUrl m_url;
    QString m_fileName;
    QString m_setupError;
    std::unique_ptr<DownloadFolder::Own> m_folder;
    std::unique_ptr<QFile> m_file;
    QNetworkAccessManager *m_http = nullptr;
    QNetworkReply *m_reply = nullptr;
    QThread *m_lookup = nullptr; // the proxy lookup while it runs
    QByteArray m_buffer;
    qint64 m_received = 0; // bytes of the body written
    int m_percent = 0;
    int m_redirects = 0;
    bool m_copyToPhone = false;
    bool m_getSent = false;
    bool m_proxyInUse = false;
    bool m_bodyWanted = false; // the GET's answer is the file, not an error page or redirect
};
