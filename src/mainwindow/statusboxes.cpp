// The status boxes of the main window's left column: the selection size in
// the memory box and the task box.

#include "videotransferwindow.h"

#include "catalogue.h"
#include "contextswitcher.h"
#include "formats.h"
#include "taskmanager.h"
#include "ui_videotransferwindow.h"

namespace {

// A status line shortened in the middle of the file name to the label's
// width, so that a long name never widens the column.
QString fittedStatus(const QLabel *label, const QString &format, const QString &name)
{
    const QFontMetrics metrics(label->font());
    const int room = qMax(40, label->contentsRect().width() - metrics.horizontalAdvance(format.arg(QString())));
    return format.arg(Formats::escaped(metrics.elidedText(name, Qt::ElideMiddle, room)));
}

} // namespace

void CVideoTransferWindow::showSelectionSize(qint64 bytes, bool compareWithFreeMemory)
{
    QLabel *label = m_ui->label_MemorySelectionSize;
    if (bytes <= 0) {
        label->setText(QString());
        return;
    }
    const QString size = Formats::sizeText(bytes);
    const bool tooLarge = compareWithFreeMemory && hasPhoneEntries() && bytes > Catalogue::instance().memoryFree;
    label->setText(tooLarge ? Formats::redText(size) : Formats::whiteText(size));
}

void CVideoTransferWindow::showNoTasks()
{
    m_ui->TaskInfoLabel->setText(Formats::whiteText(tr("No ongoing tasks.")));
    m_ui->progressBar->hide();
    m_ui->progressBar->reset();
}

void CVideoTransferWindow::taskChanged()
{
    const CTaskProgressBar *bar = m_ui->progressBar;
    const bool converting = bar->shownChannel() == CTaskProgressBar::Conversion;
    const QString text = fittedStatus(m_ui->TaskInfoLabel, converting ? tr("Converting %1") : tr("Copying %1"),
                                      converting ? bar->conversionName() : bar->copyName());
    m_ui->TaskInfoLabel->setText(Formats::whiteText(text));
    m_ui->progressBar->show();
}

void CVideoTransferWindow::taskStateUpdatedSlot()
{
    if (m_taskManager && m_taskManager->allFinished())
        showNoTasks();
}
