#pragma once

#include "lumotreeview.h"

class CViewHost;
class QAction;
class QActionGroup;
class QMenu;
class TaskView;

// The list of the "My collection" context: every video of the collection,
// in the My collection folder, on the phone or both, in groups, each row
// with its storage buttons. The "Storage" header opens a menu that sorts by
// where the videos are stored.
class MyCollectionView final : public LumoTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MyCollectionView)

public:
    enum Column { NameColumn, LengthColumn, SizeColumn, TypeColumn, CreatedColumn, StorageColumn };

    explicit MyCollectionView(CViewHost *host, QWidget *parent = nullptr);
    ~MyCollectionView() override;

    // The Tasks list, whose items tell which videos are being worked on.
    void setTaskView(TaskView *tasks) { m_tasks = tasks; }
    CViewHost *host() const { return m_host; }

    // Fills the list again from the catalogue's My collection.
    void refill();
    // A new row for item in its group, made current.
    TreeItem *addItem(FileItem *item);
    // After a task of kind on a video has finished: the row of the video
    // (found by identity) takes the task's result, and goes when the video
    // is on neither side any more.
    void updateAfterTask(const FileItem *taskItem, int kind);

    QMenu *storageMenu() const { return m_storageMenu; }
    QList<QAction *> storageActions() const;
    bool doubleClickFlag() const { return m_doubleClicked; }

    // Plays the one selected video; one only on the phone is first copied to
    // My collection when the user agrees.
    void playSelected();

    // A storage button of row was clicked: the phone's or the PC's.
    void storageClicked(TreeItem *row, bool phoneSide);

public Q_SLOTS:
    void itemClicked(QTreeWidgetItem *row, int column);
    void itemSelectionChanged();
    void SectionClicked(int column);
    void SortByStorage(QAction *action);

    void menu_sortbyName();
    void menu_sortbyLenght();
    void menu_sortbySize();
    void menu_sortbyType();
    void menu_sortbyCreated();
    void menu_sortbyStorageByPC();
    void menu_sortbyStorageByPhone();
    void menu_sortbyStorageByBoth();
    void menu_copy2PC();
    void menu_DelFromPC();
    void menu_copy2Phone();
    void menu_DelFromPhone();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Enter plays the selected video, as a double click does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void queueTask(FileItem *item, int kind);
    void pcClicked(TreeItem *row);
    void phoneClicked(TreeItem *row);
    void clickCurrentButton(bool phoneSide);
    void setItemActions(const FileItem *item);

    CViewHost *m_host;
    TaskView *m_tasks = nullptr;
    QMenu *m_storageMenu;
    QActionGroup *m_storageGroup;
    QAction *m_byPc;
    QAction *m_byPhone;
    QAction *m_byBoth;
    bool m_doubleClicked = false;
};
