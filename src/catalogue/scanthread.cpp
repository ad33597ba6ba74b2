#include "scanthread.h"

#include "apibase.h"
#include "catalogue.h"
#include "filelistedits.h"
#include "settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace {

// What went wrong in one scan: technical lines for the log, texts for the user.
struct Problems
{
    QStringList technical;
    QStringList friendly;

    void add(const QString &log, const QString &user)
    {
        technical << log;
        if (!friendly.contains(user))
            friendly << user;
    }
    bool isEmpty() const { return technical.isEmpty(); }
};

} // namespace

CScanThread::CScanThread(QObject *parent, const QString &folder) : QThread(parent), m_folder(folder) {}

QString CScanThread::nameFilters()
{
    return QStringLiteral("*.avi,*.mpg,*.mov,*.mp4,*.wmv,*.3gp,*.mpeg");
}

void CScanThread::softTerminate()
{
    Catalogue::instance().setScanAbort(true);
}

void CScanThread::run()
{
    m_completed = false;
    m_cacheWritten = false;
    m_errorText.clear();
    Catalogue &catalogue = Catalogue::instance();
    QObject *receiver = parent();
    const QString filters = nameFilters();
    const QString folder = QDir::toNativeSeparators(m_folder);
    Problems problems;
    const auto saveFailed = [&](const QString &why) {
        problems.add(QStringLiteral("Scan results cannot be saved: ") + why,
                     tr("The scan results cannot be saved. Check that the folder %1 can be written.")
                         .arg(QDir::toNativeSeparators(Catalogue::dataFolder())));
    };
    const auto folderFailed = [&](int error) {
        problems.add(QStringLiteral("Folder '%1' cannot be scanned: %2").arg(folder, qt_error_string(error)),
                     error == ENAMETOOLONG
                         ? tr("The folder %1 cannot be scanned: its path is longer than the system allows. "
                              "The previous scan results are kept.").arg(folder)
                         : tr("The folder %1 cannot be read, so it was not scanned. "
                              "The previous scan results are kept.").arg(folder));
    };
    // Created here so that its reports leave from this thread, queued.
    Orvak_API::API_Base reporter;
    const auto report = [&] {
        if (problems.isEmpty())
            return;
        m_errorText = problems.friendly.join(QLatin1Char('\n'));
        Q_EMIT reporter.SignalErrorMessage(QCoreApplication::translate("API_Base", "System Error"),
                                           problems.technical.join(QStringLiteral("; ")), m_errorText);
    };
    const auto finish = [&] {
        m_completed = true;
        report();
        if (receiver)
            QCoreApplication::postEvent(receiver, new QScanFinishedEvent(problems.isEmpty(), m_errorText));
    };

    // A folder that cannot be read would give an empty list in place of the
    // stored one: nothing is walked and nothing is saved.
    if (const int error = Catalogue::folderError(m_folder)) {
        folderFailed(error);
        finish();
        return;
    }

    FileListEdits cache(Catalogue::myCollectionCachePath(), QStringLiteral("MyCollectionScanResults"));
    // The last write also stores again what another scan's replace may have
    // removed while both ran.
    const auto writeCache = [&](bool last) {
        if (!(last ? cache.writeAll() : cache.write()))
            saveFailed(cache.errorText());
        m_cacheWritten = cache.hasWritten();
    };
    QStringList paths;
    QList<int> lengths;
    const QString collection = Settings::myCollectionFolder();
    // A My collection folder not made yet simply holds no videos.
    const int collectionError = QFileInfo::exists(collection) ? Catalogue::folderError(collection) : 0;
    if (collectionError) {
        problems.add(QStringLiteral("My collection folder '%1' cannot be read: %2")
                         .arg(QDir::toNativeSeparators(collection), qt_error_string(collectionError)),
                     tr("The My collection folder %1 cannot be read, so the lengths of its videos were not "
                        "measured.").arg(QDir::toNativeSeparators(collection)));
    } else if (QFileInfo::exists(collection)) {
        catalogue.scanFolder(paths, lengths, collection, filters, false, receiver, &cache);
    }
    if (catalogue.scanAbort()) {
        writeCache(true);
        report();
        return;
    }
    if (!collectionError)
        cache.replace(paths, &lengths);
    writeCache(false);

    paths.clear();
    lengths.clear();
    const bool listed = catalogue.scanFolder(paths, lengths, m_folder, filters, true, receiver, &cache);
    writeCache(true);
    if (catalogue.scanAbort()) {
        report();
        return;
    }
    QString why;
    if (!listed)
        folderFailed(qMax(Catalogue::folderError(m_folder), EIO));
    else if (!catalogue.saveScanResults(paths, lengths, true, &why))
        saveFailed(why);
    finish();
}

namespace {

// Carries a finished rebuild to the main thread.
const QEvent::Type s_collected = QEvent::Type(QEvent::registerEventType());

} // namespace

MyCollectionThread::MyCollectionThread(QObject *parent)
    : QThread(parent), m_source(Catalogue::instance().myCollectionSource())
{
}

MyCollectionThread::~MyCollectionThread()
{
    wait();
}

void MyCollectionThread::run()
{
    Catalogue::instance().collectMyCollection(m_source, m_items, m_pictures);
    // This object lives on the main thread: the event is handled there.
    QCoreApplication::postEvent(this, new QEvent(s_collected));
}

bool MyCollectionThread::event(QEvent *event)
{
    if (event->type() != s_collected)
        return QThread::event(event);
    Catalogue::instance().installMyCollection(std::move(m_items), std::move(m_pictures));
    m_items.clear();
    m_pictures.clear();
    // Sent, not posted: nothing may run between the new list and the
    // window's reaction to it, since views hold pointers into the old list.
    if (QObject *receiver = parent()) {
        QEvent rebuilt(Rebuilt);
        QCoreApplication::sendEvent(receiver, &rebuilt);
    }
    return true;
}
