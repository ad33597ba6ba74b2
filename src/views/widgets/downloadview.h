#pragma once

#include "lumotreeview.h"

#include <QSet>
#include <QUuid>

class CViewHost;
class MyCollectionView;

// The list of the "Downloads" context: every download with its progress or
// outcome, in the queue's order, which the user may change by dragging rows.
// A finished download goes into My collection (and, when the user wanted
// it, to the phone).
class DownloadView final : public LumoTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DownloadView)

public:
    explicit DownloadView(CViewHost *host, QWidget *parent = nullptr);
    ~DownloadView() override;

    void setMyCollectionView(MyCollectionView *view) { m_collection = view; }
    void refill();
    bool isSomethingRunning() const { return m_running; }
    bool isSomethingFinished() const { return m_finished; }

public Q_SLOTS:
    void downloadViewUpdatedSlot(FileItem *item, bool finished);
    // The download actions and buttons from the rows; false without rows.
    bool UpdateListStatus();
    void SectionClicked(int column);
    void itemSelectionChanged();
    void dropEvent(QDropEvent *event) override;
    // Removes the rows (and catalogue entries) of finished and failed downloads.
    void ClearFinished();
    // Removes the rows (and catalogue entries) of queued, running and
    // cancelled downloads.
    void ClearAllDownloading();
    // Removes the selected rows of queued, running and cancelled downloads,
    // returning their items' identities for the caller to cancel.
    QList<QUuid> ClearSelectedDownloading();

private:
    void setActions(bool selectedRunning);
    void removeRows(const QList<TreeItem *> &rows);
    void setButtonEnabled(const char *objectName, bool enabled);

    CViewHost *m_host;
    MyCollectionView *m_collection = nullptr;
    bool m_running = false;
    bool m_finished = false;
    // The downloads already moved into My collection.
    QSet<QUuid> m_collected;
};
