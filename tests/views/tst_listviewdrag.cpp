// Reordering a list by dragging its rows: where the drop line goes, what a
// drop does, which drops are refused, and the picture the drag shows.

#include "viewfixture.h"

#include "fileitem.h"
#include "taskview.h"

#include <QFontMetrics>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

using namespace ViewTest;

class TestListViewDrag : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(loadProgramTheme()); }

    void reorderingByDropping_data()
    {
        QTest::addColumn<QList<int>>("dragged");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("below");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("two below the last") << QList<int>{0, 2} << 4 << true << strings({"1", "3", "4", "0", "2"});
        QTest::newRow("two above the first") << QList<int>{2, 4} << 0 << false << strings({"2", "4", "0", "1", "3"});
        QTest::newRow("one below the second") << QList<int>{4} << 1 << true << strings({"0", "1", "4", "2", "3"});
    }
    void reorderingByDropping()
    {
        QFETCH(QList<int>, dragged);
        QFETCH(int, target);
        QFETCH(bool, below);
        QFETCH(QStringList, order);
        Host host;
        host.context = 2;
        TaskView view(&host);
        host.show(&view);
        std::vector<std::unique_ptr<FileItem>> items;
        for (int i = 0; i < 5; ++i) {
            items.push_back(std::make_unique<FileItem>());
            items.back()->pc.name = QString::number(i);
            view.addRow(items.back().get(), QString::number(i) + QStringLiteral("|0:01|1 KB|Pending..."));
        }
        view.clearSelection();
        for (int i : dragged)
            view.topLevelItem(i)->setSelected(true);
        QSignalSpy dropped(&view, &LumoTreeView::rowsDropped);
        const QRect rect = view.visualItemRect(view.topLevelItem(target));
        const QPoint at(rect.center().x(), below ? rect.bottom() - 2 : rect.top() + 2);
        QMimeData data;
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &move);
        QVERIFY(move.isAccepted());
        QCOMPARE(view.dropPosition(), below ? int(LumoTreeView::DropBelow) : int(LumoTreeView::DropAbove));
        QCOMPARE(view.dropLineY(), below ? rect.top() + 2 * (rect.height() / 2) : rect.top());
        QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &drop);
        QCOMPARE(topLevelTexts(&view), order);
        QCOMPARE(view.selectedRows().size(), dragged.size());
        QCOMPARE(dropped.size(), 1);
        QCOMPARE(view.dropLineY(), -1);
    }

    void droppingOnASelectedRowIsRefused()
    {
        Host host;
        TaskView view(&host);
        host.show(&view);
        std::vector<std::unique_ptr<FileItem>> items;
        for (int i = 0; i < 3; ++i) {
            items.push_back(std::make_unique<FileItem>());
            view.addRow(items.back().get(), QString::number(i) + QStringLiteral("|0:01|1 KB|Pending..."));
        }
        view.clearSelection();
        view.topLevelItem(1)->setSelected(true);
        const QPoint at = view.visualItemRect(view.topLevelItem(1)).center();
        QMimeData data;
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &enter);
        QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &move);
        QVERIFY(!move.isAccepted());
        QCOMPARE(view.dropLineY(), -1);
        QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &drop);
        QCOMPARE(topLevelTexts(&view), (strings({"0", "1", "2"})));

        // Files dragged in from elsewhere are no reorder.
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/x.avi"))});
        QDragEnterEvent foreign(view.visualItemRect(view.topLevelItem(0)).center(), Qt::MoveAction, &files,
                                Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &foreign);
        QVERIFY(!foreign.isAccepted());
    }

    void theDragPicture()
    {
        Host host;
        TaskView view(&host);
        std::vector<std::unique_ptr<FileItem>> items;
        for (int i = 0; i < 3; ++i) {
            items.push_back(std::make_unique<FileItem>());
            view.addRow(items.back().get(), QStringLiteral("clip%1|0:01|1 KB|Pending...").arg(i));
        }
        view.clearSelection();
        view.topLevelItem(1)->setSelected(true);
        QCOMPARE(view.dragLabel(), QStringLiteral("clip1"));
        view.topLevelItem(2)->setSelected(true);
        QCOMPARE(view.dragLabel(), QStringLiteral("2 Files selected"));
        const QPixmap picture = LumoTreeView::dragPixmap(view.dragLabel(), view.font());
        QCOMPARE(picture.height(), 24);
        QCOMPARE(picture.width(), QFontMetrics(view.font()).horizontalAdvance(view.dragLabel()) + 65);
    }
};

QTEST_MAIN(TestListViewDrag)
#include "tst_listviewdrag.moc"
