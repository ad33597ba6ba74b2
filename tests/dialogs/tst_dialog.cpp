#include "aboutdialog.h"
#include "dialog.h"
#include "dialogfixture.h"
#include "splashscreen.h"
#include "tooltip.h"

#include <QBitmap>
#include <QSignalSpy>
#include <QTextEdit>

namespace {

QImage rendered(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image);
    return image;
}

void dragBy(QWidget *window, QPoint press, QPoint by)
{
    QTest::mousePress(window, Qt::LeftButton, {}, press);
    const QPoint target = press + by;
    QMouseEvent move(QEvent::MouseMove, QPointF(target), QPointF(window->mapToGlobal(target)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
    QTest::mouseRelease(window, Qt::LeftButton, {}, target);
}

// Records the balloon's height and its distance above the target line at
// each move; a repeated report of the same place counts once.
class MoveRecorder final : public QObject
{
public:
    MoveRecorder(QList<QPair<int, int>> *steps, int target) : m_steps(steps), m_target(target) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Move) {
            auto *widget = static_cast<QWidget *>(watched);
            const QPair<int, int> step(widget->height(), widget->y() - m_target);
            if (m_steps->isEmpty() || m_steps->constLast() != step)
                m_steps->append(step);
        }
        return false;
    }

private:
    QList<QPair<int, int>> *m_steps;
    int m_target;
};

} // namespace

class TestDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(loadProgramTheme()); }
    void cleanupTestCase() { CTheme::setCurrent(nullptr); }

    void frameShowsTitleAndClose()
    {
        CDialog dialog(nullptr, QStringLiteral("My collection folder:"));
        QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("My collection folder:"));
        QCOMPARE(dialog.dialogTitle(), QStringLiteral("My collection folder:"));
        dialog.setDialogTitle(QStringLiteral("Scanning root folder:"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Scanning root folder:"));
        QCOMPARE(dialog.dialogTitle(), QStringLiteral("Scanning root folder:"));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("dialogIcon"))->size(), QSize(28, 16));
        QCOMPARE(dialog.palette().color(QPalette::Inactive, QPalette::Window), QColor(Qt::white));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QAbstractButton *close = buttonNamed(&dialog, QStringLiteral("Close"));
        QVERIFY(close);
        QCOMPARE(close->toolTip(), QStringLiteral("Close"));
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        QVERIFY(clickButton(&dialog, QStringLiteral("Close")));
        QCOMPARE(rejected.count(), 1);
        QVERIFY(!dialog.isVisible());
    }

    void framePiecesJoin_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("panelHeight");
        QTest::addRow("tall bottom panel") << 0 << 48;
        QTest::addRow("small bottom panel") << 1 << 36;
    }
    void framePiecesJoin()
    {
        QFETCH(int, variant);
        QFETCH(int, panelHeight);
        CDialog dialog;
        dialog.setVariant(variant);
        QCOMPARE(dialog.bottomPanelHeight(), panelHeight);
        dialog.resize(300, 200);
        const QImage image = rendered(&dialog);
        const QColor border(0x0c, 0x0f, 0x14);
        const QColor panel(0xf1, 0xf3, 0xf6);
        // The dark border runs round the whole dialog without a gap; only
        // the bumper under the title band crosses it.
        for (int y = 0; y < image.height(); ++y) {
            if (y >= 34 && y < 37)
                continue;
            QCOMPARE(image.pixelColor(0, y), border);
            QCOMPARE(image.pixelColor(image.width() - 1, y), border);
        }
        for (int x = 0; x < image.width(); ++x)
            QVERIFY(image.pixelColor(x, 35).blue() > 150);
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(image.pixelColor(x, image.height() - 1), border);
        // Title band, bumper right under it, white body, bottom panel inside the border.
        QVERIFY(image.pixelColor(150, 17).lightness() < 80);
        QVERIFY(image.pixelColor(150, 35).blue() > 150);
        QCOMPARE(image.pixelColor(150, 100), QColor(Qt::white));
        QCOMPARE(image.pixelColor(150, 200 - 3 - panelHeight / 2), panel);
        QCOMPARE(image.pixelColor(1, 200 - 3 - panelHeight / 2).lightness() < 80, true);
        // The content stays inside the border and below the bumper.
        const QRect inside = dialog.contentFrame()->contentsRect().translated(dialog.contentFrame()->pos());
        QCOMPARE(inside.left(), 2);
        QCOMPARE(inside.top(), 37);
        QCOMPARE(dialog.height() - 1 - inside.bottom(), 3);
    }

    void dragsByTheTopBand_data()
    {
        QTest::addColumn<int>("pressY");
        QTest::addColumn<bool>("moves");
        QTest::addRow("y = 0") << 0 << true;
        QTest::addRow("y = 10") << 10 << true;
        QTest::addRow("y = 29") << 29 << true;
        QTest::addRow("y = 30") << 30 << false;
        QTest::addRow("y = 31") << 31 << false;
        QTest::addRow("body") << 120 << false;
    }
    void dragsByTheTopBand()
    {
        QFETCH(int, pressY);
        QFETCH(bool, moves);
        CDialog dialog(nullptr, QStringLiteral("Drag me"));
        dialog.resize(300, 200);
        dialog.move(100, 100);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint before = dialog.pos();
        dragBy(&dialog, QPoint(60, pressY), QPoint(40, 25));
        QCOMPARE(dialog.pos(), moves ? before + QPoint(40, 25) : before);
        // The drag ends with the release: moving on does not carry the dialog.
        const QPoint after = dialog.pos();
        QMouseEvent move(QEvent::MouseMove, QPointF(90, 90), QPointF(dialog.mapToGlobal(QPoint(90, 90))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &move);
        QCOMPARE(dialog.pos(), after);
    }

    void aboutBox()
    {
        CAboutDialog about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("programName"))->accessibleName(),
                 QStringLiteral("Orvak Tamsel"));
        QVERIFY(!about.findChild<QLabel *>(QStringLiteral("programName"))->pixmap().isNull());
        auto *version = about.findChild<QLabel *>(QStringLiteral("versionLabel"));
        QCOMPARE(version->text(), QStringLiteral("version 1.5.10"));
        QCOMPARE(version->palette().color(QPalette::WindowText), QColor(Qt::white));
        const QString notice = about.findChild<QLabel *>(QStringLiteral("legalNotice"))->text();
        for (const char *named : {"GNU General Public License, version 2 or (at your option) any later version",
                                  "FFmpeg", "Qt", "Open Sans"})
            QVERIFY2(notice.contains(QLatin1String(named)), named);
        // The notice fits: its label is as tall as its wrapped text needs.
        auto *label = about.findChild<QLabel *>(QStringLiteral("legalNotice"));
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
        QVERIFY(clickButton(&about, QStringLiteral("Close")));
        QVERIFY(!about.isVisible());

        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, Qt::Key_Return);
        QVERIFY(!about.isVisible());
    }

    void splashIsRounded()
    {
        const QPixmap picture = CTheme::pixmap(CTheme::SplashScreen);
        QVERIFY(!picture.isNull());
        CSplashScreen splash(picture);
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        const QRegion shape = splash.mask();
        const QSize size = splash.size();
        QCOMPARE(size, picture.deviceIndependentSize().toSize());
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QVERIFY(!shape.contains(QPoint(size.width() - 1, size.height() - 1)));
        QVERIFY(!shape.contains(QPoint(2, size.height() - 3)));
        QVERIFY(shape.contains(QPoint(size.width() / 2, 0)));
        QVERIFY(shape.contains(QPoint(0, size.height() / 2)));
        QVERIFY(shape.contains(QPoint(20, 20)));
        // A new size is masked anew.
        splash.resize(200, 100);
        QVERIFY(splash.mask().contains(QPoint(199, 50)));
        QVERIFY(!splash.mask().contains(QPoint(199, 0)));
    }

    void balloonSlidesUpAndStops()
    {
        QWidget anchor;
        anchor.setGeometry(100, 100, 600, 480);
        anchor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&anchor));
        const int target = anchor.mapToGlobal(QPoint(0, 0)).y() + CToolTip::kTargetDistance;
        const int left = anchor.mapToGlobal(QPoint(0, 0)).x() + 5;

        // Every place the balloon takes, with its height there, as it slides.
        QList<QPair<int, int>> steps;
        MoveRecorder recorder(&steps, target);
        CToolTip *balloon = CToolTip::showBalloon(&anchor, QSize(320, 280), QStringLiteral("Line one\nLine two"));
        auto *timer = balloon->findChild<QTimer *>();
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 25);
        QCOMPARE(balloon->windowTitle(), QStringLiteral("Tooltip"));
        QCOMPARE(balloon->width(), 320);
        QCOMPARE(balloon->height(), 2);
        QCOMPARE(balloon->pos(), QPoint(left, target + 120));
        QCOMPARE(balloon->text(), QStringLiteral("Line one\nLine two"));
        balloon->installEventFilter(&recorder);
        QTRY_VERIFY(!timer->isActive());
        QList<QPair<int, int>> expected;
        for (int tick = 1; tick <= 12; ++tick)
            expected.append({qMin(2 + 10 * tick, 102), 120 - 10 * tick});
        QCOMPARE(steps, expected);
        QCOMPARE(balloon->pos(), QPoint(left, target));
        QCOMPARE(balloon->findChild<QTextEdit *>()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        balloon->removeEventFilter(&recorder);

        // The balloon follows its dialog.
        anchor.move(anchor.pos() + QPoint(30, 20));
        QTRY_COMPARE(balloon->pos(), QPoint(left + 30, target + 20));

        // Close hides it; showing a new text slides it up again, on its own.
        QVERIFY(clickButton(balloon, QStringLiteral("Close")));
        QVERIFY(!balloon->isVisible());
        balloon->showText(QStringLiteral("First you need to select a folder.<br><br>Then another."));
        QCOMPARE(balloon->height(), 2);
        QCOMPARE(balloon->text(), QStringLiteral("First you need to select a folder.\n\nThen another."));
        QTRY_VERIFY(!timer->isActive());
        QCOMPARE(balloon->height(), 102);
        QCOMPARE(balloon->y(), target + 20);
    }
};

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
