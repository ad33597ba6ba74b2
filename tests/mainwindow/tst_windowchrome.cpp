// The main window's own frame: title, dragging by the menu bar, maximising,
// the icon's menu, full-screen video, closing and its settings.

#include "windowfixture.h"

#include "dialogfixture.h"
#include "downloadmanager.h"
#include "httptestserver.h"
#include "messagedialog.h"
#include "settingsstore.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QToolButton>

using namespace WindowTest;

namespace {

// A mouse event at pos in to, at global on the screen.
void sendMouse(QWidget *to, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::LeftButton, QPoint global = QPoint(-1, -1))
{
    if (global == QPoint(-1, -1))
        global = to->mapToGlobal(pos);
    const QPointF local(pos);
    QMouseEvent event(type, local, local, QPointF(global), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &event);
}

// A press at pos on the menu bar and a move of 60 pixels right and 30 down,
// the mouse's screen position going along.
void dragMenuBar(QWidget *bar, const QPoint &pos)
{
    const QPoint global = bar->mapToGlobal(pos);
    sendMouse(bar, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, global);
    for (int step = 1; step <= 3; ++step) {
        const QPoint delta(20 * step, 10 * step);
        sendMouse(bar, QEvent::MouseMove, bar->mapFromGlobal(global + delta), Qt::LeftButton, Qt::NoButton,
                  global + delta);
    }
    sendMouse(bar, QEvent::MouseButtonRelease, bar->mapFromGlobal(global + QPoint(60, 30)), Qt::NoButton,
              Qt::LeftButton, global + QPoint(60, 30));
}

bool showsIcon(const QToolButton *button, CTheme::Element element)
{
    const QSize size = CTheme::iconSize(element);
    return button->icon().pixmap(size).toImage() == CTheme::icon(element).pixmap(size).toImage();
}

QSettings store()
{
    return QSettings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"));
}

} // namespace

class TestWindowChrome : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgram());
        for (const char *name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
        TestSupport::FolderPhones phones;
    }

    void init()
    {
        QSettings s = store();
        s.clear();
    }

    void theTitleShrinksWhenItDoesNotFit()
    {
        QCOMPARE(CVideoTransferWindow::titleFont(QStringLiteral("Orvak Tamsel")).pointSize(), 11);
        LongTranslation translation("CVideoTransferWindow", "Orvak Tamsel",
                                    QStringLiteral("Orvak Tamsel, das Videoprogramm"));
        const auto window = openWindow();
        QCOMPARE(window->paintedTitle(), QStringLiteral("Orvak Tamsel, das Videoprogramm"));
        QVERIFY(QFontMetrics(CVideoTransferWindow::titleFont(QStringLiteral("Orvak Tamsel, das Videoprogramm")))
                    .horizontalAdvance(window->paintedTitle())
                > 0);
        QCOMPARE(CVideoTransferWindow::titleFont(window->paintedTitle()).pointSize(), 10);
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvak Tamsel"));
    }

    void theWindowButtonsSitTopRight()
    {
        const auto window = openWindow();
        window->resize(1000, 700);
        const auto *close = window->findChild<QToolButton *>(QStringLiteral("toolButton_Close"));
        const auto *maximize = window->findChild<QToolButton *>(QStringLiteral("toolButton_Maximize"));
        const auto *minimize = window->findChild<QToolButton *>(QStringLiteral("toolButton_Minimize"));
        QVERIFY(close && maximize && minimize);
        QCOMPARE(close->geometry().right() + 1, 1000 - 8);
        QCOMPARE(close->y(), 10);
        QCOMPARE(maximize->geometry().right() + 1, close->x() - 2);
        QCOMPARE(minimize->geometry().right() + 1, maximize->x() - 2);
        const auto *grip = window->findChild<QWidget *>(QStringLiteral("sizeGrip"));
        QCOMPARE(grip->geometry().bottomRight(), QPoint(999, 699));
    }

    void dragging_data()
    {
        QTest::addColumn<int>("fromRight");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<bool>("moves");
        QTest::newRow("on the menu bar") << 300 << false << true;
        QTest::newRow("69 pixels from the right") << 69 << false << true;
        QTest::newRow("68 pixels from the right") << 68 << false << false;
        QTest::newRow("maximised") << 300 << true << false;
    }

    void dragging()
    {
        QFETCH(int, fromRight);
        QFETCH(bool, maximised);
        QFETCH(bool, moves);
        const auto window = openWindow();
        window->move(100, 100);
        if (maximised)
            window->showMaximized();
        const QPoint before = window->pos();
        QMenuBar *bar = window->menuBar();
        // Below the window buttons, beside the menus.
        const QPoint at = bar->mapFrom(window.get(), QPoint(window->width() - fromRight, 40));
        QVERIFY(bar->rect().contains(at));
        dragMenuBar(bar, at);
        QCOMPARE(window->pos(), moves ? before + QPoint(60, 30) : before);
        QVERIFY(!window->isDragging());
    }

    void maximisingSwapsTheButtonAndTheGrip()
    {
        const auto window = openWindow();
        auto *maximize = window->findChild<QToolButton *>(QStringLiteral("toolButton_Maximize"));
        const auto *grip = window->findChild<QWidget *>(QStringLiteral("sizeGrip"));
        QVERIFY(grip->isVisible());
        QVERIFY(showsIcon(maximize, CTheme::MaximizeIcon));
        QTest::mouseClick(maximize, Qt::LeftButton);
        QVERIFY(window->isMaximized());
        QVERIFY(!grip->isVisible());
        QVERIFY(showsIcon(maximize, CTheme::RestoreIcon));
        QCOMPARE(maximize->accessibleName(), QStringLiteral("Restore"));
        QCOMPARE(maximize->toolTip(), QStringLiteral("Restore"));
        QTest::mouseClick(maximize, Qt::LeftButton);
        QVERIFY(!window->isMaximized());
        QVERIFY(grip->isVisible());
        QVERIFY(showsIcon(maximize, CTheme::MaximizeIcon));
        QCOMPARE(maximize->accessibleName(), QStringLiteral("Maximise"));

        // A double click in the top band does the same.
        QWidget *bar = window.get();
        const QPoint at(window->width() / 2 + 100, 40);
        sendMouse(bar, QEvent::MouseButtonPress, at, Qt::LeftButton);
        sendMouse(bar, QEvent::MouseButtonRelease, at, Qt::NoButton);
        sendMouse(bar, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        sendMouse(bar, QEvent::MouseButtonRelease, at, Qt::NoButton);
        QVERIFY(window->isMaximized());
        sendMouse(bar, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        QVERIFY(!window->isMaximized());
    }

    void theIconOpensTheWindowMenu()
    {
        const auto window = openWindow();
        QWidget *bar = window.get();
        sendMouse(bar, QEvent::MouseButtonPress, QPoint(15, 15), Qt::LeftButton);
        QMenu *menu = window->iconMenu();
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QStringList texts;
        for (const QAction *action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text();
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("Restore"), QStringLiteral("Move"), QStringLiteral("Size"),
                                     QStringLiteral("Minimise"), QStringLiteral("Maximise"), QStringLiteral("Close")}));
        auto *restore = menu->findChild<QAction *>(QStringLiteral("iconMenuRestore"));
        auto *maximise = menu->findChild<QAction *>(QStringLiteral("iconMenuMaximize"));
        QVERIFY(!restore->isEnabled());
        maximise->trigger();
        menu->hide();
        QVERIFY(window->isMaximized());
        sendMouse(bar, QEvent::MouseButtonPress, QPoint(15, 15), Qt::LeftButton);
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(restore->isEnabled());
        QVERIFY(!maximise->isEnabled());
        QVERIFY(!menu->findChild<QAction *>(QStringLiteral("iconMenuMove"))->isEnabled());
        restore->trigger();
        menu->hide();
        QVERIFY(!window->isMaximized());

        // Moving by the keyboard where the platform does not move windows.
        window->move(200, 200);
        sendMouse(bar, QEvent::MouseButtonPress, QPoint(15, 15), Qt::LeftButton);
        QTRY_VERIFY(menu->isVisible());
        menu->findChild<QAction *>(QStringLiteral("iconMenuMove"))->trigger();
        menu->hide();
        QTest::keyClick(window.get(), Qt::Key_Right);
        QTest::keyClick(window.get(), Qt::Key_Down);
        QTest::keyClick(window.get(), Qt::Key_Return);
        QCOMPARE(window->pos(), QPoint(210, 210));
    }

    void fullScreenVideoCoversTheScreenWithThePage()
    {
        const auto window = openWindow();
        window->setGeometry(120, 90, 960, 640);
        const QRect before = window->geometry();
        const QSize maximum = window->maximumSize();
        QVERIFY(window->setFullScreenVideo(true));
        QVERIFY(!window->setFullScreenVideo(true));
        QVERIFY(window->isFullScreenVideo());
        const QWidget *page = window->form()->stackedWidget;
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(QRect(page->mapToGlobal(QPoint(0, 0)), page->size()), screen);
        // Full-screen geometry is never stored.
        window->writeSettings();
        QCOMPARE(store().value(QStringLiteral("MainWindow/FullScreen")).toBool(), true);
        QVERIFY(!store().contains(QStringLiteral("MainWindow/Wsize")));

        QVERIFY(window->setFullScreenVideo(false));
        QVERIFY(!window->setFullScreenVideo(false));
        QCOMPARE(window->geometry(), before);
        QCOMPARE(window->maximumSize(), maximum);
    }

    void theWindowSettingsRoundTrip()
    {
        {
            const auto window = openWindow();
            window->setGeometry(140, 110, 990, 650);
            window->close();
        }
        QCOMPARE(Settings::windowSize(), QSize(990, 650));
        QCOMPARE(store().value(QStringLiteral("Settings/Volume")).toInt(), 50);
        QCOMPARE(store().value(QStringLiteral("MainWindow/FullScreen")).toBool(), false);
        const auto window = openWindow();
        QCOMPARE(window->size(), QSize(990, 650));
        QCOMPARE(window->pos(), Settings::windowPosition(QRect()));
        // A maximised window keeps the place it is restored to.
        window->showMaximized();
        window->close();
        QCOMPARE(Settings::windowSize(), QSize(990, 650));
    }

    void closingAsksOnlyWhileDownloadsRun()
    {
        {
            // Nothing downloads: no question.
            const auto window = openWindow();
            QVERIFY(window->close());
            QVERIFY(!CMessageDialog::isShowing());
        }
        TestSupport::HttpTestServer server;
        server.route("/v", TestSupport::HttpResponse::held());
        const auto window = openWindow();
        window->downloadManager()->addLink(server.link(QStringLiteral("/v?id=1&itemTitle=clip")));
        QVERIFY(!window->downloadManager()->allFinished());

        QString asked;
        User no([&] {
            const auto dialogs = visibleDialogs<CMessageDialog>();
            if (dialogs.isEmpty())
                return false;
            for (const QLabel *label : dialogs.first()->findChildren<QLabel *>())
                asked += shownText(label);
            return clickButton(dialogs.first(), QStringLiteral("Cancel"));
        });
        QVERIFY(!window->close());
        QVERIFY(no.finished());
        QVERIFY(asked.contains(QStringLiteral("Are you sure you wish to cancel all downloads and exit?")));
        QVERIFY(window->isVisible());
        QVERIFY(!window->downloadManager()->allFinished());

        User yes([&] {
            const auto dialogs = visibleDialogs<CMessageDialog>();
            return !dialogs.isEmpty() && clickButton(dialogs.first(), QStringLiteral("Ok"));
        });
        QVERIFY(window->close());
        QVERIFY(yes.finished());
        QVERIFY(!window->isVisible());
        QVERIFY(window->downloadManager()->allFinished());
    }
};

WINDOW_TEST_MAIN(TestWindowChrome)
#include "tst_windowchrome.moc"
