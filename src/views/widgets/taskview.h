#pragma once

#include "lumotreeview.h"

class CViewHost;
class MyCollectionView;

// The list of the "Tasks" context: every queued, running and finished task,
// in the queue's order, which the user may change by dragging rows. When a
// task ends, the other lists take its result.
class TaskView final : public LumoTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TaskView)

public:
    explicit TaskView(CViewHost *host, QWidget *parent = nullptr);
    ~TaskView() override;

    void setMyCollectionView(MyCollectionView *view) { m_collection = view; }
    // The items of every row, in the list's order.
    QList<FileItem *> items() const;
    // Fills the list again from the task queue.
    void refill();

public Q_SLOTS:
    // A task's row changed (its own item); finished once the task has ended.
    void taskViewUpdatedSlot(FileItem *item, bool finished);
    void SectionClicked(int column);
    void itemSelectionChanged();
    void dropEvent(QDropEvent *event) override;

private:
    void takeResult(FileItem *item, int kind);
    void takeCopyToPc(FileItem *item);
    void takeCopyToPhone(FileItem *item);
    void takeDeletion(FileItem *item, int kind);
    void takeConversion(FileItem *item);
    void setTaskActions();

    CViewHost *m_host;
    MyCollectionView *m_collection = nullptr;
};
