#include "videotransferwindow.h"

#include "aboutdialog.h"
#include "apibase.h"
#include "catalogue.h"
#include "contextswitcher.h"
#include "downloadmanager.h"
#include "downloadquestion.h"
#include "formats.h"
#include "kelvra.h"
#include "messagedialog.h"
#include "scanthread.h"
#include "settingsstore.h"
#include "singleinstance.h"
#include "taskjobs.h"
#include "taskmanager.h"
#include "taskprogressbaradapter.h"
#include "theme.h"
#include "ui_videotransferwindow.h"
#include "videoconverter.h"
#include "startargument.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>
#include <QTimer>

Q_LOGGING_CATEGORY(lcMainWindow, "tamsel.mainwindow")

namespace {

// Context buttons whose text is measured against the width they have.
constexpr int ContextButtonTextWidth = 140;

QFont programFont(const char *family, int pointSize)
{
    QFont font = QFontDatabase::font(QLatin1String(family), QStringLiteral("Normal"), pointSize);
    font.setFamily(QLatin1String(family));
    font.setPointSize(pointSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

CVideoTransferWindow::CVideoTransferWindow(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::VideoTransferClass>())
{
    // Every wrapper of an outside component reports its failures here; the
    // receiver is set before the first one is built.
    Orvak_API::API_Base::setErrorReceiver(this, [this](const QString &title, const QString &message,
                                                       const QString &friendly) {
        SlotErrorMessage(title, message, friendly);
    });
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setMaximumSize(screen->availableGeometry().size());
    m_firstShow = QCoreApplication::arguments().size() == 2;

    m_ui->setupUi(this);
    readSettings();
    setUpForm();
    setUpPlayer();
    setUpTasks();
    setUpDownloads();
    setUpViews();
    m_switcher = std::make_unique<CContextSwitcher>(this, m_ui.get());
    connectMenuEntries();
    connectViewEntries();
    m_serviceAvailable = Orvak_API::KelvLoader::isLoaded(Orvak_API::KelvModule::Devices)
        && Orvak_API::KelvLoader::isLoaded(Orvak_API::KelvModule::Files);
    m_switcher->rebuildPhoneList();
    createChrome();
    setUpFonts();

    connect(m_ui->progressBar, &CTaskProgressBar::taskChanged, this, &CVideoTransferWindow::taskChanged);
    m_ui->ScanBox->hide();
    showNoTasks();
    m_switcher->setContext(CContextSwitcher::MyCollection);

    // The connectivity service may go away and come back while the program
    // runs; the library is then a new one, and the phone selector needs a
    // new session with it.
    Orvak_API::KelvLoader::setServiceListener([this](bool) {
        QMetaObject::invokeMethod(this, &CVideoTransferWindow::serviceChanged, Qt::QueuedConnection);
    });
}

CVideoTransferWindow::~CVideoTransferWindow()
{
    Orvak_API::KelvLoader::setServiceListener({});
    // The scan threads are the window's children: they end before it goes.
    for (CScanThread *scan : {m_scanThread.data(), m_stoppedScan.data()}) {
        if (scan) {
            Catalogue::instance().setScanAbort(true);
            scan->wait();
        }
    }
    if (m_collectionBuilder)
        m_collectionBuilder->wait();
    // The tasks report into the task progress bar of the form: they end
    // before it goes.
    m_taskManager.reset();
    CTaskJob::setProgressDisplay(nullptr);
    Orvak_API::VideoConverter::setDefaultProgressTarget(nullptr);
    m_progressDisplay.reset();
    // Destroying the download manager removes the partial files.
    m_downloadManager.reset();
    m_switcher.reset();
    Orvak_API::API_Base::setErrorReceiver(nullptr, nullptr);
}

void CVideoTransferWindow::setUpForm()
{
    const QPixmap phone = CTheme::pixmap(CTheme::PhoneImage);
    m_ui->phoneImage->setNoPhonePixmap(phone);
    m_ui->phoneImage->setNotReadyPixmap(phone);
    m_ui->phoneImage->setPhonePixmap(phone);
    m_ui->contextBox->setFixedHeight(71);
    m_ui->labelViewType->setFixedHeight(51);
    m_ui->label_MemoryCard->setMaximumWidth(110);

    const struct
    {
        CPanelButton *button;
        CTheme::Element icon;
    } icons[] = {
        {m_ui->toolButton_Help, CTheme::HelpIcon},
        {m_ui->toolButton_StartScan, CTheme::StartScanIcon},
        {m_ui->toolButton_StopScan, CTheme::StopScanIcon},
        {m_ui->toolButton_DeleteTasks, CTheme::DeleteTasksIcon},
        {m_ui->toolButton_launchWebsite, CTheme::LaunchWebsiteIcon},
        {m_ui->toolButton_Copy2Phone, CTheme::Copy2PhoneIcon},
        {m_ui->toolButton_Copy2MyCollectionFolder, CTheme::Copy2MyCollectionIcon},
        {m_ui->toolButton_DeleteDownloads, CTheme::DeleteTasksIcon},
        {m_ui->toolButton_ClearCompletedDownloads, CTheme::ClearIcon},
        {m_ui->toolButton_Open, CTheme::OpenVideoIcon},
    };
    const QSize panelSize =
        CTheme::pixmap(CTheme::PanelButton, CTheme::Medium | CTheme::Up | CTheme::Enabled).deviceIndependentSize().toSize();
    for (const auto &entry : icons) {
        entry.button->setSize(CPanelButton::Medium);
        CTheme::setButtonIcon(entry.button, entry.icon);
        if (!panelSize.isEmpty())
            entry.button->setFixedSize(panelSize);
    }
    for (CPanelButton *toggle : {m_ui->toolButton_SingleView, m_ui->toolButton_ListView}) {
        toggle->setSize(CPanelButton::Small);
        toggle->setAutoExclusive(false);
    }
    CTheme::setButtonIcon(m_ui->toolButton_SingleView, CTheme::SingleViewIcon);
    CTheme::setButtonIcon(m_ui->toolButton_ListView, CTheme::ListViewIcon);

    // The labels are light on the dark column; the values are white.
    QPalette light = m_ui->leftColumn->palette();
    const QColor title = CTheme::color(CTheme::ViewTitleText, CTheme::Foreground);
    light.setColor(QPalette::WindowText, title.isValid() ? title : QColor(Qt::white));
    for (QWidget *panel : {m_ui->leftColumn, m_ui->viewHeader})
        panel->setPalette(light);
    for (QLabel *label : {m_ui->label_MemoryCard, m_ui->label_MemoryAvail, m_ui->label_MemorySelectionSize,
                          m_ui->ScanInfoLabel, m_ui->TaskInfoLabel}) {
        label->setTextFormat(Qt::RichText);
        label->setText(Formats::whiteText(QString()));
    }
    // Nothing of a context shows before the first context is chosen.
    for (const QString &name : CContextSwitcher::switchedButtons()) {
        if (auto *widget = findChild<QWidget *>(name))
            widget->hide();
    }
    for (const QString &name : CContextSwitcher::switchedEntries()) {
        QAction *action = findChild<QAction *>(name);
        if (!action) {
            if (auto *menu = findChild<QMenu *>(name))
                action = menu->menuAction();
        }
        if (action) {
            action->setVisible(false);
            action->setEnabled(false);
        }
    }
    m_ui->phoneImage->setDropHandler(this);
}

void CVideoTransferWindow::setUpFonts()
{
    const QFont light = programFont("Orvak Standard Light", 8);
    const QFont standard = programFont("Orvak Standard", 8);
    for (QLabel *title : {m_ui->title_MemoryCard, m_ui->title_label_MemoryAvail, m_ui->title_MemorySelectionSize,
                          m_ui->ScanLabel, m_ui->TaskLabel})
        title->setFont(light);
    for (QLabel *value : {m_ui->label_MemoryCard, m_ui->label_MemoryAvail, m_ui->label_MemorySelectionSize,
                          m_ui->ScanInfoLabel, m_ui->TaskInfoLabel})
        value->setFont(standard);
    m_ui->comboBox_Phones->setFont(programFont("Orvak Standard", 9));
    m_ui->labelViewType->setFont(programFont("Orvak Standard Light", 12));

    QFont context = programFont("Orvak Standard", 9);
    const QList<QPushButton *> measured = {m_ui->pushButtonMyCollection, m_ui->pushButtonScanResults,
                                           m_ui->pushButtonTasks};
    bool tooWide = false;
    for (const QPushButton *button : measured)
        tooWide |= QFontMetrics(context).horizontalAdvance(button->text()) > ContextButtonTextWidth;
    m_ui->pushButtonDownloads->setFont(context);
    if (tooWide)
        context.setPointSize(context.pointSize() - 1);
    for (QPushButton *button : measured)
        button->setFont(context);
}

void CVideoTransferWindow::setUpPlayer()
{
    m_ui->videoPlayerWidget->setHost(this);
    m_ui->videoPlayerWidget->setPlayerPanel(m_ui->widgetPlayerPanel);
    m_ui->widgetPlayerPanel->setHost(this);
    connect(m_ui->widgetPlayerPanel, &CPlayerPanel::playingChanged, this, [this](bool playing) {
        if (m_switcher)
            m_switcher->setPlaying(playing);
        m_ui->actionPlay->setText(playing ? tr("Pause") : tr("Play"));
    });
}

void CVideoTransferWindow::setUpTasks()
{
    m_progressDisplay = std::make_unique<TaskProgressBarAdapter>(m_ui->progressBar);
    CTaskJob::setProgressDisplay(m_progressDisplay.get());
    Orvak_API::VideoConverter::setDefaultProgressTarget(m_ui->progressBar->conversionProgressTarget());
    m_taskManager = std::make_unique<CTaskManager>();
    m_taskManager->setStateReceiver(this, [this] { taskStateUpdatedSlot(); });
}

void CVideoTransferWindow::setUpDownloads()
{
    m_downloadManager = std::make_unique<CDownloadManager>();
    m_copyQuestion = std::make_unique<CDownloadQuestion>([this] { return hasPhoneEntries(); });
    m_downloadManager->setCopyQuestion(m_copyQuestion.get());
    m_downloadManager->setStateReceiver(this, [this] { downloadStateUpdatedSlot(); });
    m_downloadManager->setErrorReceiver(this, [this](const QString &title, const QString &message,
                                                     const QString &friendly) {
        SlotErrorMessage(title, message, friendly);
    });
}

void CVideoTransferWindow::connectMenuEntries()
{
    // The entries whose command has a button of its own run that button's
    // slot; "actionSettings" is connected by its name.
    const struct
    {
        QAction *action;
        void (CVideoTransferWindow::*run)();
    } entries[] = {
        {m_ui->actionCancel, &CVideoTransferWindow::DeleteSelected},
        {m_ui->actionCancelAll, &CVideoTransferWindow::DeleteAll},
        {m_ui->actionCancelD, &CVideoTransferWindow::DeleteSelected},
        {m_ui->actionCancelAllD, &CVideoTransferWindow::DeleteAll},
        {m_ui->actionConvert_Copy_phone, &CVideoTransferWindow::on_toolButton_Copy2Phone_clicked},
        {m_ui->actionConvert_Copy_PC, &CVideoTransferWindow::on_toolButton_Copy2MyCollectionFolder_clicked},
        {m_ui->actionScan, &CVideoTransferWindow::on_toolButton_StartScan_clicked},
        {m_ui->actionRefresh_F5, &CVideoTransferWindow::FillMyCollection},
        {m_ui->actionClearCompleted, &CVideoTransferWindow::on_toolButton_ClearCompletedDownloads_clicked},
        {m_ui->actionMy_Collection_2, &CVideoTransferWindow::on_pushButtonMyCollection_clicked},
        {m_ui->actionScan_results, &CVideoTransferWindow::on_pushButtonScanResults_clicked},
        {m_ui->actionTasks, &CVideoTransferWindow::on_pushButtonTasks_clicked},
        {m_ui->actionDownloads, &CVideoTransferWindow::on_pushButtonDownloads_clicked},
        {m_ui->actionSingle_view_2, &CVideoTransferWindow::on_toolButton_SingleView_clicked},
        {m_ui->actionList_view, &CVideoTransferWindow::on_toolButton_ListView_clicked},
        {m_ui->actionAbout_Orvak_Videos, &CVideoTransferWindow::about},
    };
    for (const auto &entry : entries)
        connect(entry.action, &QAction::triggered, this, entry.run);
    connect(m_ui->actionQuit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->actionHelp_topics_F1, &QAction::triggered, this, [this] { showHelp(HelpTopicsTopic); });
    CPlayerPanel *panel = m_ui->widgetPlayerPanel;
    connect(m_ui->actionPlay, &QAction::triggered, panel, &CPlayerPanel::on_playButton_clicked);
    connect(m_ui->actionVolume_up, &QAction::triggered, panel, &CPlayerPanel::volume_up);
    connect(m_ui->actionVolume_down, &QAction::triggered, panel, &CPlayerPanel::volume_down);
}

void CVideoTransferWindow::setButtonTip(QWidget *button, const QString &tip)
{
    button->setToolTip(tip);
    button->setAccessibleName(tip);
}

void CVideoTransferWindow::readSettings()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect bounds = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    resize(Settings::windowSize());
    move(Settings::windowPosition(bounds));
    Settings::fullScreen(); // has no effect: a run always starts without full-screen video
    m_volume = Settings::volume();
    m_lastPhoneId = Settings::lastPhoneId();
    m_website = Settings::website();
    Catalogue::instance().loadAppSettings(true);
}

void CVideoTransferWindow::writeSettings()
{
    if (!m_fullScreenVideo) {
        // A maximised window keeps the place it is restored to.
        const QRect normal = isMaximized() ? normalGeometry() : geometry();
        Settings::setWindowGeometry(isMaximized() ? normal.topLeft() : pos(), normal.size());
    }
    Settings::setFullScreen(m_fullScreenVideo);
    Settings::setVolume(50);
    if (!m_lastPhoneId.isEmpty())
        Settings::setLastPhoneId(m_lastPhoneId);
}

void CVideoTransferWindow::closeEvent(QCloseEvent *event)
{
    if (!m_downloadManager->allFinished()) {
        const int answer = CMessageDialog::ask(
            CMessageDialog::OkCancelButtons, tr("Warning"), tr("Are you sure you wish to cancel all downloads and exit?"));
        if (!CMessageDialog::isConfirmed(answer)) {
            event->ignore();
            return;
        }
        m_downloadManager->cancelAll();
    }
    writeSettings();
    event->accept();
}

void CVideoTransferWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    placeChrome();
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // The first copy's own argument is handled like one handed over later.
    if (m_firstShow)
        openArgument(normalizedArgument(QCoreApplication::arguments().at(1)), false);
}

bool CVideoTransferWindow::event(QEvent *event)
{
    switch (int(event->type())) {
    case QScanFinishedEvent::Type:
        scanFinished(static_cast<QScanFinishedEvent *>(event)->succeeded);
        return true;
    case QScanFileEvent::Type: {
        const auto *found = static_cast<QScanFileEvent *>(event);
        scanFileFound(found->path, found->playbackLength);
        return true;
    }
    case MyCollectionThread::Rebuilt:
        myCollectionRebuilt();
        return true;
    default:
        return QMainWindow::event(event);
    }
}

// --- what the player, the phone picture and the lists need

Orvak_API::VideoPlayer *CVideoTransferWindow::videoPlayer()
{
    return m_switcher ? &m_switcher->videoPlayer() : nullptr;
}

bool CVideoTransferWindow::startOrResumePlayback()
{
    Orvak_API::VideoPlayer *player = videoPlayer();
    if (!player)
        return false;
    if (player->isFileOpen())
        return player->togglePause();
    const QString path = m_switcher->singleViewPath();
    return !path.isEmpty() && player->playFile(m_ui->videoPlayerWidget, path);
}

void CVideoTransferWindow::pausePlayback()
{
    if (Orvak_API::VideoPlayer *player = videoPlayer())
        player->togglePause();
}

QWidget *CVideoTransferWindow::copyToMyCollectionControl()
{
    return m_ui->toolButton_Copy2MyCollectionFolder;
}

QWidget *CVideoTransferWindow::copyToPhoneControl()
{
    return m_ui->toolButton_Copy2Phone;
}

bool CVideoTransferWindow::hasPhoneEntries() const
{
    return m_switcher && m_switcher->hasPhoneEntries();
}

int CVideoTransferWindow::currentContext() const
{
    return m_switcher ? m_switcher->context() : CContextSwitcher::MyCollection;
}

