#pragma once

#include "phoneimage.h"
#include "playerhost.h"
#include "viewhost.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QVariantMap>

#include <memory>

class CContextSwitcher;
class CDownloadManager;
class DownloadView;
class MyCollectionView;
class ScanView;
class TaskView;
class CScanThread;
class FileItem;
class CDownloadQuestion;
class CSizeGrip;
class CTaskManager;
class MyCollectionThread;
class QMenu;
class QToolButton;
class TaskProgressBarAdapter;
namespace Ui {
class VideoTransferClass;
}

// The program's main window: frameless and drawn from the theme, with its
// own title, window buttons and size grip, moved by dragging its menu bar.
// Its left column holds the phone selector with the phone's picture and
// memory, the four context buttons and the scanning and task boxes; its body
// shows the list of the current context or the single (player) view.
//
// The window owns the task manager, the download manager and the context
// switcher (which owns the phone selector's phone objects and the player).
// GUI thread only.
//
// The code is split by area: construction, settings and closing here;
// the frame, title, window buttons, dragging and full-screen video in
// windowchrome.cpp; the status boxes in statusboxes.cpp; the contexts and
// the phone column in the context switcher.
class CVideoTransferWindow final : public QMainWindow,
                                   public CPlayerHost,
                                   public CPhoneDropHandler,
                                   public CViewHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CVideoTransferWindow)

public:
    explicit CVideoTransferWindow(QWidget *parent = nullptr);
    ~CVideoTransferWindow() override;

    Ui::VideoTransferClass *form() const { return m_ui.get(); }
    CContextSwitcher *contextSwitcher() const { return m_switcher.get(); }
    CTaskManager *taskManager() const override { return m_taskManager.get(); }
    CDownloadManager *downloadManager() const override { return m_downloadManager.get(); }
    MyCollectionView *myCollectionView() const { return m_myCollectionView; }
    ScanView *scanView() const { return m_scanView; }
    TaskView *taskView() const { return m_taskView; }
    DownloadView *downloadView() const { return m_downloadView; }

    // A hand-over from a second start. Accepts only the program's own marker;
    // the argument is taken up once the second start has had its answer.
    bool handOver(quint32 marker, const QByteArray &data);
    // Opens a video file in the single view, starts a download of a tmk://
    // link, or ignores the argument. A link must start with "tmk://" as
    // written at start-up, in any case when handed over.
    void openArgument(const QString &argument, bool handedOver);
    // How many scans this window has started.
    int scansStarted() const { return m_scansStarted; }
    bool scanRequested() const { return m_scansStarted > 0; }
    bool isScanning() const;

    // Help pages by topic; the help button's topic follows the page shown.
    static constexpr int HelpTopicsTopic = 1000;
    static int helpTopicOfPage(int page);

    // Window chrome.
    // The font the title is painted in: smaller when the title would not fit
    // in front of the menus.
    static QFont titleFont(const QString &title);
    // The title as painted (translatable).
    QString paintedTitle() const;
    bool isFullScreenVideo() const { return m_fullScreenVideo; }
    bool isDragging() const { return m_dragging; }
    QMenu *iconMenu() const { return m_iconMenu; }
    // The window's icon area: a press there opens the icon's menu.
    static QRect iconRect() { return QRect(QPoint(11, 10), QPoint(25, 25)); }
    // Presses this close to the right edge never start a drag.
    static constexpr int NoDragMargin = 69;

    // Status boxes.
    // Shows the size of a selection in the memory box; with the check, in
    // red when it does not fit into the selected phone memory.
    void showSelectionSize(qint64 bytes, bool compareWithFreeMemory);
    void showNoTasks();

    // The My collection builder.
    bool isCollectionBuilding() const override;
    // Shows the catalogue's My collection list again in its view.
    void refillMyCollectionView();
    // Tells the lists whether the selected phone has room for copies.
    void phoneRoomChanged(bool room);

    // Sets an icon button's tool tip and, equal to it, its accessible name.
    static void setButtonTip(QWidget *button, const QString &tip);

    // CPlayerHost
    Orvak_API::VideoPlayer *videoPlayer() override;
    bool startOrResumePlayback() override;
    void pausePlayback() override;
    bool setFullScreenVideo(bool on) override;
    QWidget *copyToMyCollectionControl() override;
    QWidget *copyToPhoneControl() override;
    bool hasPhoneEntries() const override;

    // CPhoneDropHandler
    int currentContext() const override;
    void copySelectedScanResultsToPhone() override;

    // CViewHost
    void resetSelectionDetails() override;
    void showSelectionDetails(FileItem *item, qint64 listTotal) override;
    QAction *menuAction(const QString &objectName) const override;
    QWidget *windowButton(const QString &objectName) const override;
    void stopPlayer() override;
    void playFile(const QString &path) override;
    void playWhenCopied(const QUuid &item) override;
    bool takePlayWhenCopied(const QUuid &item) override;
    void refreshTaskStatus() override;

Q_SIGNALS:
    // Asks the running scan to stop (queued to the scan thread).
    void terminateScan();
    void argumentReceived(const QString &argument);
    // The My collection builder has delivered its list and the window has
    // shown it.
    void myCollectionRefreshed();

public Q_SLOTS:
    void taskStateUpdatedSlot();
    void taskChanged();
    void FillMyCollection() override;
    void DeleteSelected();
    void DeleteAll();
    void on_toolButton_StartScan_clicked();
    void maximize();
    void readSettings();
    void writeSettings();
    void SlotErrorMessage(QString str_ErrTitle, QString str_ErrMsg, QString str_friendlyErrMsg);
    void about();

private Q_SLOTS:
    void on_toolButton_ClearCompletedDownloads_clicked();
    void on_toolButton_DeleteDownloads_clicked();
    void on_pushButtonDownloads_clicked();
    void on_toolButton_Help_clicked();
    void on_pushButtonTasks_clicked();
    void on_pushButtonScanResults_clicked();
    void on_pushButtonMyCollection_clicked();
    void on_comboBox_Phones_currentIndexChanged(int selected);
    void on_toolButton_DeleteTasks_clicked();
    void on_toolButton_StopScan_clicked();
    void on_toolButton_Copy2Phone_clicked();
    void on_toolButton_Copy2MyCollectionFolder_clicked();
    void on_toolButton_Open_clicked();
    void on_toolButton_SingleView_clicked();
    void on_toolButton_ListView_clicked();
    void on_toolButton_launchWebsite_clicked();
    void on_actionSettings_triggered();
    void downloadStateUpdatedSlot();
    // The connectivity service went away or came back.
    void serviceChanged();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // construction (videotransferwindow.cpp)
    void setUpForm();
    void setUpFonts();
    void setUpPlayer();
    void setUpTasks();
    void setUpDownloads();
    void connectMenuEntries();

    // scanning and My collection (scancommands.cpp)
    void scanFileFound(const QString &path, int playbackLength);
    void scanFinished(bool succeeded);
    void endScanDisplay(const QString &text);
    void retireStoppedScan();
    void myCollectionRebuilt();

    // the four list views (windowviews.cpp)
    void setUpViews();
    void connectViewEntries();
    void clearScanView();
    void addScanRow(FileItem *item);
    void refillScanView();
    void clearMyCollectionView();
    // The items of the selected rows of a list.
    QList<FileItem *> selectedScanItems() const;
    QList<FileItem *> selectedMyCollectionItems() const;
    // The path of the current row's video, empty without one.
    QString currentScanPath() const;
    QString currentMyCollectionPath() const;
    QList<FileItem *> selectedTaskItems() const;
    QList<FileItem *> selectedDownloadItems() const;
    // Removes the rows of these task items; none given, every row.
    void removeTaskRows(const QList<FileItem *> &items);
    void removeUnfinishedDownloadRows();
    void removeFinishedDownloadRows();

    // copying, converting and cancelling (taskcommands.cpp)
    void copyOrConvert(int kind);
    void showCopyNotice();
    QList<FileItem *> copySource() const;
    QList<FileItem *> currentTaskItems() const;
    void cancelTasks(bool all);
    void cancelDownloads(bool all);
    void updateTaskButtons();

    // open, views, help, website (windowcommands.cpp)
    void showHelp(int topic);

    // settings (settingscommand.cpp)
    QVariantMap settingsValues() const;
    void applySettings(const QVariantMap &values);

    // chrome (windowchrome.cpp)
    void createChrome();
    void placeChrome();
    void showMaximizedState();
    void paintFrame(QPainter &painter) const;
    void paintPanels(QPainter &painter) const;
    bool inTopBand(const QPoint &pos) const;
    void showIconMenu(const QPoint &globalPos);
    void startKeyboardMove(bool resize);
    void endKeyboardMove();
    void coverScreenWithPage();

    std::unique_ptr<Ui::VideoTransferClass> m_ui;
    std::unique_ptr<TaskProgressBarAdapter> m_progressDisplay;
    std::unique_ptr<CTaskManager> m_taskManager;
    std::unique_ptr<CDownloadQuestion> m_copyQuestion;
    std::unique_ptr<CDownloadManager> m_downloadManager;
    std::unique_ptr<CContextSwitcher> m_switcher;
    MyCollectionView *m_myCollectionView = nullptr;
    ScanView *m_scanView = nullptr;
    TaskView *m_taskView = nullptr;
    DownloadView *m_downloadView = nullptr;
    QUuid m_playWhenCopied;
    QPointer<MyCollectionThread> m_collectionBuilder;
    QPointer<CScanThread> m_scanThread;  // the running scan
    QPointer<CScanThread> m_stoppedScan; // a stopped scan still unwinding
    int m_scansStarted = 0;
    bool m_collectionFillPending = false;

    CSizeGrip *m_sizeGrip = nullptr;
    QToolButton *m_minimizeButton = nullptr;
    QToolButton *m_maximizeButton = nullptr;
    QToolButton *m_closeButton = nullptr;
    QMenu *m_iconMenu = nullptr;

    bool m_firstShow = false;
    bool m_shownOnce = false;
    bool m_fullScreenVideo = false;
    bool m_fullScreenFromMaximized = false;
    QRect m_savedGeometry;
    QSize m_savedMaximumSize;
    // A left press in the top band that may become a drag.
    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_pressGlobal;
    QPoint m_dragOffset;
    // Moving or sizing chosen from the icon's menu, where the platform does
    // not do it: the window follows the mouse until a click or a key ends it.
    enum class KeyboardMove { None, Move, Size };
    KeyboardMove m_keyboardMove = KeyboardMove::None;
    QPoint m_keyboardStartCursor;
    QRect m_keyboardStartGeometry;

    bool m_serviceAvailable = true;
    QString m_lastPhoneId;
    QString m_website;
    int m_volume = 50;

    friend class CContextSwitcher;
};
