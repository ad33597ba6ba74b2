// The main window's contexts and view modes, its menu bar and its form:
// what each context shows, by object name, and every menu entry with its
// text and shortcut.

#include "windowfixture.h"

#include "mediaclips.h"
#include "messagedialog.h"

#include <QTemporaryDir>

using namespace WindowTest;

namespace {

QStringList names(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *name : list)
        result << QLatin1String(name);
    return result;
}

QString dialogText(const QWidget *dialog)
{
    QString text;
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        text += plainText(label) + QLatin1Char('\n');
    return text;
}

} // namespace

class TestWindowContexts : public QObject
{
    Q_OBJECT

    std::unique_ptr<CVideoTransferWindow> m_shared;

private Q_SLOTS:
    void cleanupTestCase() { m_shared.reset(); }

    void initTestCase()
    {
        QVERIFY(loadProgram());
        TestSupport::FolderPhones phones; // an empty devices folder
    }

    void theFormCarriesItsNamesAndTexts()
    {
        const auto window = openWindow();
        QCOMPARE(window->objectName(), QStringLiteral("VideoTransferClass"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvak Tamsel"));
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
        Ui::VideoTransferClass *form = window->form();
        QCOMPARE(form->title_MemoryCard->text(), QStringLiteral("Memory"));
        QCOMPARE(form->title_label_MemoryAvail->text(), QStringLiteral("Available memory"));
        QCOMPARE(form->title_MemorySelectionSize->text(), QStringLiteral("Selection size"));
        QCOMPARE(form->ScanLabel->text(), QStringLiteral("Scanning status"));
        QCOMPARE(form->TaskLabel->text(), QStringLiteral("Task status"));
        QCOMPARE(form->pushButtonMyCollection->text(), QStringLiteral("My collection"));
        QCOMPARE(form->pushButtonScanResults->text(), QStringLiteral("Scan results"));
        QCOMPARE(form->pushButtonTasks->text(), QStringLiteral("Tasks"));
        QCOMPARE(form->pushButtonDownloads->text(), QStringLiteral("Downloads"));
        const struct
        {
            QAbstractButton *button;
            const char *tip;
        } tips[] = {
            {form->toolButton_ListView, "List View"},
            {form->toolButton_Help, "Help"},
            {form->toolButton_StartScan, "Start Scan"},
            {form->toolButton_StopScan, "Stop Scan"},
            {form->toolButton_DeleteTasks, "Cancel all tasks"},
            {form->toolButton_DeleteDownloads, "Cancel all downloads"},
            {form->toolButton_ClearCompletedDownloads, "Clear completed downloads"},
            {form->toolButton_Open, "Open"},
        };
        for (const auto &tip : tips) {
            QCOMPARE(tip.button->toolTip(), QLatin1String(tip.tip));
            QCOMPARE(tip.button->accessibleName(), QLatin1String(tip.tip));
        }
        QCOMPARE(form->toolButton_Help->shortcut(), QKeySequence(Qt::Key_F1));
        // Every icon-only button is named for assistive tools.
        for (const QToolButton *button : window->findChildren<QToolButton *>()) {
            if (button->text().isEmpty() || !button->icon().isNull())
                QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
        }
        QCOMPARE(form->contextBox->height(), 71);
        QCOMPARE(form->labelViewType->height(), 51);
        QCOMPARE(form->stackedWidget->count(), 5);
        QVERIFY(form->stackedWidget->widget(4)->isAncestorOf(form->videoPlayerWidget));
        QVERIFY(!form->ScanBox->isVisible());
        QCOMPARE(plainText(form->TaskInfoLabel), QStringLiteral("No ongoing tasks."));
        QCOMPARE(window->menuBar()->objectName(), QStringLiteral("menuBar"));
        QVERIFY(qobject_cast<CVTMenuBar *>(window->menuBar()));
    }

    void everyMenuEntryExists_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<QString>("menu");
        const struct
        {
            const char *name, *text, *shortcut, *menu;
        } rows[] = {
            {"actionCopy_to_phone", "Copy to phone", "Ctrl+K", "menuFile"},
            {"actionCopy_to_PC", "Copy to PC", "Ctrl+L", "menuFile"},
            {"actionRemove_from_phone", "Remove from phone", "Ctrl+J", "menuFile"},
            {"actionRemove_from_PC", "Remove from PC", "Ctrl+D", "menuFile"},
            {"actionCancel", "Cancel", "Alt+C", "menuFile"},
            {"actionCancelAll", "Cancel all", "Alt+A", "menuFile"},
            {"actionCancelD", "Cancel", "Alt+D", "menuFile"},
            {"actionCancelAllD", "Cancel all", "Alt+E", "menuFile"},
            {"actionConvert_Copy_phone", "Convert and Copy  to phone", "Ctrl+M", "menuFile"},
            {"actionConvert_Copy_PC", "Convert and Copy to PC", "Ctrl+N", "menuFile"},
            {"actionQuit", "Exit", "Ctrl+Q", "menuFile"},
            {"actionScan", "Start Scan", "Ctrl+F", "menuEdit"},
            {"actionRefresh_F5", "Refresh", "F5", "menuEdit"},
            {"actionDelete_DEL", "Remove", "Del", "menuEdit"},
            {"actionClearCompleted", "Clear Completed", "Ctrl+R", "menuEdit"},
            {"actionMy_Collection_2", "My collection", "Alt+1", "menuGo_to"},
            {"actionScan_results", "Scan results", "Alt+2", "menuGo_to"},
            {"actionTasks", "Tasks", "Alt+3", "menuGo_to"},
            {"actionDownloads", "Downloads", "Alt+4", "menuGo_to"},
            {"actionSingle_view_2", "Single view", "Ctrl+P", "menuView"},
            {"actionList_view", "List view", "", "menuView"},
            {"actionMyCollectionSortByName", "Name", "", "menuArrangeBy"},
            {"actionMyCollectionSortByLenght", "Length", "", "menuArrangeBy"},
            {"actionMyCollectionSortBySize", "Size", "", "menuArrangeBy"},
            {"actionMyCollectionSortByType", "Type", "", "menuArrangeBy"},
            {"actionMyCollectionSortByCreated", "Created", "", "menuArrangeBy"},
            {"actionMyCollectionSortByStorageByPC", "PC", "", "menuStorageBy"},
            {"actionMyCollectionSortByStorageByPhone", "Phone", "", "menuStorageBy"},
            {"actionMyCollectionSortByStorageByBoth", "Both", "", "menuStorageBy"},
            {"actionScanSortByName", "Name", "", "menuArrangeBy"},
            {"actionScanSortByLenght", "Length", "", "menuArrangeBy"},
            {"actionScanSortBySize", "Size", "", "menuArrangeBy"},
            {"actionScanSortByType", "Type", "", "menuArrangeBy"},
            {"actionScanSortByCreated", "Created", "", "menuArrangeBy"},
            {"actionScanSortByLocation", "Location", "", "menuArrangeBy"},
            {"actionTasksSortByName", "Name", "", "menuArrangeBy"},
            {"actionTasksSortByLenght", "Lenght", "", "menuArrangeBy"},
            {"actionTasksSortBySize", "Size", "", "menuArrangeBy"},
            {"actionTasksSortByStatus", "Status", "", "menuArrangeBy"},
            {"actionPlay", "Play", "Space", "menuTools"},
            {"actionVolume_up", "Volume up", "+", "menuTools"},
            {"actionVolume_down", "Volume down", "-", "menuTools"},
            {"actionSettings", "Settings", "Ctrl+S", "menuTools"},
            {"actionHelp_topics_F1", "Help topics", "", "menuHelp"},
            {"actionAbout_Orvak_Videos", "About Orvak Tamsel", "", "menuHelp"},
            {"actionSelect_phone", "Select phone", "", ""},
            {"actionMy_Collection", "My collection", "", ""},
            {"actionSingle_view", "Single view", "", ""},
            {"actionList_View", "List View", "", ""},
            {"actionPause", "Pause", "", ""},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << QString::fromLatin1(row.name) << QString::fromLatin1(row.text)
                                    << QKeySequence(QString::fromLatin1(row.shortcut)) << QString::fromLatin1(row.menu);
    }

    void everyMenuEntryExists()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QKeySequence, shortcut);
        QFETCH(QString, menu);
        if (!m_shared)
            m_shared = openWindow();
        const CVideoTransferWindow *window = m_shared.get();
        const QList<QAction *> found = window->findChildren<QAction *>(name);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first()->text(), text);
        QCOMPARE(found.first()->shortcut(), shortcut);
        bool placed = false;
        for (const QMenu *owner : window->findChildren<QMenu *>())
            placed |= owner->actions().contains(found.first()) && owner->objectName() == menu;
        QVERIFY2(placed == !menu.isEmpty(), qPrintable(menu));
    }

    void theMenusAreInOrder()
    {
        const auto window = openWindow();
        QStringList top;
        for (const QAction *action : window->menuBar()->actions())
            top << action->menu()->objectName();
        QCOMPARE(top, (QStringList{QStringLiteral("menuFile"), QStringLiteral("menuEdit"), QStringLiteral("menuView"),
                                   QStringLiteral("menuTools"), QStringLiteral("menuHelp")}));
        Ui::VideoTransferClass *form = window->form();
        QCOMPARE(form->menuFile->actions().first(), form->menuSelectPhone->menuAction());
        QVERIFY(form->menuView->actions().contains(form->menuGo_to->menuAction()));
        QVERIFY(form->menuView->actions().contains(form->menuArrangeBy->menuAction()));
        QVERIFY(form->menuArrangeBy->actions().contains(form->menuStorageBy->menuAction()));
        QCOMPARE(form->menuSelectPhone->title(), QStringLiteral("Select phone"));
    }

    void eachContextShowsItsOwn_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("My collection")
            << 0 << QStringLiteral("My collection")
            << names({"toolButton_StartScan", "toolButton_Open", "toolButton_ListView", "toolButton_SingleView"})
            << names({"actionRemove_from_phone", "actionRemove_from_PC", "actionCopy_to_phone", "actionCopy_to_PC",
                           "actionRefresh_F5", "actionSingle_view_2", "actionMyCollectionSortByName",
                           "actionMyCollectionSortByLenght", "actionMyCollectionSortBySize",
                           "actionMyCollectionSortByType", "actionMyCollectionSortByCreated",
                           "actionMyCollectionSortByStorageByPC", "actionMyCollectionSortByStorageByPhone",
                           "actionMyCollectionSortByStorageByBoth", "menuArrangeBy", "menuStorageBy"});
        QTest::newRow("Scan results")
            << 1 << QStringLiteral("Scan results")
            << names({"toolButton_StartScan", "toolButton_StopScan", "toolButton_Open",
                           "toolButton_Copy2MyCollectionFolder", "toolButton_Copy2Phone", "toolButton_ListView",
                           "toolButton_SingleView"})
            << names({"actionConvert_Copy_phone", "actionConvert_Copy_PC", "actionSingle_view_2",
                           "actionDelete_DEL", "actionScanSortByName", "actionScanSortByLenght",
                           "actionScanSortBySize", "actionScanSortByType", "actionScanSortByCreated",
                           "actionScanSortByLocation", "menuArrangeBy"});
        QTest::newRow("Tasks") << 2 << QStringLiteral("Tasks") << names({"toolButton_DeleteTasks"})
                               << names({"actionCancel", "actionCancelAll", "actionTasksSortByName",
                                              "actionTasksSortByLenght", "actionTasksSortBySize",
                                              "actionTasksSortByStatus", "menuArrangeBy"});
        QTest::newRow("Downloads")
            << 3 << QStringLiteral("Downloads")
            << names({"toolButton_ClearCompletedDownloads", "toolButton_DeleteDownloads", "toolButton_launchWebsite"})
            << names({"actionCancelD", "actionCancelAllD", "actionClearCompleted"});
    }

    void eachContextShowsItsOwn()
    {
        QFETCH(int, context);
        QFETCH(QString, title);
        QFETCH(QStringList, buttons);
        QFETCH(QStringList, entries);
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        // Reached through its button, coming from another context.
        const QList<QPushButton *> contextButtons = {form->pushButtonMyCollection, form->pushButtonScanResults,
                                                     form->pushButtonTasks, form->pushButtonDownloads};
        contextButtons.at((context + 1) % 4)->click();
        contextButtons.at(context)->click();
        QCOMPARE(window->currentContext(), context);
        QCOMPARE(form->stackedWidget->currentIndex(), context);
        QCOMPARE(form->labelViewType->text(), QStringLiteral("<big>") + title + QStringLiteral("</big>"));
        QCOMPARE(sorted(shownButtons(*window, CContextSwitcher::switchedButtons())), sorted(buttons));
        QVERIFY(form->toolButton_Help->isVisible());
        QCOMPARE(sorted(shownEntries(*window, CContextSwitcher::switchedEntries())), sorted(entries));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(static_cast<CContextButton *>(contextButtons.at(i))->isActive(), i == context);
        if (context <= 1) {
            QVERIFY(form->toolButton_ListView->isChecked());
            QVERIFY(!form->toolButton_SingleView->isChecked());
            QVERIFY(form->toolButton_Copy2MyCollectionFolder->isEnabled());
            QCOMPARE(form->toolButton_Copy2Phone->toolTip(),
                     context == 0 ? QStringLiteral("Copy to Phone") : QStringLiteral("Convert & Copy to Phone"));
            QCOMPARE(form->toolButton_Copy2Phone->accessibleName(), form->toolButton_Copy2Phone->toolTip());
        }
        if (context == 1)
            QCOMPARE(form->toolButton_Copy2MyCollectionFolder->toolTip(),
                     QStringLiteral("Convert to My Collection Folder"));
        // The Go to entries reach the same contexts.
        form->actionTasks->trigger();
        QCOMPARE(window->currentContext(), 2);
        form->actionMy_Collection_2->trigger();
        QCOMPARE(window->currentContext(), 0);
    }

    void theSingleViewShowsAndHidesItsOwn_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("My collection") << 0
                                       << names({"widgetPlayerPanel", "toolButton_StartScan", "toolButton_ListView",
                                                      "toolButton_SingleView", "toolButton_Copy2Phone"});
        QTest::newRow("Scan results") << 1
                                      << names({"widgetPlayerPanel", "toolButton_StartScan", "toolButton_ListView",
                                                     "toolButton_SingleView", "toolButton_Copy2MyCollectionFolder",
                                                     "toolButton_Copy2Phone"});
    }

    void theSingleViewShowsAndHidesItsOwn()
    {
        QFETCH(int, context);
        QFETCH(QStringList, buttons);
        QTemporaryDir folder;
        const QString clip = folder.filePath(QStringLiteral("clip.MP4"));
        QVERIFY(MediaClips::make(clip));
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        CContextSwitcher *switcher = window->contextSwitcher();
        switcher->setContext(context);
        const QStringList listButtons = shownButtons(*window, CContextSwitcher::switchedButtons());
        const QStringList listEntries = shownEntries(*window, CContextSwitcher::switchedEntries());

        QVERIFY(switcher->openFile(clip));
        QCOMPARE(switcher->viewMode(), int(CContextSwitcher::SingleMode));
        QCOMPARE(form->stackedWidget->currentIndex(), 4);
        QVERIFY(form->toolButton_SingleView->isChecked());
        QVERIFY(!form->toolButton_ListView->isChecked());
        QCOMPARE(sorted(shownButtons(*window, CContextSwitcher::switchedButtons())), sorted(buttons));
        QCOMPARE(form->labelViewType->text(), QStringLiteral("<big>") + CContextSwitcher::contextTitle(context)
                                                  + QStringLiteral("   </big><small>/  clip.MP4</small>"));
        QStringList entries = listEntries;
        entries.removeAll(QStringLiteral("actionSingle_view_2"));
        entries.removeAll(QStringLiteral("menuArrangeBy"));
        entries << CContextSwitcher::singleViewEntries();
        QCOMPARE(sorted(shownEntries(*window, CContextSwitcher::switchedEntries())), sorted(entries));
        if (context == 1) {
            // A phone-ready file is copied, not converted.
            QCOMPARE(form->toolButton_Copy2Phone->toolTip(), QStringLiteral("Copy to Phone"));
            QCOMPARE(form->toolButton_Copy2MyCollectionFolder->toolTip(), QStringLiteral("Copy to My Collection Folder"));
        }
        QVERIFY(window->videoPlayer()->isFileOpen());

        // Back to the list: exactly what the context showed before.
        switcher->setViewMode(CContextSwitcher::ListMode);
        QCOMPARE(form->stackedWidget->currentIndex(), context);
        QCOMPARE(sorted(shownButtons(*window, CContextSwitcher::switchedButtons())), sorted(listButtons));
        QCOMPARE(sorted(shownEntries(*window, CContextSwitcher::switchedEntries())), sorted(listEntries));
        QVERIFY(!window->videoPlayer()->isFileOpen());

        // Leaving the context leaves the single view as well.
        QVERIFY(switcher->openFile(clip));
        switcher->setContext(2);
        QCOMPARE(switcher->viewMode(), int(CContextSwitcher::ListMode));
        QCOMPARE(sorted(shownButtons(*window, CContextSwitcher::switchedButtons())),
                 QStringList{QStringLiteral("toolButton_DeleteTasks")});
    }

    void aVideoThatIsNotThereIsNotOpened()
    {
        const auto window = openWindow();
        QVERIFY(!window->contextSwitcher()->openFile(QStringLiteral("/nowhere/clip.mp4")));
        QCOMPARE(window->contextSwitcher()->viewMode(), int(CContextSwitcher::ListMode));
        QTRY_VERIFY(CMessageDialog::isShowing());
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<CMessageDialog *>(top); dialog && dialog->isVisible()) {
                QVERIFY(dialogText(dialog).contains(QStringLiteral("File /nowhere/clip.mp4 does not exist.")));
                dialog->reject();
            }
        }
        QTRY_VERIFY(!CMessageDialog::isShowing());
    }

    void aLongContextButtonTextMakesTheFontSmaller()
    {
        const auto plain = openWindow();
        const int normal = plain->form()->pushButtonMyCollection->font().pointSize();
        LongTranslation translation("VideoTransferClass", "Tasks",
                                    QStringLiteral("Every task that converts or copies a video"));
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        QCOMPARE(form->pushButtonTasks->font().pointSize(), normal - 1);
        QCOMPARE(form->pushButtonMyCollection->font().pointSize(), normal - 1);
        QCOMPARE(form->pushButtonScanResults->font().pointSize(), normal - 1);
        QCOMPARE(form->pushButtonDownloads->font().pointSize(), normal);
    }
};

WINDOW_TEST_MAIN(TestWindowContexts)
#include "tst_windowcontexts.moc"
