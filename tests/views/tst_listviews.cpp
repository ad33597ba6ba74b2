// The lists as the user sees and uses them: groups, sorting by the header,
// the storage buttons and their questions, double clicks and the selection's
// menu entries (reordering by dragging: tst_listviewdrag).

#include "viewfixture.h"

#include "fileitem.h"
#include "itemdelegate.h"
#include "itemordering.h"
#include "messagedialog.h"
#include "mycollectionview.h"
#include "scanview.h"
#include "storagebtns.h"
#include "taskitem.h"
#include "taskmanager.h"
#include "taskview.h"

#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

using namespace ViewTest;

namespace {

QStringList childTexts(const QTreeWidgetItem *group)
{
    QStringList texts;
    for (int i = 0; i < group->childCount(); ++i)
        texts << group->child(i)->text(0);
    return texts;
}

void clickSection(QHeaderView *header, int section)
{
    const QPoint at(header->sectionViewportPosition(section) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

StorageBtns *buttonsOf(TreeItem *row)
{
    if (!QTest::qWaitFor([&] { return row->storageButtons() != nullptr; }, 2000))
        return nullptr;
    return row->storageButtons();
}

// The first My collection row whose item is this.
TreeItem *rowFor(const LumoTreeView &view, const FileItem *item)
{
    return view.rowOf(item->uuid);
}

// Answers the next message dialog with Ok or Cancel, keeping its text.
std::unique_ptr<User> answer(bool yes, QString &text)
{
    return std::make_unique<User>([yes, &text] {
        const QList<CMessageDialog *> shown = visibleDialogs<CMessageDialog>();
        if (shown.size() != 1)
            return false;
        for (const QLabel *label : shown.first()->findChildren<QLabel *>())
            text += shownText(label);
        return clickButton(shown.first(), yes ? QStringLiteral("Ok") : QStringLiteral("Cancel"));
    });
}

// A user's double click: a click, then the double click and its release.
void doubleClick(QWidget *viewport, const QPoint &at)
{
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    QMouseEvent event(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      {});
    QApplication::sendEvent(viewport, &event);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
}

QList<int> queuedKinds(const CTaskManager &tasks)
{
    QList<int> kinds;
    for (CTaskItem *task : tasks.tasks())
        kinds << task->kind();
    return kinds;
}

} // namespace

class TestListViews : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(loadProgramTheme()); }
    void init()
    {
        Catalogue::instance().myCollection.clear();
        Catalogue::instance().scanResults.clear();
        ItemOrdering::setSortKey(0);
        ItemOrdering::setReverse(0);
    }

    void fillMakesGroupsInOrder()
    {
        Host host;
        MyCollectionView view(&host);
        for (const char *name : {"bravo.mp4", "alpha.mp4", "2nd.mp4", "Beta.mp4", "charlie.mp4"})
            collectionItem(QLatin1String(name), OnPc, 3 << 20);
        view.refill();
        QCOMPARE(topLevelTexts(&view), (strings({"Other", "A", "B", "C"})));
        QCOMPARE(childTexts(view.topLevelItem(2)), (strings({"Beta", "bravo"})));
        QCOMPARE(view.groups().size(), 4);
        QVERIFY(view.topLevelItem(2)->isExpanded());
        QCOMPARE(view.totalSize(), qint64(5) * (3 << 20));

        // Sizes of several GiB add up without overflow.
        collectionItem(QStringLiteral("huge.mp4"), OnPc, 5LL << 30);
        view.refill();
        QCOMPARE(view.totalSize(), qint64(5) * (3 << 20) + (5LL << 30));

        QVERIFY(view.rowNamed(QStringLiteral("alpha.mp4")));
        const FileItem *charlie = Catalogue::instance().myCollection.at(4);
        QCOMPARE(view.rowOf(charlie->uuid)->text(0), QStringLiteral("charlie"));
        QCOMPARE(view.indexOfItem(charlie->uuid).data().toString(), QStringLiteral("charlie"));
    }

    void removingALoneRowTakesItsGroup()
    {
        Host host;
        MyCollectionView view(&host);
        for (const char *name : {"alpha.mp4", "bravo.mp4", "beta.mp4"})
            collectionItem(QLatin1String(name), OnPc);
        view.refill();
        view.removeRow(view.rowNamed(QStringLiteral("beta.mp4")));
        QCOMPARE(topLevelTexts(&view), (strings({"A", "B"})));
        view.removeRow(view.rowNamed(QStringLiteral("alpha.mp4")));
        QCOMPARE(topLevelTexts(&view), (strings({"B"})));
        QCOMPARE(view.groups().size(), 1);
        QCOMPARE(view.rows().size(), 2);
        QVERIFY(!view.rowNamed(QStringLiteral("alpha.mp4")));
    }

    void currentAndSelectedItems()
    {
        QTemporaryDir dir;
        Host host;
        host.context = 1;
        ScanView view(&host);
        const QString real = dir.filePath(QStringLiteral("real.avi"));
        QFile file(real);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        const QStringList names = strings({"c.avi", "a.avi", "b.avi"});
        for (const QString &name : names) {
            FileItem *item = Catalogue::instance().appendScanResult();
            item->pc.name = name;
            item->pc.path = name == QLatin1String("b.avi") ? real : dir.filePath(name);
            item->pc.found = true;
        }
        view.refill();
        QCOMPARE(topLevelTexts(&view), (strings({"a.avi", "b.avi", "c.avi"})));
        view.setCurrentItem(view.topLevelItem(0));
        QVERIFY(!view.currentFileItem()); // its file is not there
        view.setCurrentItem(view.topLevelItem(1));
        QVERIFY(view.currentFileItem());
        QCOMPARE(view.currentFileItem()->pc.path, real);
        view.clearSelection();
        view.topLevelItem(2)->setSelected(true);
        view.topLevelItem(0)->setSelected(true);
        QList<FileItem *> selected = view.selectedFileItems();
        QCOMPARE(selected.size(), 2);
        QCOMPARE(selected.at(0)->pc.name, QStringLiteral("a.avi"));
        QCOMPARE(selected.at(1)->pc.name, QStringLiteral("c.avi"));

        // A group header is no item.
        MyCollectionView collection(&host);
        collectionItem(QStringLiteral("alpha.mp4"), OnPc);
        collection.refill();
        collection.setCurrentItem(collection.topLevelItem(0));
        QVERIFY(!collection.currentFileItem());
        QVERIFY(static_cast<TreeItem *>(collection.topLevelItem(0))->isGroupHeader());
    }

    void theHeaderSetsTheOrder()
    {
        Host host;
        MyCollectionView view(&host);
        host.show(&view);
        collectionItem(QStringLiteral("small.mp4"), OnPc, 1 << 20);
        collectionItem(QStringLiteral("big.mp4"), OnPc, 200 << 20);
        collectionItem(QStringLiteral("middle.mp4"), OnPc, 50 << 20);
        view.refill();
        clickSection(view.header(), MyCollectionView::SizeColumn);
        QCOMPARE(view.sortKey(), int(ItemOrdering::BySize));
        const bool ascending = view.header()->sortIndicatorOrder() == Qt::AscendingOrder;
        QCOMPARE(ItemOrdering::reverse(), ascending ? 1 : 0);
        // An ascending header lists from the largest down.
        const QStringList largestFirst = strings({"Big", "Medium", "Small"});
        QStringList groups = topLevelTexts(&view);
        QCOMPARE(groups, ascending ? largestFirst : strings({"Small", "Medium", "Big"}));
        clickSection(view.header(), MyCollectionView::SizeColumn);
        QCOMPARE(ItemOrdering::reverse(), ascending ? 0 : 1);
        groups = topLevelTexts(&view);
        QCOMPARE(groups, ascending ? strings({"Small", "Medium", "Big"}) : largestFirst);
    }

    void storageHeaderMenu_data()
    {
        QTest::addColumn<int>("items");
        QTest::addColumn<bool>("menuShown");
        QTest::newRow("no item") << 0 << false;
        QTest::newRow("one item") << 1 << false;
        QTest::newRow("two items") << 2 << true;
    }
    void storageHeaderMenu()
    {
        QFETCH(int, items);
        QFETCH(bool, menuShown);
        Host host;
        MyCollectionView view(&host);
        host.show(&view);
        if (items > 0)
            collectionItem(QStringLiteral("pc.mp4"), OnPc);
        if (items > 1)
            collectionItem(QStringLiteral("phone.mp4"), OnPhone);
        view.refill();
        clickSection(view.header(), MyCollectionView::StorageColumn);
        QCOMPARE(view.storageMenu()->isVisible(), menuShown);
        if (!menuShown)
            return;
        view.storageMenu()->hide();
        // Sorting by "phone only" names the other videos' group "Other".
        view.storageActions().at(1)->trigger();
        QCOMPARE(view.sortKey(), int(ItemOrdering::PhoneOnlyFirst));
        QVERIFY(view.storageActions().at(1)->isChecked());
        QCOMPARE(topLevelTexts(&view), (strings({"Phone only", "Other"})));
        // A column sort unchecks the storage sort.
        view.menu_sortbyName();
        QVERIFY(!view.storageActions().at(1)->isChecked());
    }

    void storageButtonTables_data()
    {
        QTest::addColumn<int>("pcState");
        QTest::addColumn<int>("phoneState");
        QTest::addColumn<QString>("pcTip");
        QTest::addColumn<int>("pcAction");
        QTest::addColumn<QString>("phoneTip");
        QTest::addColumn<int>("phoneAction");
        QTest::addColumn<int>("pcStateAfter");
        const QString copyPc = QStringLiteral("Copy to My collection");
        const QString removePc = QStringLiteral("Remove from My collection");
        QTest::newRow("older / missing") << 0 << 1 << QStringLiteral("Copy new version to My collection") << 4 << QStringLiteral("Copy to Phone") << 5 << 0;
        QTest::newRow("missing / older") << 1 << 0 << copyPc << 4 << QStringLiteral("Copy new version to phone") << 5 << 1;
        QTest::newRow("current / current") << 2 << 2 << removePc << 2 << QStringLiteral("Remove from phone") << 3 << 2;
        QTest::newRow("3 / 3") << 3 << 3 << removePc << 2 << QStringLiteral("Remove from phone") << 3 << 3;
        QTest::newRow("undetermined") << 4 << 4 << copyPc << 4 << QStringLiteral("Copy to Phone") << 5 << 1;
    }
    void storageButtonTables()
    {
        QFETCH(int, pcState);
        QFETCH(int, phoneState);
        QFETCH(QString, pcTip);
        QFETCH(int, pcAction);
        QFETCH(QString, phoneTip);
        QFETCH(int, phoneAction);
        QFETCH(int, pcStateAfter);
        Host host;
        MyCollectionView view(&host);
        view.setPhoneConnected(true);
        host.show(&view);
        FileItem *item = collectionItem(QStringLiteral("clip.mp4"), OnPc | OnPhone);
        view.refill();
        StorageBtns *buttons = buttonsOf(rowFor(view, item));
        QVERIFY(buttons);
        item->pc.syncState = pcState;
        item->phone.syncState = phoneState;
        buttons->refreshButtons();
        QCOMPARE(buttons->pcButton()->toolTip(), pcTip);
        QCOMPARE(buttons->pcButton()->accessibleName(), pcTip);
        QCOMPARE(buttons->pcAction(), pcAction);
        QCOMPARE(buttons->phoneButton()->toolTip(), phoneTip);
        QCOMPARE(buttons->phoneAction(), phoneAction);
        QCOMPARE(item->pc.syncState, pcStateAfter);
        QVERIFY(!buttons->pcButton()->icon().isNull());
        QVERIFY(buttons->phoneButton()->isEnabled());

        view.setPhoneConnected(false);
        QVERIFY(!buttons->phoneButton()->isEnabled());
        QCOMPARE(buttons->phoneButton()->toolTip(), QStringLiteral("No Phone Connected"));
    }

    // Ten thousand rows get buttons only as they come into view.
    void buttonsFollowTheRowsInView()
    {
        Host host;
        MyCollectionView view(&host);
        host.show(&view);
        for (int i = 0; i < 2000; ++i)
            collectionItem(QStringLiteral("v%1.mp4").arg(i, 4, 10, QLatin1Char('0')), OnPc);
        view.refill();
        QTest::qWait(50);
        const QList<TreeItem *> rows = view.fileRows();
        QVERIFY(rows.first()->storageButtons());
        QVERIFY(!rows.last()->storageButtons());
        view.scrollToItem(rows.last());
        QTRY_VERIFY(rows.last()->storageButtons());
        QVERIFY(rows.last()->storageButtons()->isVisible());
        // Rows with buttons are as high as the others.
        QCOMPARE(view.visualItemRect(rows.last()).height(), ItemDelegate::RowHeight);
        QCOMPARE(view.visualItemRect(rows.first()).height(), ItemDelegate::RowHeight);
    }

    void copyingOverAFileOfTheSameName_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QList<int>>("kinds");
        QTest::newRow("yes") << true << QList<int>{2, 4};
        QTest::newRow("no") << false << QList<int>{};
    }
    void copyingOverAFileOfTheSameName()
    {
        QFETCH(bool, yes);
        QFETCH(QList<int>, kinds);
        CTaskManager tasks;
        Host host;
        host.tasks = &tasks;
        MyCollectionView view(&host);
        host.show(&view);
        collectionItem(QStringLiteral("clip.mp4"), OnPc);
        FileItem *onPhone = collectionItem(QStringLiteral("clip.mp4"), OnPhone);
        view.refill();
        StorageBtns *buttons = buttonsOf(rowFor(view, onPhone));
        QVERIFY(buttons);
        QCOMPARE(buttons->pcAction(), 4);
        QString question;
        const auto user = answer(yes, question);
        QTest::mouseClick(buttons->pcButton(), Qt::LeftButton);
        QVERIFY(user->finished());
        QVERIFY(question.contains(QStringLiteral("Are you sure you want to overwrite the existing file")));
        QCOMPARE(queuedKinds(tasks), kinds);
        QCOMPARE(host.playerStops, yes ? 1 : 0);
        QCOMPARE(view.currentItem(), rowFor(view, onPhone));
        tasks.cancelAll();
    }

    void removingAsksFirst_data()
    {
        QTest::addColumn<bool>("phoneSide");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QList<int>>("kinds");
        QTest::newRow("PC, yes") << false << true << QList<int>{2};
        QTest::newRow("PC, no") << false << false << QList<int>{};
        QTest::newRow("phone, yes") << true << true << QList<int>{3};
        QTest::newRow("phone, no") << true << false << QList<int>{};
    }
    void removingAsksFirst()
    {
        QFETCH(bool, phoneSide);
        QFETCH(bool, yes);
        QFETCH(QList<int>, kinds);
        CTaskManager tasks;
        Host host;
        host.tasks = &tasks;
        MyCollectionView view(&host);
        view.setPhoneConnected(true);
        host.show(&view);
        FileItem *item = collectionItem(QStringLiteral("clip.mp4"), OnPc | OnPhone);
        view.refill();
        StorageBtns *buttons = buttonsOf(rowFor(view, item));
        QVERIFY(buttons);
        QString question;
        const auto user = answer(yes, question);
        QTest::mouseClick(phoneSide ? buttons->phoneButton() : buttons->pcButton(), Qt::LeftButton);
        QVERIFY(user->finished());
        // Each side's own name: the PC's without its extension.
        QVERIFY(question.contains(phoneSide ? QStringLiteral("Are you sure you want to delete 'clip.mp4'?")
                                            : QStringLiteral("Are you sure you want to delete 'clip'?")));
        QCOMPARE(queuedKinds(tasks), kinds);
        tasks.cancelAll();
    }

    void copyingToThePhoneAsksNothing()
    {
        CTaskManager tasks;
        Host host;
        host.tasks = &tasks;
        MyCollectionView view(&host);
        view.setPhoneConnected(true);
        host.show(&view);
        FileItem *item = collectionItem(QStringLiteral("clip.mp4"), OnPc);
        view.refill();
        StorageBtns *buttons = buttonsOf(rowFor(view, item));
        QVERIFY(buttons);
        QTest::mouseClick(buttons->phoneButton(), Qt::LeftButton);
        QVERIFY(visibleDialogs<CMessageDialog>().isEmpty());
        QCOMPARE(queuedKinds(tasks), QList<int>{5});
        tasks.cancelAll();
    }

    void doubleClickingAGroupTogglesItOnce()
    {
        Host host;
        MyCollectionView view(&host);
        host.show(&view);
        collectionItem(QStringLiteral("alpha.mp4"), OnPc);
        view.refill();
        QTreeWidgetItem *group = view.topLevelItem(0);
        QVERIFY(group->isExpanded());
        const QPoint at = view.visualItemRect(group).center();
        // The double click's first click toggles the group; the click that
        // comes with the double click does not toggle it back.
        doubleClick(view.viewport(), at);
        QVERIFY(!group->isExpanded());
        QVERIFY(!view.doubleClickFlag());
        QVERIFY(host.played.isEmpty());
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
        QVERIFY(group->isExpanded());
    }

    void doubleClickPlays()
    {
        QTemporaryDir dir;
        CTaskManager tasks;
        Host host;
        host.tasks = &tasks;
        MyCollectionView view(&host);
        host.show(&view);
        FileItem *local = collectionItem(QStringLiteral("local.mp4"), OnPc);
        local->pc.path = dir.filePath(QStringLiteral("local.mp4"));
        QFile file(local->pc.path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        FileItem *remote = collectionItem(QStringLiteral("remote.mp4"), OnPhone);
        view.refill();

        TreeItem *row = rowFor(view, local);
        view.setCurrentItem(row);
        doubleClick(view.viewport(), view.visualItemRect(row).center());
        QCOMPARE(host.played, QStringList{local->pc.path});
        // Enter does the same.
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(host.played, (QStringList{local->pc.path, local->pc.path}));

        row = rowFor(view, remote);
        view.setCurrentItem(row);
        QString question;
        const auto user = answer(true, question);
        doubleClick(view.viewport(), view.visualItemRect(row).center());
        QVERIFY(user->finished());
        QVERIFY(question.contains(QStringLiteral("Copy 'remote.mp4' to My Collection Folder and Play?")));
        QCOMPARE(host.playAfterCopy, remote->uuid);
        QCOMPARE(queuedKinds(tasks), QList<int>{4});
        tasks.cancelAll();
    }

    void selectionSetsTheMenuEntries_data()
    {
        QTest::addColumn<int>("sides");
        QTest::addColumn<bool>("phone");
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("PC only, phone there")
            << int(OnPc) << true
            << strings({"actionRemove_from_PC", "actionCopy_to_phone", "actionConvert_Copy_PC",
                           "actionConvert_Copy_phone"});
        QTest::newRow("PC only, no phone")
            << int(OnPc) << false << strings({"actionRemove_from_PC", "actionConvert_Copy_PC"});
        QTest::newRow("phone only")
            << int(OnPhone) << true
            << strings({"actionCopy_to_PC", "actionRemove_from_phone", "actionConvert_Copy_PC",
                           "actionConvert_Copy_phone"});
        QTest::newRow("both")
            << int(OnPc | OnPhone) << true
            << strings({"actionRemove_from_PC", "actionRemove_from_phone", "actionConvert_Copy_PC",
                           "actionConvert_Copy_phone"});
    }
    void selectionSetsTheMenuEntries()
    {
        QFETCH(int, sides);
        QFETCH(bool, phone);
        QFETCH(QStringList, enabled);
        const QStringList items = strings({"actionCopy_to_phone", "actionCopy_to_PC", "actionRemove_from_phone",
                                           "actionRemove_from_PC", "actionConvert_Copy_phone",
                                           "actionConvert_Copy_PC"});
        Host host;
        host.phone = phone;
        MyCollectionView view(&host);
        FileItem *item = collectionItem(QStringLiteral("clip.mp4"), sides, 7 << 20);
        collectionItem(QStringLiteral("other.mp4"), OnPc, 1 << 20);
        view.refill();
        view.setCurrentItem(rowFor(view, item));
        QCOMPARE(host.detailsItem, item);
        QCOMPARE(host.detailsTotal, qint64(8 << 20));
        for (const QString &name : items)
            QVERIFY2(host.menuAction(name)->isEnabled() == enabled.contains(name), qPrintable(name));
        // A group header selected: every entry off.
        view.setCurrentItem(view.topLevelItem(0));
        for (const QString &name : items)
            QVERIFY2(!host.menuAction(name)->isEnabled(), qPrintable(name));
    }

    // A list whose context is not shown leaves the window as it is.
    void selectionInAnotherContextChangesNothing_data()
    {
        QTest::addColumn<int>("list");
        QTest::newRow("My collection") << 0;
        QTest::newRow("Scan results") << 1;
        QTest::newRow("Tasks") << 2;
    }
    void selectionInAnotherContextChangesNothing()
    {
        QFETCH(int, list);
        Host host;
        host.context = (list + 1) % 4;
        collectionItem(QStringLiteral("clip.mp4"), OnPc);
        Catalogue::instance().appendScanResult()->pc.name = QStringLiteral("scan.avi");
        std::unique_ptr<LumoTreeView> view;
        if (list == 0) {
            auto *collection = new MyCollectionView(&host);
            view.reset(collection);
            collection->refill();
        } else if (list == 1) {
            auto *scan = new ScanView(&host);
            view.reset(scan);
            scan->refill();
        } else {
            auto *tasks = new TaskView(&host);
            view.reset(tasks);
            FileItem *row = Catalogue::instance().myCollection.at(0);
            tasks->addRow(row, row->rowText(2));
        }
        view->setCurrentItem(view->fileRows().first());
        QCOMPARE(host.resets, 0);
        QVERIFY(!host.detailsItem);
        for (const char *name : {"actionConvert_Copy_PC", "actionCancel", "actionCancelAll"})
            QVERIFY(!host.enabled(name));
    }

    void scanHeaderWaitsForTheScan()
    {
        Host host;
        host.context = 1;
        ScanView view(&host);
        for (const char *name : {"b.avi", "a.avi"})
            Catalogue::instance().appendScanResult()->pc.name = QLatin1String(name);
        view.refill();
        QCOMPARE(topLevelTexts(&view), (strings({"a.avi", "b.avi"})));
        host.button("toolButton_StopScan")->setEnabled(true); // a scan runs
        Catalogue::instance().appendScanResult()->pc.name = QStringLiteral("c.avi");
        view.SectionClicked(5);
        QCOMPARE(view.sortKey(), int(ItemOrdering::ByLocation));
        QCOMPARE(view.topLevelItemCount(), 2);
        host.button("toolButton_StopScan")->setEnabled(false);
        view.SectionClicked(0);
        QCOMPARE(view.topLevelItemCount(), 3);
    }

    void removingScanResults()
    {
        QTemporaryDir dir;
        Host host;
        host.context = 1;
        ScanView view(&host);
        QStringList paths;
        for (const char *name : {"a.avi", "b.avi", "c.avi"}) {
            FileItem *item = Catalogue::instance().appendScanResult();
            item->pc.name = QLatin1String(name);
            item->pc.path = dir.filePath(QLatin1String(name));
        }
        view.refill();
        view.topLevelItem(0)->setSelected(true);
        view.topLevelItem(2)->setSelected(true);
        view.menu_remove();
        QCOMPARE(topLevelTexts(&view), strings({"b.avi"}));
        QCOMPARE(Catalogue::instance().scanResults.size(), 1);
        QCOMPARE(Catalogue::instance().scanResults.at(0)->pc.name, QStringLiteral("b.avi"));
        // In another context the entry does nothing.
        host.context = 0;
        view.topLevelItem(0)->setSelected(true);
        view.menu_remove();
        QCOMPARE(view.topLevelItemCount(), 1);
    }

    void rowHeights()
    {
        Host host;
        MyCollectionView view(&host);
        host.show(&view);
        collectionItem(QStringLiteral("alpha.mp4"), OnPc);
        view.refill();
        QCOMPARE(view.visualItemRect(view.topLevelItem(0)).height(), ItemDelegate::GroupRowHeight);
        QCOMPARE(view.visualItemRect(view.topLevelItem(0)->child(0)).height(), ItemDelegate::RowHeight);
    }
};

QTEST_MAIN(TestListViews)
#include "tst_listviews.moc"
