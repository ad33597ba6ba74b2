#pragma once

// What the list tests share: a window standing in for the main window (the
// views ask it through their host interface), with the menu entries and
// buttons the views switch, and items put into the catalogue's lists.

#include "catalogue.h"
#include "dialogfixture.h"
#include "viewhost.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWidget>

namespace ViewTest {

class Host final : public QWidget, public CViewHost
{
public:
    Host()
    {
        for (const char *name : {"actionCopy_to_phone", "actionCopy_to_PC", "actionRemove_from_phone",
                                 "actionRemove_from_PC", "actionCancel", "actionCancelAll", "actionCancelD",
                                 "actionCancelAllD", "actionConvert_Copy_phone", "actionConvert_Copy_PC",
                                 "actionClearCompleted"}) {
            auto *action = new QAction(this);
            action->setObjectName(QLatin1String(name));
            action->setEnabled(false);
        }
        for (const char *name : {"toolButton_StopScan", "toolButton_DeleteTasks", "toolButton_DeleteDownloads",
                                 "toolButton_ClearCompletedDownloads"}) {
            auto *button = new QToolButton(this);
            button->setObjectName(QLatin1String(name));
            button->setEnabled(false);
        }
        new QVBoxLayout(this);
        resize(700, 500);
    }

    void show(QWidget *view)
    {
        layout()->addWidget(view);
        QWidget::show();
        QVERIFY(QTest::qWaitForWindowExposed(this));
    }

    int currentContext() const override { return context; }
    void resetSelectionDetails() override
    {
        ++resets;
        detailsItem = nullptr;
    }
    void showSelectionDetails(FileItem *item, qint64 total) override
    {
        detailsItem = item;
        detailsTotal = total;
    }
    QAction *menuAction(const QString &name) const override { return findChild<QAction *>(name); }
    QWidget *windowButton(const QString &name) const override { return findChild<QWidget *>(name); }
    bool hasPhoneEntries() const override { return phone; }
    void stopPlayer() override { ++playerStops; }
    void playFile(const QString &path) override { played << path; }
    void playWhenCopied(const QUuid &id) override { playAfterCopy = id; }
    bool takePlayWhenCopied(const QUuid &id) override
    {
        if (playAfterCopy.isNull() || playAfterCopy != id)
            return false;
        playAfterCopy = QUuid();
        return true;
    }
    bool isCollectionBuilding() const override { return building; }
    void FillMyCollection() override { ++fills; }
    void refreshTaskStatus() override { ++statusRefreshes; }
    CTaskManager *taskManager() const override { return tasks; }
    CDownloadManager *downloadManager() const override { return downloads; }

    bool enabled(const char *action) const { return menuAction(QLatin1String(action))->isEnabled(); }
    QWidget *button(const char *name) const { return windowButton(QLatin1String(name)); }

    int context = 0;
    bool phone = true;
    int resets = 0;
    FileItem *detailsItem = nullptr;
    qint64 detailsTotal = 0;
    int playerStops = 0;
    QStringList played;
    QUuid playAfterCopy;
    int statusRefreshes = 0;
    bool building = false;
    int fills = 0;
    CTaskManager *tasks = nullptr;
    CDownloadManager *downloads = nullptr;
};

enum Side { OnPc = 1, OnPhone = 2 };

// An item of My collection named like a file ("clip.mp4") with copies on
// the chosen sides (files that need not exist), sized as given.
inline FileItem *collectionItem(const QString &name, int sides, qint64 size = 1 << 20, int syncPc = 4,
                                int syncPhone = 4)
{
    FileItem *item = Catalogue::instance().appendMyCollectionItem();
    const QDateTime when = QDateTime::currentDateTime().addDays(-2);
    if (sides & OnPc) {
        // As the catalogue names them: a PC copy without its extension.
        item->pc.name = QFileInfo(name).completeBaseName();
        item->pc.path = QStringLiteral("/nowhere/") + name;
        item->pc.suffix = QStringLiteral("mp4");
        item->pc.size = size;
        item->pc.created = item->pc.modified = when;
        item->pc.playbackLength = 90;
        item->pc.found = true;
    }
    if (sides & OnPhone) {
        item->phone.name = name;
        item->phone.path = QStringLiteral("\\\\E:\\Videos\\") + name;
        item->phone.suffix = QStringLiteral("mp4");
        item->phone.size = size;
        item->phone.created = item->phone.modified = when;
        item->phone.playbackLength = 90;
        item->phone.found = true;
    }
    item->pc.syncState = syncPc;
    item->phone.syncState = syncPhone;
    return item;
}

inline QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}

// The texts of the view's top-level rows, in order.
inline QStringList topLevelTexts(const QTreeWidget *view)
{
    QStringList texts;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        texts << view->topLevelItem(i)->text(0);
    return texts;
}

// Drops the view's selected rows just above row, as a drag inside the view
// does: enter, move and drop on the row's upper edge.
inline void dropSelectionAbove(QTreeWidget &view, QTreeWidgetItem *row)
{
    const QRect target = view.visualItemRect(row);
    const QPoint at(target.center().x(), target.top() + 2);
    QMimeData data;
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &move);
    QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &drop);
}

} // namespace ViewTest
