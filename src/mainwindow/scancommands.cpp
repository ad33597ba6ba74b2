// Scanning and My collection: starting and stopping a scan, the videos it
// finds, its end, the recover question, and the My collection builder.

#include "videotransferwindow.h"

#include "animatedscan.h"
#include "catalogue.h"
#include "contextswitcher.h"
#include "formats.h"
#include "messagedialog.h"
#include "scanthread.h"
#include "settingsstore.h"
#include "ui_videotransferwindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)

namespace {

constexpr int ScanAnimationStepMs = 100;

} // namespace

bool CVideoTransferWindow::isScanning() const
{
    return !m_scanThread.isNull();
}

void CVideoTransferWindow::on_toolButton_StartScan_clicked()
{
    // While a scan runs the same command stops it.
    if (!m_ui->toolButton_StartScan->isEnabled()) {
        m_ui->toolButton_StopScan->click();
        return;
    }
    ++m_scansStarted;
    retireStoppedScan();
    m_switcher->setContext(CContextSwitcher::ScanResults);
    m_ui->toolButton_StopScan->setEnabled(true);
    m_ui->toolButton_StartScan->setEnabled(false);
    m_ui->ScanInfoLabel->setText(Formats::whiteText(tr("Scanning...")));
    m_ui->ScanBox->show();

    const QString folder = Settings::scanFolderForScan();
    qCInfo(lcMainWindow).noquote() << "scan of" << folder << "started";
    Catalogue &catalogue = Catalogue::instance();
    catalogue.setScanAbort(false);
    auto *scan = new CScanThread(this, folder);
    connect(this, &CVideoTransferWindow::terminateScan, scan, &CScanThread::softTerminate, Qt::QueuedConnection);
    m_scanThread = scan;
    // The view lets go of the old items before they are destroyed.
    clearScanView();
    catalogue.scanResults.clear();
    scan->start(QThread::InheritPriority);
    m_ui->busyBar->startAnimation(ScanAnimationStepMs);
}

void CVideoTransferWindow::retireStoppedScan()
{
    // A stopped scan unwinds at its next file; the next scan clears the
    // stop flag, so the old one is waited for first, and what it posted
    // on its way out is dropped.
    if (m_stoppedScan) {
        Catalogue::instance().setScanAbort(true);
        m_stoppedScan->wait();
        delete m_stoppedScan.data();
    }
    QCoreApplication::removePostedEvents(this, QScanFileEvent::Type);
    QCoreApplication::removePostedEvents(this, QScanFinishedEvent::Type);
}

void CVideoTransferWindow::endScanDisplay(const QString &text)
{
    m_ui->ScanInfoLabel->setText(Formats::whiteText(text));
    m_ui->busyBar->stopAnimation();
    m_ui->toolButton_StartScan->setEnabled(true);
    m_ui->toolButton_StopScan->setEnabled(false);
    m_ui->ScanBox->hide();
}

void CVideoTransferWindow::on_toolButton_StopScan_clicked()
{
    Q_EMIT terminateScan();
    if (!m_ui->toolButton_StopScan->isEnabled())
        return;
    if (CScanThread *scan = m_scanThread.data()) {
        disconnect(this, &CVideoTransferWindow::terminateScan, scan, nullptr);
        m_scanThread = nullptr;
        m_stoppedScan = scan;
        if (scan->isFinished())
            scan->deleteLater();
        else
            connect(scan, &QThread::finished, scan, &QObject::deleteLater);
    }
    endScanDisplay(tr("Scanning Stopped."));
    qCInfo(lcMainWindow) << "scan stopped";

    Catalogue &catalogue = Catalogue::instance();
    const int answer = CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Warning"),
                                           tr("Do you wish to recover previous scan results?"));
    if (CMessageDialog::isConfirmed(answer)) {
        clearScanView();
        catalogue.scanResults = catalogue.savedScanResults;
    } else {
        // What was found so far becomes the stored list, with the lengths
        // measured for it, so that the next start offers it with them.
        QStringList paths;
        QList<int> lengths;
        for (const FileItem &item : catalogue.scanResults) {
            paths << item.pc.path;
            lengths << item.pc.playbackLength;
        }
        QString why;
        if (!catalogue.saveScanResults(paths, lengths, true, &why))
            qCWarning(lcMainWindow).noquote() << "scan results not saved:" << why;
    }
    refillScanView();
}

void CVideoTransferWindow::scanFileFound(const QString &path, int playbackLength)
{
    // A stopped scan may still post what it found on its way out.
    if (!isScanning())
        return;
    m_ui->ScanInfoLabel->setText(Formats::whiteText(Formats::escaped(QFileInfo(path).fileName())));
    FileItem *item = Catalogue::instance().appendScanResult();
    item->pc.setFromFile(path);
    item->pc.playbackLength = playbackLength;
    addScanRow(item);
}

void CVideoTransferWindow::scanFinished(bool succeeded)
{
    CScanThread *scan = m_scanThread.data();
    if (!scan)
        return;
    qCInfo(lcMainWindow) << "scan finished" << (succeeded ? "" : "with errors");
    endScanDisplay(tr("Scanning Completed."));
    refillScanView();
    m_scanThread = nullptr;
    scan->wait();
    delete scan;
    // The lengths just measured reach My collection.
    FillMyCollection();
}

// --- My collection

bool CVideoTransferWindow::isCollectionBuilding() const
{
    return !m_collectionBuilder.isNull();
}

void CVideoTransferWindow::FillMyCollection()
{
    if (m_switcher && m_switcher->isRefreshingPhones())
        return;
    if (isCollectionBuilding()) {
        // One builder at a time: the newest request runs when it is done,
        // so an older phone's list never replaces a newer one.
        m_collectionFillPending = true;
        return;
    }
    m_collectionFillPending = false;
    clearMyCollectionView();
    Catalogue::instance().clearMyCollection();
    auto *builder = new MyCollectionThread(this);
    connect(builder, &QThread::finished, builder, &QObject::deleteLater);
    m_collectionBuilder = builder;
    builder->start(QThread::InheritPriority);
}

void CVideoTransferWindow::myCollectionRebuilt()
{
    // The builder sends this from its own event handler: it is let go here,
    // and deleted later by its finished signal.
    if (m_collectionBuilder) {
        m_collectionBuilder->wait();
        m_collectionBuilder = nullptr;
    }
    refillMyCollectionView();
    m_switcher->showPhonePicture();
    if (m_switcher->isPhoneListRebuildPending())
        m_switcher->runPendingPhoneListRebuild();
    if (m_collectionFillPending)
        FillMyCollection();
    Q_EMIT myCollectionRefreshed();
}
