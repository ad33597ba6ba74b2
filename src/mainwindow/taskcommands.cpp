// Copying and converting the selected videos, cancelling tasks and
// downloads, and clearing finished downloads.

#include "videotransferwindow.h"

#include "catalogue.h"
#include "contextswitcher.h"
#include "downloadmanager.h"
#include "messagedialog.h"
#include "settingsstore.h"
#include "taskitem.h"
#include "taskmanager.h"
#include "taskstates.h"
#include "ui_videotransferwindow.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)

namespace {

constexpr int TasksPage = CContextSwitcher::Tasks;
constexpr int DownloadsPage = CContextSwitcher::Downloads;

} // namespace

void CVideoTransferWindow::on_toolButton_Copy2MyCollectionFolder_clicked()
{
    copyOrConvert(TaskState::ConvertKind);
}

void CVideoTransferWindow::on_toolButton_Copy2Phone_clicked()
{
    if (m_ui->toolButton_Copy2Phone->isEnabled())
        copyOrConvert(TaskState::ConvertAndCopyKind);
}

void CVideoTransferWindow::copySelectedScanResultsToPhone()
{
    on_toolButton_Copy2Phone_clicked();
}

void CVideoTransferWindow::showCopyNotice()
{
    // Each notice has its own "do not show again": ticking one leaves the
    // other as it was.
    if (hasPhoneEntries()) {
        if (!Settings::optimizedForPhoneNotify())
            return;
        const int answer = CMessageDialog::ask(
            CMessageDialog::OkButton, tr("Orvak Tamsel"),
            tr("Copying files to My collection will automatically convert videos to an optimized size for your "
               "mobile phone."),
            tr("Do not show this again."));
        if (CMessageDialog::isTicked(answer))
            Settings::setOptimizedForPhoneNotify(false);
    } else {
        if (!Settings::noPhoneConnectedNotify())
            return;
        const int answer = CMessageDialog::ask(
            CMessageDialog::OkButton, tr("Orvak Tamsel"),
            tr("Have you already connected your mobile phone to Orvak Tamsel? Orvak Tamsel can convert videos to "
               "correct format, if it knows the target phone."),
            tr("Do not show this again."));
        if (CMessageDialog::isTicked(answer))
            Settings::setNoPhoneConnectedNotify(false);
    }
}

QList<FileItem *> CVideoTransferWindow::copySource() const
{
    switch (m_ui->stackedWidget->currentIndex()) {
    case CContextSwitcher::ScanResults:
        return selectedScanItems();
    case CContextSwitcher::SingleViewPage:
        return currentContext() == CContextSwitcher::MyCollection ? selectedMyCollectionItems()
                                                                   : selectedScanItems();
    default:
        return {};
    }
}

void CVideoTransferWindow::copyOrConvert(int kind)
{
    showCopyNotice();
    const QList<FileItem *> selected = copySource();
    if (selected.isEmpty())
        return;
    const int skipped = m_taskManager->addTasks(selected, currentTaskItems(), kind);
    qCInfo(lcMainWindow) << selected.size() - skipped << "task(s) of kind" << kind << "queued," << skipped
                         << "skipped";
    updateTaskButtons();
    if (skipped > 0) {
        CMessageDialog::ask(CMessageDialog::OkButton, tr("Warning"),
                            tr("%1 File(s) not added to Tasks, already being processed or has failed.").arg(skipped));
    }
}

QList<FileItem *> CVideoTransferWindow::currentTaskItems() const
{
    // The rows of the Tasks view show the tasks' own items.
    QList<FileItem *> items;
    for (CTaskItem *task : m_taskManager->tasks())
        items << task->item();
    return items;
}

void CVideoTransferWindow::updateTaskButtons()
{
    m_ui->toolButton_DeleteTasks->setEnabled(!currentTaskItems().isEmpty());
}

// --- cancel

void CVideoTransferWindow::on_toolButton_DeleteTasks_clicked()
{
    cancelTasks(selectedTaskItems().isEmpty());
}

void CVideoTransferWindow::on_toolButton_DeleteDownloads_clicked()
{
    cancelDownloads(selectedDownloadItems().isEmpty());
}

void CVideoTransferWindow::DeleteAll()
{
    const int page = m_ui->stackedWidget->currentIndex();
    if (page == TasksPage)
        cancelTasks(true);
    else if (page == DownloadsPage)
        cancelDownloads(true);
}

void CVideoTransferWindow::DeleteSelected()
{
    const int page = m_ui->stackedWidget->currentIndex();
    if (page == TasksPage)
        cancelTasks(false);
    else if (page == DownloadsPage)
        cancelDownloads(false);
}

void CVideoTransferWindow::cancelTasks(bool all)
{
    const QList<FileItem *> chosen = all ? currentTaskItems() : selectedTaskItems();
    if (chosen.isEmpty())
        return;
    const int answer =
        all ? CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Cancel Tasks"),
                                  tr("Are you sure you want to cancel all tasks?"))
            : CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Cancel Task(s)"),
                                  tr("Are you sure you want to cancel selected task(s)?"));
    if (!CMessageDialog::isConfirmed(answer))
        return;
    if (all) {
        // The rows point into the tasks, which cancelAll() destroys.
        removeTaskRows({});
        m_taskManager->cancelAll();
        Catalogue::instance().tasks.clear();
        qCInfo(lcMainWindow) << "all tasks cancelled";
    } else {
        QList<CTaskItem *> tasks;
        for (FileItem *item : chosen) {
            if (auto *task = dynamic_cast<CTaskItem *>(item->task))
                tasks << task;
        }
        m_taskManager->cancelTasks(tasks);
        removeTaskRows(chosen);
        qCInfo(lcMainWindow) << tasks.size() << "task(s) cancelled";
    }
    if (m_taskManager->allFinished())
        showNoTasks();
    updateTaskButtons();
}

void CVideoTransferWindow::cancelDownloads(bool all)
{
    const QList<FileItem *> chosen = all ? Catalogue::instance().downloads.items() : selectedDownloadItems();
    if (chosen.isEmpty())
        return;
    const int answer =
        all ? CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Cancel all downloads"),
                                  tr("Are you sure you want to cancel all downloads?"))
            : CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Cancel selected download(s)"),
                                  tr("Are you sure you want to cancel selected download(s)?"));
    if (!CMessageDialog::isConfirmed(answer))
        return;
    if (all) {
        m_downloadManager->cancelAll();
        removeUnfinishedDownloadRows();
        m_ui->label_MemorySelectionSize->setText(QString());
    } else {
        m_downloadManager->cancel(chosen);
    }
    downloadStateUpdatedSlot();
}

void CVideoTransferWindow::on_toolButton_ClearCompletedDownloads_clicked()
{
    removeFinishedDownloadRows();
    downloadStateUpdatedSlot();
}
