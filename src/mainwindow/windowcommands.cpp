// The window's smaller commands: the context buttons, opening a video and
// the two view modes, the start-up argument and hand-overs, help, the web
// page, the about box and error messages.

#include "videotransferwindow.h"

#include "aboutdialog.h"
#include "catalogue.h"
#include "contextswitcher.h"
#include "downloadmanager.h"
#include "fileitem.h"
#include "formats.h"
#include "helpservice.h"
#include "kelvra.h"
#include "messagedialog.h"
#include "mycollectionview.h"
#include "singleinstance.h"
#include "ui_videotransferwindow.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QUrl>

Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)

namespace {

// The videos the program opens when it is given one.
bool isVideoFileName(const QString &path)
{
    static const QStringList extensions = [] {
        QStringList list = QStringLiteral("*.avi,*.mpg,*.mov,*.mp4,*.wmv,*.3gp,*.mpeg").split(QLatin1Char(','));
        for (QString &extension : list)
            extension.remove(QLatin1Char('*'));
        return list;
    }();
    for (const QString &extension : extensions) {
        if (path.endsWith(extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

qint64 totalSize(const QList<FileItem *> &items)
{
    qint64 total = 0;
    for (const FileItem *item : items)
        total += item->size();
    return total;
}

} // namespace

// --- contexts

void CVideoTransferWindow::on_pushButtonMyCollection_clicked()
{
    m_switcher->setContext(CContextSwitcher::MyCollection);
    m_ui->label_MemorySelectionSize->setText(QString());
    showSelectionSize(totalSize(selectedMyCollectionItems()), false);
}

void CVideoTransferWindow::on_pushButtonScanResults_clicked()
{
    m_switcher->setContext(CContextSwitcher::ScanResults);
    m_ui->label_MemorySelectionSize->setText(QString());
    showSelectionSize(totalSize(selectedScanItems()), false);
}

void CVideoTransferWindow::on_pushButtonTasks_clicked()
{
    m_switcher->setContext(CContextSwitcher::Tasks);
    m_ui->label_MemorySelectionSize->setText(QString());
}

void CVideoTransferWindow::on_pushButtonDownloads_clicked()
{
    m_switcher->setContext(CContextSwitcher::Downloads);
    m_ui->label_MemorySelectionSize->setText(QString());
    downloadStateUpdatedSlot();
}

void CVideoTransferWindow::downloadStateUpdatedSlot()
{
    m_ui->toolButton_DeleteDownloads->setEnabled(!m_downloadManager->allFinished());
    m_ui->toolButton_ClearCompletedDownloads->setEnabled(!Catalogue::instance().downloads.isEmpty());
}

void CVideoTransferWindow::on_comboBox_Phones_currentIndexChanged(int selected)
{
    m_switcher->phoneSelectionChanged(selected);
}

void CVideoTransferWindow::serviceChanged()
{
    using Orvak_API::KelvLoader::isLoaded;
    using Orvak_API::KelvModule;
    const bool available = isLoaded(KelvModule::Devices) && isLoaded(KelvModule::Files);
    if (available == m_serviceAvailable)
        return;
    m_serviceAvailable = available;
    if (available)
        m_switcher->restartPhoneManagement();
    else
        m_switcher->phonesUnavailable();
}

// --- open and the view modes

void CVideoTransferWindow::on_toolButton_Open_clicked()
{
    QString path;
    switch (m_ui->stackedWidget->currentIndex()) {
    case CContextSwitcher::MyCollection:
        // A video only on the phone is played from My collection once copied.
        if (const FileItem *item = m_myCollectionView->currentRowItem();
            item && item->location() == FileItem::PhoneOnly) {
            m_myCollectionView->playSelected();
            return;
        }
        path = currentMyCollectionPath();
        break;
    case CContextSwitcher::ScanResults:
        path = currentScanPath();
        break;
    default:
        break;
    }
    if (!path.isEmpty())
        m_switcher->openFile(path);
}

void CVideoTransferWindow::on_toolButton_SingleView_clicked()
{
    m_switcher->setRememberedViewMode(CContextSwitcher::SingleMode);
    on_toolButton_Open_clicked();
    // The two buttons say which view is shown, also when nothing opened.
    const bool single = m_switcher->viewMode() == CContextSwitcher::SingleMode;
    m_ui->toolButton_SingleView->setChecked(single);
    m_ui->toolButton_ListView->setChecked(!single);
}

void CVideoTransferWindow::on_toolButton_ListView_clicked()
{
    m_switcher->setRememberedViewMode(CContextSwitcher::ListMode);
    if (m_switcher->viewMode() == CContextSwitcher::SingleMode)
        m_switcher->setViewMode(CContextSwitcher::ListMode);
    const bool single = m_switcher->viewMode() == CContextSwitcher::SingleMode;
    m_ui->toolButton_SingleView->setChecked(single);
    m_ui->toolButton_ListView->setChecked(!single);
}

// --- the start-up argument and hand-overs

bool CVideoTransferWindow::handOver(quint32 marker, const QByteArray &data)
{
    if (marker != HandOverServer::HandOverMarker)
        return false;
    // The second start has its answer at once; what the argument asks for
    // (a question about a download, say) must not keep it waiting.
    const QString argument = QString::fromLocal8Bit(data);
    QMetaObject::invokeMethod(
        this, [this, argument] { openArgument(argument, true); }, Qt::QueuedConnection);
    return true;
}

void CVideoTransferWindow::openArgument(const QString &argument, bool handedOver)
{
    // The desktop and start-up tests follow an argument by this line.
    qCInfo(lcMainWindow).noquote() << "argument received:" << argument;
    if (handedOver) {
        // A hand-over brings the running copy to the user.
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
    }
    Q_EMIT argumentReceived(argument);
    const Qt::CaseSensitivity scheme = handedOver ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (argument.startsWith(QLatin1String("tmk://"), scheme)) {
        on_pushButtonDownloads_clicked();
        m_downloadManager->addLink(argument);
        downloadStateUpdatedSlot();
        return;
    }
    const QFileInfo file(argument);
    if (file.isFile() && isVideoFileName(argument))
        m_switcher->openFile(file.absoluteFilePath());
}

// --- help, web page, about, errors

int CVideoTransferWindow::helpTopicOfPage(int page)
{
    switch (page) {
    case CContextSwitcher::MyCollection:
        return 1010;
    case CContextSwitcher::ScanResults:
        return 1020;
    case CContextSwitcher::Tasks:
        return 1030;
    case CContextSwitcher::Downloads:
        return 1050;
    case CContextSwitcher::SingleViewPage:
        return 1040;
    default:
        return HelpTopicsTopic;
    }
}

void CVideoTransferWindow::on_toolButton_Help_clicked()
{
    showHelp(helpTopicOfPage(m_ui->stackedWidget->currentIndex()));
}

void CVideoTransferWindow::showHelp(int topic)
{
    // A help that is not installed is reported by the help service's
    // failure handler.
    Help::openHelp(topic);
}

void CVideoTransferWindow::on_toolButton_launchWebsite_clicked()
{
    const QUrl page(QStringLiteral("http://") + m_website);
    if (!QDesktopServices::openUrl(page)) {
        qCWarning(lcMainWindow).noquote() << "web page" << page.toString() << "could not be opened";
        CMessageDialog::showInTurn(tr("Error"), tr("The web page %1 cannot be opened: no web browser was found.")
                                                   .arg(Formats::escaped(page.toDisplayString())));
    }
}

void CVideoTransferWindow::about()
{
    CAboutDialog dialog(this);
    dialog.exec();
}

void CVideoTransferWindow::SlotErrorMessage(QString str_ErrTitle, QString str_ErrMsg, QString str_friendlyErrMsg)
{
    Catalogue::writeLog(str_ErrMsg);
    // Several failures at once (ten conversions, say) come one after the
    // other, never as dialogs stacked on each other.
    CMessageDialog::showInTurn(str_ErrTitle, str_friendlyErrMsg);
}
