#include "contextswitcher.h"

#include "contextbutton.h"
#include "formats.h"
#include "messagedialog.h"
#include "panelbutton.h"
#include "phonemanagement.h"
#include "ui_videotransferwindow.h"
#include "videotransferwindow.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>

namespace {

// Bottom-bar and view-header buttons each context shows in the list view.
const char *const s_contextButtons[CContextSwitcher::ContextCount][8] = {
    {"toolButton_StartScan", "toolButton_Open", "toolButton_ListView", "toolButton_SingleView"},
    {"toolButton_StartScan", "toolButton_StopScan", "toolButton_Open", "toolButton_Copy2MyCollectionFolder",
     "toolButton_Copy2Phone", "toolButton_ListView", "toolButton_SingleView"},
    {"toolButton_DeleteTasks"},
    {"toolButton_ClearCompletedDownloads", "toolButton_DeleteDownloads", "toolButton_launchWebsite"},
};

// Menu entries each context shows: actions, and sub-menus by their menu's
// object name. The sort entries live in "Arrange by", which is therefore
// shown wherever the context has sort entries.
const char *const s_contextEntries[CContextSwitcher::ContextCount][16] = {
    {"actionRemove_from_phone", "actionRemove_from_PC", "actionCopy_to_phone", "actionCopy_to_PC",
     "actionRefresh_F5", "actionSingle_view_2", "actionMyCollectionSortByName", "actionMyCollectionSortByLenght",
     "actionMyCollectionSortBySize", "actionMyCollectionSortByType", "actionMyCollectionSortByCreated",
     "actionMyCollectionSortByStorageByPC", "actionMyCollectionSortByStorageByPhone",
     "actionMyCollectionSortByStorageByBoth", "menuArrangeBy", "menuStorageBy"},
    {"actionConvert_Copy_phone", "actionConvert_Copy_PC", "actionSingle_view_2", "actionDelete_DEL",
     "actionScanSortByName", "actionScanSortByLenght", "actionScanSortBySize", "actionScanSortByType",
     "actionScanSortByCreated", "actionScanSortByLocation", "menuArrangeBy"},
    {"actionCancel", "actionCancelAll", "actionTasksSortByName", "actionTasksSortByLenght", "actionTasksSortBySize",
     "actionTasksSortByStatus", "menuArrangeBy"},
    {"actionCancelD", "actionCancelAllD", "actionClearCompleted"},
};

const char *const s_singleViewEntries[] = {"actionPlay", "actionVolume_up", "actionVolume_down", "actionList_view"};
// Hidden while the single view is current, whatever the context shows.
const char *const s_hiddenInSingleView[] = {"actionSingle_view_2", "menuArrangeBy"};

template <size_t N>
QStringList names(const char *const (&list)[N])
{
    QStringList result;
    for (const char *name : list) {
        if (name)
            result << QLatin1String(name);
    }
    return result;
}

void appendNew(QStringList &to, const QStringList &from)
{
    for (const QString &name : from) {
        if (!to.contains(name))
            to << name;
    }
}

} // namespace

CContextSwitcher::CContextSwitcher(CVideoTransferWindow *window, Ui::VideoTransferClass *form)
    : QObject(window), m_window(window), m_ui(form)
{
    startPhoneManagement();
}

CContextSwitcher::~CContextSwitcher()
{
    m_player.closeFile();
}

QString CContextSwitcher::contextTitle(int context)
{
    switch (context) {
    case MyCollection:
        return tr("My collection");
    case ScanResults:
        return tr("Scan results");
    case Tasks:
        return tr("Tasks");
    case Downloads:
        return tr("Downloads");
    default:
        return QString();
    }
}

QStringList CContextSwitcher::buttonsOf(int context)
{
    return context >= 0 && context < ContextCount ? names(s_contextButtons[context]) : QStringList();
}

QStringList CContextSwitcher::entriesOf(int context)
{
    return context >= 0 && context < ContextCount ? names(s_contextEntries[context]) : QStringList();
}

QStringList CContextSwitcher::singleViewButtons(int context)
{
    QStringList buttons = {QStringLiteral("widgetPlayerPanel"), QStringLiteral("toolButton_StartScan"),
                           QStringLiteral("toolButton_ListView"), QStringLiteral("toolButton_SingleView")};
    if (context == MyCollection)
        buttons << QStringLiteral("toolButton_Copy2Phone");
    else if (context == ScanResults)
        buttons << QStringLiteral("toolButton_Copy2MyCollectionFolder") << QStringLiteral("toolButton_Copy2Phone");
    return buttons;
}

QStringList CContextSwitcher::singleViewEntries()
{
    return names(s_singleViewEntries);
}

QStringList CContextSwitcher::switchedButtons()
{
    QStringList all;
    for (int context = 0; context < ContextCount; ++context) {
        appendNew(all, buttonsOf(context));
        appendNew(all, singleViewButtons(context));
    }
    return all;
}

QStringList CContextSwitcher::switchedEntries()
{
    QStringList all;
    for (int context = 0; context < ContextCount; ++context)
        appendNew(all, entriesOf(context));
    appendNew(all, singleViewEntries());
    return all;
}

void CContextSwitcher::setButtonsShown(const QStringList &buttonNames, bool shown)
{
    for (const QString &name : buttonNames) {
        if (auto *widget = m_window->findChild<QWidget *>(name))
            widget->setVisible(shown);
    }
}

void CContextSwitcher::setEntriesShown(const QStringList &entryNames, bool shown)
{
    for (const QString &name : entryNames) {
        QAction *action = m_window->findChild<QAction *>(name);
        if (!action) {
            if (auto *menu = m_window->findChild<QMenu *>(name))
                action = menu->menuAction();
        }
        if (action) {
            action->setVisible(shown);
            action->setEnabled(shown);
        }
    }
}

void CContextSwitcher::setContext(int context)
{
    if (context < 0 || context >= ContextCount)
        return;
    // Leaving a context always leaves the single view.
    if (m_viewMode == SingleMode)
        leaveSingleView();
    if (m_rememberedViewMode != SingleMode)
        m_viewMode = m_rememberedViewMode;
    else
        m_viewMode = ListMode;
    deactivateContext(m_context);
    m_ui->stackedWidget->setCurrentIndex(context);
    activateContext(context);
    m_previousContext = m_context;
    m_context = context;
}

void CContextSwitcher::deactivateContext(int context)
{
    setButtonsShown(buttonsOf(context), false);
    setEntriesShown(entriesOf(context), false);
    const QList<CContextButton *> contextButtons = {m_ui->pushButtonMyCollection, m_ui->pushButtonScanResults,
                                                     m_ui->pushButtonTasks, m_ui->pushButtonDownloads};
    if (CContextButton *button = contextButtons.value(context))
        button->setActive(false);
}

void CContextSwitcher::activateContext(int context)
{
    m_ui->labelViewType->setText(QStringLiteral("<big>") + contextTitle(context) + QStringLiteral("</big>"));
    const QList<CContextButton *> contextButtons = {m_ui->pushButtonMyCollection, m_ui->pushButtonScanResults,
                                                     m_ui->pushButtonTasks, m_ui->pushButtonDownloads};
    for (int i = 0; i < contextButtons.size(); ++i)
        contextButtons.at(i)->setActive(i == context);
    setButtonsShown(buttonsOf(context), true);
    setEntriesShown(entriesOf(context), true);
    if (context == MyCollection || context == ScanResults) {
        if (context == MyCollection) {
            CVideoTransferWindow::setButtonTip(m_ui->toolButton_Copy2Phone, tr("Copy to Phone"));
        } else {
            CVideoTransferWindow::setButtonTip(m_ui->toolButton_Copy2MyCollectionFolder,
                                               tr("Convert to My Collection Folder"));
            CVideoTransferWindow::setButtonTip(m_ui->toolButton_Copy2Phone, tr("Convert & Copy to Phone"));
        }
        enableCopyButtons();
        m_ui->toolButton_ListView->setChecked(true);
        m_ui->toolButton_SingleView->setChecked(false);
    }
}

void CContextSwitcher::enableCopyButtons()
{
    m_ui->toolButton_Copy2MyCollectionFolder->setEnabled(true);
    m_ui->toolButton_Copy2Phone->setEnabled(hasPhoneEntries());
}

void CContextSwitcher::setViewMode(int mode)
{
    if (mode == m_viewMode)
        return;
    if (mode == SingleMode) {
        setButtonsShown(buttonsOf(m_context), false);
        enterSingleView();
    } else {
        leaveSingleView();
        m_ui->stackedWidget->setCurrentIndex(m_context);
        activateContext(m_context);
    }
}

void CContextSwitcher::enterSingleView()
{
    m_viewMode = SingleMode;
    m_ui->stackedWidget->setCurrentIndex(SingleViewPage);
    m_ui->toolButton_ListView->setChecked(false);
    m_ui->toolButton_SingleView->setChecked(true);
    setButtonsShown(singleViewButtons(m_context), true);
    if (m_context == ScanResults) {
        // A phone-ready file is copied as it is; anything else is converted.
        static const QRegularExpression mp4(QRegularExpression::wildcardToRegularExpression(QStringLiteral("*.mp4")),
                                            QRegularExpression::CaseInsensitiveOption);
        if (mp4.match(QFileInfo(m_singleViewPath).fileName()).hasMatch()) {
            CVideoTransferWindow::setButtonTip(m_ui->toolButton_Copy2MyCollectionFolder,
                                               tr("Copy to My Collection Folder"));
            CVideoTransferWindow::setButtonTip(m_ui->toolButton_Copy2Phone, tr("Copy to Phone"));
        } else {
            CVideoTransferWindow::setButtonTip(m_ui->toolButton_Copy2MyCollectionFolder,
                                               tr("Convert to My Collection Folder"));
            CVideoTransferWindow::setButtonTip(m_ui->toolButton_Copy2Phone, tr("Convert & Copy to Phone"));
        }
    }
    if (m_context == MyCollection || m_context == ScanResults)
        enableCopyButtons();
    setEntriesShown(singleViewEntries(), true);
    setEntriesShown(names(s_hiddenInSingleView), false);
}

void CContextSwitcher::leaveSingleView()
{
    m_viewMode = ListMode;
    setButtonsShown(singleViewButtons(m_context), false);
    setEntriesShown(singleViewEntries(), false);
    // Back to what the context itself shows of the entries the single view hid.
    const QStringList own = entriesOf(m_context);
    for (const QString &name : names(s_hiddenInSingleView)) {
        if (own.contains(name))
            setEntriesShown({name}, true);
    }
    if (m_player.isFileOpen())
        m_player.closeFile();
}

bool CContextSwitcher::openFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        CMessageDialog::showInTurn(tr("Error"), tr("File %1 does not exist.").arg(Formats::escaped(path)));
        return false;
    }
    m_singleViewPath = path;
    if (m_viewMode != SingleMode) {
        setButtonsShown(buttonsOf(m_context), false);
        enterSingleView();
    }
    m_ui->labelViewType->setText(QStringLiteral("<big>") + contextTitle(m_context)
                                 + QStringLiteral("   </big><small>/  ")
                                 + Formats::escaped(QFileInfo(path).fileName()) + QStringLiteral("</small>"));
    m_player.closeFile();
    return m_player.playFile(m_ui->videoPlayerWidget, path);
}
