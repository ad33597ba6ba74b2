#pragma once

#include "phonesinfo.h"
#include "videoplayer.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CVideoTransferWindow;
namespace Orvak_API {
class PhoneManagement;
}
namespace Ui {
class VideoTransferClass;
}

// Switches the main window between its four contexts and its two view
// modes, and keeps the phone column current: the phone selector, rebuilt
// on every device event, the phone's picture and its memory box. It owns
// the phone selector's phone-management session and phone list, and the
// program's one player. GUI thread only.
//
// Contexts and view modes are in contextswitcher.cpp, the phone column in
// phonecolumn.cpp.
class CContextSwitcher final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CContextSwitcher)

public:
    enum Context { MyCollection = 0, ScanResults = 1, Tasks = 2, Downloads = 3 };
    enum ViewMode { ListMode = 0, SingleMode = 1 };
    static constexpr int ContextCount = 4;
    static constexpr int SingleViewPage = 4;

    // Starts the phone-management session and listens to its device events;
    // the phone list is built by the caller's first rebuildPhoneList().
    CContextSwitcher(CVideoTransferWindow *window, Ui::VideoTransferClass *form);
    ~CContextSwitcher() override;

    // --- contexts and view modes
    void setContext(int context);
    int context() const { return m_context; }
    int previousContext() const { return m_previousContext; }
    void setViewMode(int mode);
    int viewMode() const { return m_viewMode; }
    int rememberedViewMode() const { return m_rememberedViewMode; }
    void setRememberedViewMode(int mode) { m_rememberedViewMode = mode; }
    // "My collection", "Scan results", "Tasks" or "Downloads", translated.
    static QString contextTitle(int context);
    // Shows path in the single view and plays it; false (with a message)
    // when the file does not exist.
    bool openFile(const QString &path);
    QString singleViewPath() const { return m_singleViewPath; }
    bool isPlaying() const { return m_playing; }
    void setPlaying(bool playing) { m_playing = playing; }

    // What each context shows, by object name: its bottom-bar buttons and
    // its menu entries (actions, and sub-menus by their menu's name).
    static QStringList buttonsOf(int context);
    static QStringList entriesOf(int context);
    static QStringList singleViewButtons(int context);
    static QStringList singleViewEntries();
    // Every button and entry some context or the single view shows.
    static QStringList switchedButtons();
    static QStringList switchedEntries();

    // --- phone column
    // Lists the attached phones again, keeping the selected one when it is
    // still there. Waits while My collection is being rebuilt.
    void rebuildPhoneList();
    // A rebuild that waited for the My collection builder.
    bool isPhoneListRebuildPending() const { return m_rebuildPending; }
    void runPendingPhoneListRebuild();
    bool isRefreshingPhones() const { return m_refreshing; }
    // The selector's entry index changed (the user, or a rebuild).
    void phoneSelectionChanged(int index);
    // The "Select phone" menu entry with this text was chosen.
    void selectPhoneFromMenu(const QString &entryText);
    // The picture the last My collection rebuild found for the phone.
    void showPhonePicture();
    void showDefaultPhonePicture();
    // Starts a new phone-management session and lists the phones again:
    // after the connectivity service came back, the old session is gone.
    void restartPhoneManagement();
    // The connectivity service went away: no phone is reachable.
    void phonesUnavailable();

    Orvak_API::VideoPlayer &videoPlayer() { return m_player; }
    Orvak_API::PhonesInfo &phones() { return m_phones; }
    bool hasPhoneEntries() const;

public Q_SLOTS:
    void PhoneAddSlot(const wchar_t *pstrSN, uint dwStatus);
    void PhoneUpdateSlot(const wchar_t *pstrSN, uint dwStatus);
    void PhoneRemoveSlot(const wchar_t *pstrSN, uint dwStatus);
    void PhoneListUpdateSlot();

Q_SIGNALS:
    // The phone list has been rebuilt (also to no phone at all).
    void phoneListRebuilt();

private:
    void activateContext(int context);
    void deactivateContext(int context);
    void enterSingleView();
    void leaveSingleView();
    void setEntriesShown(const QStringList &names, bool shown);
    void setButtonsShown(const QStringList &names, bool shown);
    void enableCopyButtons();

    void startPhoneManagement();
    void showNoPhone();
    void showPhone(const QString &serial);
    void clearMemoryBox();
    void showMemoryTitle();
    void resetPhoneSideOfMyCollection();

    CVideoTransferWindow *m_window;
    Ui::VideoTransferClass *m_ui;
    bool m_playing = false;
    QString m_singleViewPath;
    int m_context = MyCollection;
    int m_previousContext = MyCollection;
    int m_viewMode = ListMode;
    int m_rememberedViewMode = ListMode;
    std::unique_ptr<Orvak_API::PhoneManagement> m_phoneManagement;
    Orvak_API::PhonesInfo m_phones;
    Orvak_API::VideoPlayer m_player;
    bool m_refreshing = false;
    bool m_rebuildPending = false;
};
