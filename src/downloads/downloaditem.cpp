#include "downloaditem.h"

#include "catalogue.h"
#include "downloadfolder.h"
#include "downloadlog.h"
#include "downloadmanager.h"
#include "downloadstates.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QThread>
#include <QTimer>

#include <memory>

using namespace DownloadState;

namespace {

constexpr int kMaxRedirects = 10;
// The reply holds at most this much before it stops reading the socket;
// the body goes to the file in chunks of kChunk.
constexpr qint64 kReadBufferSize = 1024 * 1024;
constexpr qint64 kChunk = 256 * 1024;

QString cannotDownloadText()
{
    return CDownloadItem::tr("The file cannot be downloaded. Please, try again.");
}

QString connectionLostText()
{
    return CDownloadItem::tr(
        "The network connection is lost. Please, try to download the file again when the connection is available.");
}

QString noSuchFileText()
{
    return CDownloadItem::tr("The file does not exist on the requested server.");
}

// Errors that carry an HTTP answer: the status code decides, not the error.
bool isHttpStatusError(QNetworkReply::NetworkError error)
{
    return (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError)
        || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}

QNetworkRequest requestFor(const QUrl &url)
{
    QNetworkRequest request(url);
    // Redirects are ours to follow: each one is a new HEAD with its own proxy decision.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    return request;
}

} // namespace

CDownloadItem::CDownloadItem(CDownloadManager *manager, const QString &link)
    : QObject(manager), m_manager(manager), m_state(Queued), m_item(Catalogue::instance().appendDownload())
{
    m_uuid = m_item->uuid;
    m_item->download = this;

    const DownloadLink parsed = DownloadLinks::parse(link);
    m_url = parsed.url();
    m_fileName = parsed.fileName;
    m_folder = DownloadFolder::Own::create(&m_setupError);
    if (!m_url.isValid() && m_setupError.isEmpty())
        m_setupError = QStringLiteral("Download failed: the link names no host or port to reach: ") + link;

    const QString folder = m_folder ? m_folder->path() : DownloadFolder::privateFolder();
    FileMirror &pc = m_item->pc;
    pc.name = m_fileName;
    pc.path = folder + QLatin1Char('/') + m_fileName;
    pc.size = 0;
    pc.created = QDateTime::currentDateTime();
    pc.modified = pc.created;
    pc.suffix.clear();
    pc.type.clear();
    // The name was made safe; still, nothing is written outside the folder.
    if (m_folder && QFileInfo(pc.path).absolutePath() == QFileInfo(folder).absoluteFilePath())
        m_file = std::make_unique<QFile>(pc.path);
    else if (m_setupError.isEmpty())
        m_setupError = QStringLiteral("Download failed: no file can be made for ") + m_fileName;
    qCDebug(lcDownloads) << "download" << m_uuid << "of" << m_url << "into" << pc.path;
}

CDownloadItem::~CDownloadItem()
{
    blockSignals(true);
    // The program is closing: a proxy lookup still running is waited for,
    // so that no thread outlives the download.
    if (QThread *lookup = m_lookup) {
        m_lookup = nullptr;
        lookup->disconnect(this);
        lookup->wait();
        delete lookup;
    }
    cleanUp();
    // The item may already be gone from the catalogue; look it up afresh.
    if (FileItem *item = Catalogue::instance().downloads.find(m_uuid); item && item->download == this)
        item->download = nullptr;
}

QString CDownloadItem::folderPath() const
{
    return m_folder ? m_folder->path() : QString();
}

QString CDownloadItem::downloadStateText() const
{
    return DownloadState::text(m_state);
}

void CDownloadItem::start(int state)
{
    m_state = state;
    announce(false);
    if (!m_setupError.isEmpty()) {
        // Reported from the event loop, so that the caller's scheduling is over.
        QTimer::singleShot(0, this, [this] { fail(m_setupError, cannotDownloadText()); });
        return;
    }
    auto found = std::make_shared<ProxySettings>();
    const QString host = m_url.host();
    QThread *lookup = QThread::create([found, host] { *found = ProxySettings::lookUp(host); });
    m_lookup = lookup;
    connect(lookup, &QThread::finished, this, [this, lookup, found] {
        // An answer that arrives after a cancel belongs to no one.
        if (m_lookup != lookup)
            return;
        m_lookup = nullptr;
        lookup->deleteLater();
        proxyKnown(*found);
    });
    lookup->start();
}

void CDownloadItem::proxyKnown(const ProxySettings &proxy)
{
    // A cancel may have come while the lookup ran.
    if (m_state != Downloading)
        return;
    m_proxy = proxy;
    m_http = new QNetworkAccessManager(this);
    m_http->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    useProxy(m_proxy.proxyFor(m_url.host()));
    sendHead();
}

void CDownloadItem::useProxy(const QNetworkProxy &proxy)
{
    m_http->setProxy(proxy);
    m_proxyInUse = proxy.type() != QNetworkProxy::NoProxy;
}

void CDownloadItem::sendHead()
{
    m_state = Downloading;
    m_reply = m_http->head(requestFor(m_url));
    watch(m_reply);
}

void CDownloadItem::sendGet()
{
    const bool opened = m_file->isOpen()
        ? m_file->resize(0) && m_file->seek(0)
        : m_file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered);
    if (!opened) {
        fail(QStringLiteral("Download failed, file error: ") + m_file->errorString(), cannotDownloadText());
        return;
    }
    m_state = Downloading;
    m_getSent = true;
    m_bodyWanted = false;
    m_received = 0;
    m_reply = m_http->get(requestFor(m_url));
    m_reply->setReadBufferSize(kReadBufferSize);
    connect(m_reply, &QIODevice::readyRead, this, &CDownloadItem::readBody);
    watch(m_reply);
}

void CDownloadItem::watch(QNetworkReply *reply)
{
    connect(reply, &QNetworkReply::finished, this, [this, reply] { doneHttpRequest(reply); });
}

void CDownloadItem::readBody()
{
    if (!m_reply || !m_getSent)
        return;
    // Only a successful answer is the file; an error page or a redirect's
    // body is read and dropped.
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_bodyWanted = status >= 200 && status < 300;
    if (m_buffer.size() != kChunk)
        m_buffer.resize(kChunk);
    while (m_reply && m_reply->bytesAvailable() > 0) {
        const qint64 n = m_reply->read(m_buffer.data(), kChunk);
        if (n <= 0)
            break;
        if (!m_bodyWanted)
            continue;
        if (m_file->write(m_buffer.constData(), n) != n) {
            fail(QStringLiteral("Download failed, file error: ") + m_file->errorString(), cannotDownloadText());
            return;
        }
        m_received += n;
    }
    // Measured here rather than by the reply's own progress signal, which
    // keeps quiet for a while after the request starts.
    if (m_bodyWanted) {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        readDataProgress(m_received, length.isValid() ? length.toLongLong() : -1);
    }
}

void CDownloadItem::readDataProgress(qint64 done, qint64 total)
{
    // Without a length there is nothing to measure progress by.
    const int percent = total > 0 ? int(qBound(qint64(0), done * 100 / total, qint64(100))) : -1;
    if (percent == m_percent)
        return;
    m_percent = percent;
    announce(false);
}

void CDownloadItem::doneHttpRequest(QNetworkReply *reply)
{
    if (reply != m_reply) {
        reply->deleteLater();
        return;
    }
    if (m_getSent && reply->error() == QNetworkReply::NoError)
        readBody();
    if (reply != m_reply) // the rest of the body could not be written
        return;
    m_reply = nullptr;
    reply->deleteLater();

    const QNetworkReply::NetworkError error = reply->error();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool answered = status > 0 && (error == QNetworkReply::NoError || isHttpStatusError(error));
    if (!answered) {
        const bool hostNotFound = error == QNetworkReply::HostNotFoundError || error == QNetworkReply::ProxyNotFoundError;
        if (hostNotFound && !m_getSent && !m_proxy.proxies.isEmpty()) {
            // The proxy could not be found: the next one, or none.
            m_proxy.proxies.removeFirst();
            useProxy(m_proxy.proxies.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy) : m_proxy.proxies.first());
            qCDebug(lcDownloads) << "download" << m_uuid << "retries with proxy" << m_http->proxy();
            sendHead();
            return;
        }
        const QString technical = QStringLiteral("Download failed, QT error: ") + reply->errorString();
        fail(technical, error == QNetworkReply::RemoteHostClosedError ? connectionLostText() : cannotDownloadText());
        return;
    }

    const QByteArray location = reply->rawHeader("Location");
    if (!m_getSent) {
        // The HEAD's answer: a redirect whatever its status, else the GET.
        if (location.isEmpty())
            sendGet();
        else if (followRedirect(location))
            sendHead();
        return;
    }
    if (status >= 300 && status < 400 && !location.isEmpty()) {
        if (followRedirect(location)) {
            m_getSent = false;
            sendHead();
        }
        return;
    }
    if (status >= 400) {
        fail(QStringLiteral("Download failed, HTTP status: ") + QString::number(status), noSuchFileText());
        return;
    }
    finish(QString::fromLatin1(reply->rawHeader("Content-Type")));
}

bool CDownloadItem::followRedirect(const QByteArray &location)
{
    if (++m_redirects > kMaxRedirects) {
        fail(QStringLiteral("Download failed: more than %1 redirects").arg(kMaxRedirects), cannotDownloadText());
        return false;
    }
    // A relative location is relative to where the request went.
    QUrl target = m_url.resolved(QUrl::fromEncoded(location.trimmed()));
    target.setFragment(QString());
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() || target.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        fail(QStringLiteral("Download failed: cannot follow the redirect to ") + QString::fromLatin1(location),
             cannotDownloadText());
        return false;
    }
    qCDebug(lcDownloads) << "download" << m_uuid << "redirected to" << target;
    m_url = target;
    useProxy(m_proxy.proxyFor(target.host()));
    return true;
}

void CDownloadItem::finish(const QString &contentType)
{
    const QString extension = DownloadLinks::extensionFor(contentType);
    const QString folder = m_folder->path();
    const QString finalPath = folder + QLatin1Char('/') + m_fileName + QLatin1Char('.') + extension;
    m_file->close();
    // The name was made safe; still, nothing is renamed out of the folder.
    if (QFileInfo(finalPath).absolutePath() != QFileInfo(folder).absoluteFilePath()
        || !m_file->rename(finalPath)) {
        fail(QStringLiteral("Download failed, file error: cannot rename to ") + finalPath, cannotDownloadText());
        return;
    }
    m_file.reset();
    m_http->deleteLater();
    m_http = nullptr;
    m_state = Completed;
    if (m_item)
        m_item->pc.setFromFile(finalPath);
    qCDebug(lcDownloads) << "download" << m_uuid << "completed:" << finalPath;
    announce(true);
    m_manager->schedule();
}

void CDownloadItem::fail(const QString &technical, const QString &friendly)
{
    if (isFinal(m_state))
        return;
    cleanUp();
    m_state = Failed;
    qCDebug(lcDownloads) << "download" << m_uuid << "failed:" << technical;
    reportError(technical, friendly);
    announce(true);
    m_manager->schedule();
}

void CDownloadItem::reportError(const QString &technical, const QString &friendly)
{
    Q_EMIT SignalErrorMessage(tr("Download Error"), technical, friendly);
}

void CDownloadItem::failAfterFinish(const QString &technical, const QString &friendly)
{
    cleanUp();
    m_state = Failed;
    reportError(technical, friendly);
    Q_EMIT downloadStateUpdatedSlot();
}

void CDownloadItem::cancel()
{
    if (isFinal(m_state))
        return;
    m_item = nullptr;
    cleanUp();
    m_state = Cancelled;
    qCDebug(lcDownloads) << "download" << m_uuid << "cancelled";
    Q_EMIT downloadStateUpdatedSlot();
}

void CDownloadItem::announce(bool final)
{
    if (m_item)
        Q_EMIT downloadViewUpdatedSlot(m_item, final);
    Q_EMIT downloadStateUpdatedSlot();
}

void CDownloadItem::releaseFolder()
{
    m_file.reset();
    m_folder.reset();
}

void CDownloadItem::cleanUp()
{
    if (QThread *lookup = m_lookup) {
        // Its answer is no longer wanted; the thread goes when it is done.
        m_lookup = nullptr;
        lookup->disconnect(this);
        connect(lookup, &QThread::finished, lookup, &QObject::deleteLater);
        if (lookup->isFinished())
            lookup->deleteLater();
    }
    if (QNetworkReply *reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    if (m_http) {
        m_http->deleteLater();
        m_http = nullptr;
    }
    if (m_file) {
        m_file->close();
        m_file->remove();
        m_file.reset();
    }
    // Whatever else is in the download's own folder goes with it.
    m_folder.reset();
}
