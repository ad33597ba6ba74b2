#include "animatedscan.h"
#include "combobox.h"
#include "contextbutton.h"
#include "frame.h"
#include "panelbutton.h"
#include "phoneimage.h"
#include "progressbar.h"
#include "slider.h"
#include "style.h"
#include "vtmenubar.h"
#include "widgetfixture.h"

#include <QMimeData>
#include <QSignalSpy>

namespace {

const QColor kTrackLeft(255, 0, 0);
const QColor kTrackCenter(0, 255, 0);
const QColor kTrackRight(0, 0, 255);
const QColor kFillLeft(255, 255, 255);
const QColor kFillCenter(255, 255, 0);
const QColor kFillRight(0, 255, 255);
const QColor kNone(Qt::transparent);

class DropHandler final : public CPhoneDropHandler
{
public:
    int context = 0;
    int drops = 0;
    int currentContext() const override { return context; }
    void copySelectedScanResultsToPhone() override { ++drops; }
};

// Records the mouse events that reach the window.
class RecordingWindow final : public QWidget
{
public:
    QList<QPair<QEvent::Type, QPoint>> events;

protected:
    void mousePressEvent(QMouseEvent *e) override { events.append({e->type(), e->position().toPoint()}); }
    void mouseMoveEvent(QMouseEvent *e) override { events.append({e->type(), e->position().toPoint()}); }
    void mouseReleaseEvent(QMouseEvent *e) override { events.append({e->type(), e->position().toPoint()}); }
    void mouseDoubleClickEvent(QMouseEvent *e) override { events.append({e->type(), e->position().toPoint()}); }
};

} // namespace

class TestThemedWidgets : public QObject
{
    Q_OBJECT

private:
    ThemeFixture m_fixture;

private Q_SLOTS:
    void initTestCase()
    {
        const struct {
            const char *name;
            QSize size;
            QColor color;
        } images[] = {
            {"track-left.png", {4, 10}, kTrackLeft},   {"track-center.png", {2, 10}, kTrackCenter},
            {"track-right.png", {6, 10}, kTrackRight}, {"fill-left.png", {4, 10}, kFillLeft},
            {"fill-center.png", {2, 10}, kFillCenter}, {"fill-right.png", {6, 10}, kFillRight},
            {"knob.png", {4, 10}, QColor(10, 20, 30)}, {"panel.png", {30, 24}, QColor(90, 0, 90)},
            {"busy-track.png", {40, 8}, QColor(50, 50, 50)}, {"busy-frame.png", {10, 8}, QColor(0, 120, 255)},
        };
        for (const auto &image : images)
            saveSolid(m_fixture, QLatin1String(image.name), image.size, image.color);
    }

    void cleanup() { CTheme::setCurrent(nullptr); }

    // Background three-slice over the whole bar, the fill showing through
    // from the left edge for value / maximum of the width.
    void progressBarFill_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("filled");
        QTest::addRow("half") << 50 << 100 << 50;
        QTest::addRow("a third truncates") << 1 << 3 << 33;
        QTest::addRow("full") << 100 << 100 << 100;
        QTest::addRow("empty") << 0 << 100 << 0;
        QTest::addRow("nothing known yet") << 0 << 0 << 0;
    }

    void progressBarFill()
    {
        QFETCH(int, value);
        QFETCH(int, maximum);
        QFETCH(int, filled);
        QVERIFY(m_fixture.load(
            "<element name='ProgressBar'>"
            "<config mode_x='Flexible' mode_y='Fixed'><state type='Background'/>"
            " <image location='track-left.png' position='Left'/><image location='track-center.png' position='Center'/>"
            " <image location='track-right.png' position='Right'/></config>"
            "<config mode_x='Flexible' mode_y='Fixed'><state type='Foreground'/>"
            " <image location='fill-left.png' position='Left'/><image location='fill-center.png' position='Center'/>"
            " <image location='fill-right.png' position='Right'/></config></element>"));
        CProgressBar bar;
        bar.resize(100, 20);
        bar.setRange(0, maximum);
        bar.setValue(value);
        QCOMPARE(bar.filledWidth(), filled);
        const QImage image = renderWidget(&bar);

        // Pieces at their own height (10) centred in 20: rows 5 to 14.
        QCOMPARE(pixel(image, 50, 4), kNone);
        QCOMPARE(pixel(image, 50, 15), kNone);
        auto expected = [filled](int x) {
            const bool fill = x < filled;
            if (x < 4)
                return fill ? kFillLeft : kTrackLeft;
            if (x >= 94)
                return fill ? kFillRight : kTrackRight;
            return fill ? kFillCenter : kTrackCenter;
        };
        for (int x : {0, 3, 4, filled - 1, filled, 60, 93, 94, 99}) {
            if (x < 0 || x > 99)
                continue;
            QCOMPARE(pixel(image, x, 10), expected(x));
        }
    }

    void progressBarNarrowerThanItsEnds()
    {
        QVERIFY(m_fixture.load(
            "<element name='ProgressBar'><config mode_x='Flexible' mode_y='Fixed'><state type='Background'/>"
            " <image location='track-left.png' position='Left'/><image location='track-center.png' position='Center'/>"
            " <image location='track-right.png' position='Right'/></config></element>"));
        CProgressBar bar;
        bar.resize(8, 10);
        const QImage image = renderWidget(&bar);
        // The right end overlaps the left one; the centre gets no width.
        QCOMPARE(pixel(image, 1, 5), kTrackLeft);
        QCOMPARE(pixel(image, 2, 5), kTrackRight);
        QCOMPARE(pixel(image, 7, 5), kTrackRight);
    }

    void animatedScan()
    {
        QVERIFY(m_fixture.load("<element name='BusyBar'>"
                               "<config mode_x='Fixed' mode_y='Fixed'><state type='Background'/>"
                               " <image location='busy-track.png'/></config>"
                               "<animation><state type='Foreground'/>"
                               " <image location='busy-frame.png'/><image location='busy-frame.png'/>"
                               " <image location='busy-frame.png'/></animation></element>"));
        CAnimatedScan scan;
        scan.resize(60, 20);
        QList<int> seen;
        for (int i = 0; i < 4; ++i) {
            QMetaObject::invokeMethod(&scan, "advanceAnimation");
            seen << scan.frameIndex();
        }
        QCOMPARE(seen, QList<int>({1, 2, 0, 1}));
        const QImage image = renderWidget(&scan);
        QCOMPARE(pixel(image, 10, 10), QColor(50, 50, 50));
        QCOMPARE(pixel(image, 30, 10), QColor(0, 120, 255));
        QCOMPARE(pixel(image, 30, 2), kNone);

        scan.startAnimation(5);
        QVERIFY(scan.isAnimating());
        scan.stopAnimation();
        QVERIFY(!scan.isAnimating());
        QCOMPARE(scan.frameIndex(), 0);
    }

    void animatedScanWithoutFrames()
    {
        QVERIFY(m_fixture.load("<element name='BusyBar'><config mode_x='Fixed' mode_y='Fixed'>"
                               "<state type='Background'/><image location='busy-track.png'/></config></element>"));
        CAnimatedScan scan;
        scan.resize(60, 20);
        QMetaObject::invokeMethod(&scan, "advanceAnimation");
        QMetaObject::invokeMethod(&scan, "advanceAnimation");
        QCOMPARE(scan.frameIndex(), 0);
        const QImage image = renderWidget(&scan);
        QCOMPARE(pixel(image, 30, 10), QColor(50, 50, 50));
    }

    // The knob's place along the travel; an empty range keeps it at the start.
    void sliderIndicator_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("position");
        QTest::addColumn<QPoint>("knob");
        const int h = Qt::Horizontal;
        const int v = Qt::Vertical;
        // Horizontal bar 104 x 20, knob 4 x 10: x = 100 * f, y = 10 - 5.
        QTest::addRow("start") << h << 0 << 100 << 0 << QPoint(0, 5);
        QTest::addRow("middle") << h << 0 << 100 << 50 << QPoint(50, 5);
        QTest::addRow("end") << h << 0 << 100 << 100 << QPoint(100, 5);
        QTest::addRow("maximum equals minimum") << h << 0 << 0 << 0 << QPoint(0, 5);
        QTest::addRow("maximum equals minimum, not zero") << h << 7 << 7 << 7 << QPoint(0, 5);
        QTest::addRow("range not starting at zero") << h << 10 << 20 << 15 << QPoint(50, 5);
        // Vertical bar 20 x 104: x = 10 - 2, from the bottom y = 94 * (1 - f).
        QTest::addRow("vertical start") << v << 0 << 100 << 0 << QPoint(8, 94);
        QTest::addRow("vertical end") << v << 0 << 100 << 100 << QPoint(8, 0);
        QTest::addRow("vertical empty range") << v << 3 << 3 << 3 << QPoint(8, 94);
    }

    void sliderIndicator()
    {
        QFETCH(int, orientation);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, position);
        QFETCH(QPoint, knob);
        QVERIFY(m_fixture.load("<element name='SliderIndicator'><image location='knob.png'/></element>"));
        CSlider slider{Qt::Orientation(orientation)};
        slider.resize(orientation == Qt::Horizontal ? QSize(104, 20) : QSize(20, 104));
        slider.setRange(minimum, maximum);
        slider.setValue(position);
        QCOMPARE(slider.indicatorRect(), QRect(knob, QSize(4, 10)));
        QImage image = renderWidget(&slider);
        QCOMPARE(pixel(image, knob.x() + 1, knob.y() + 1), QColor(10, 20, 30));

        slider.setShowIndicator(false);
        image = renderWidget(&slider);
        QCOMPARE(pixel(image, knob.x() + 1, knob.y() + 1), kNone);
    }

    void sliderFill_data()
    {
        QTest::addColumn<bool>("highlighted");
        QTest::addRow("plain") << false;
        QTest::addRow("highlighted") << true;
    }

    void sliderFill()
    {
        QFETCH(bool, highlighted);
        QVERIFY(m_fixture.load(
            "<element name='Slider'>"
            "<config mode_x='Scaled' mode_y='Scaled'><state type='Background'/><state type='Horizontal'/>"
            " <image location='track-center.png'/></config>"
            "<config mode_x='Scaled' mode_y='Scaled'><state type='Foreground'/><state type='Horizontal'/>"
            " <image location='fill-center.png'/></config>"
            "<config mode_x='Scaled' mode_y='Scaled'><state type='Background'/><state type='Highlighted'/>"
            " <state type='Horizontal'/><image location='track-left.png'/></config>"
            "<config mode_x='Scaled' mode_y='Scaled'><state type='Foreground'/><state type='Highlighted'/>"
            " <state type='Horizontal'/><image location='fill-left.png'/></config></element>"));
        CSlider slider(Qt::Horizontal);
        slider.setShowIndicator(false);
        slider.setHighlighted(highlighted);
        slider.resize(100, 10);
        slider.setRange(0, 4);
        slider.setValue(1);
        const QImage image = renderWidget(&slider);
        QCOMPARE(pixel(image, 24, 5), highlighted ? kFillLeft : kFillCenter);
        QCOMPARE(pixel(image, 25, 5), highlighted ? kTrackLeft : kTrackCenter);
    }

    void panelButtonState_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("checkable");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("underMouse");
        QTest::addColumn<bool>("down");
        QTest::addColumn<bool>("highlighted");
        QTest::addColumn<int>("expected");
        using T = CTheme;
        QTest::addRow("checked toggle under the mouse")
            << true << true << true << 1 << true << false << false
            << int(T::RollOver | T::Enabled | T::Toggle | T::Medium | T::Checked);
        QTest::addRow("plain small") << true << false << false << 0 << false << false << false
                                     << int(T::Up | T::Enabled | T::Small);
        QTest::addRow("pressed large") << true << false << false << 2 << true << true << false
                                       << int(T::Down | T::Enabled | T::Large);
        QTest::addRow("highlight wins over pressed")
            << true << true << false << 1 << true << true << true << int(T::Highlighted | T::Enabled | T::Medium | T::Toggle);
        QTest::addRow("disabled wins") << false << true << true << 0 << true << true << true
                                       << int(T::Disabled | T::Small | T::Toggle | T::Checked);
    }

    void panelButtonState()
    {
        QFETCH(bool, enabled);
        QFETCH(bool, checkable);
        QFETCH(bool, checked);
        QFETCH(int, size);
        QFETCH(bool, underMouse);
        QFETCH(bool, down);
        QFETCH(bool, highlighted);
        QFETCH(int, expected);
        CPanelButton button;
        button.setEnabled(enabled);
        button.setCheckable(checkable);
        button.setChecked(checked);
        button.setSize(size);
        button.setAttribute(Qt::WA_UnderMouse, underMouse);
        button.setDown(down);
        button.setHighlighted(highlighted);
        QCOMPARE(button.themeState(), expected);
    }

    void panelButtonPaintsItsStateImage()
    {
        QVERIFY(m_fixture.load("<element name='PanelButton'>"
                               "<config mode_x='Fixed' mode_y='Fixed'><state type='RollOver'/><state type='Enabled'/>"
                               " <state type='Toggle'/><state type='Medium'/><state type='Checked'/>"
                               " <image location='panel.png'/></config>"
                               "<config mode_x='Fixed' mode_y='Fixed'><state type='Highlighted'/><state type='Enabled'/>"
                               " <state type='Toggle'/><state type='Medium'/><state type='Checked'/>"
                               " <image location='panel.png'/></config></element>"));
        // The application style draws no tool button bevel over the image.
        CStyle style;
        CPanelButton button;
        button.setStyle(&style);
        button.setCheckable(true);
        button.setChecked(true);
        button.setSize(CPanelButton::Medium);
        QCOMPARE(button.minimumSize(), QSize(30, 24));
        button.resize(40, 30);
        button.setAttribute(Qt::WA_UnderMouse);
        QImage image = renderWidget(&button);
        // 30 x 24 centred in 40 x 30: from (5, 3).
        QCOMPARE(pixel(image, 5, 3), QColor(90, 0, 90));
        QCOMPARE(pixel(image, 4, 3), kNone);

        button.setDrawBackground(false);
        image = renderWidget(&button);
        QCOMPARE(pixel(image, 5, 3), kNone);
    }

    void contextButton()
    {
        QVERIFY(m_fixture.load("<element name='ViewSelectorButton'>"
                               "<color r='1' g='2' b='3'><state type='Foreground'/></color>"
                               "<config><state type='Background'/><image location='track-left.png'/></config>"
                               "<config><state type='Highlighted'/><image location='fill-left.png'/></config>"
                               "</element>"));
        CContextButton button(QStringLiteral("Tasks"));
        button.resize(80, 24);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(button.palette().color(group, QPalette::ButtonText), QColor(1, 2, 3));
        QImage image = renderWidget(&button);
        QCOMPARE(pixel(image, 1, 1), kTrackLeft);
        button.setActive(true);
        image = renderWidget(&button);
        QCOMPARE(pixel(image, 1, 1), kFillLeft);
    }

    void frameModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<QColor>("expected");
        // 100 x 20 frame; first 4 x 10, middle 2 x 10, last 6 x 10.
        QTest::addRow("none") << 0 << QPoint(50, 10) << kNone;
        QTest::addRow("single stretches the middle") << 1 << QPoint(1, 1) << kTrackCenter;
        QTest::addRow("horizontal first") << 3 << QPoint(3, 5) << kTrackLeft;
        QTest::addRow("horizontal middle") << 3 << QPoint(50, 14) << kTrackCenter;
        QTest::addRow("horizontal last") << 3 << QPoint(94, 10) << kTrackRight;
        QTest::addRow("horizontal above the pieces") << 3 << QPoint(50, 4) << kNone;
        // Vertical: x = (100 - 4) / 2 = 48; first rows 0-9, last rows 10-19.
        QTest::addRow("vertical first") << 2 << QPoint(48, 0) << kTrackLeft;
        QTest::addRow("vertical last") << 2 << QPoint(53, 19) << kTrackRight;
        QTest::addRow("vertical beside") << 2 << QPoint(47, 5) << kNone;
    }

    void frameModes()
    {
        QFETCH(int, mode);
        QFETCH(QPoint, probe);
        QFETCH(QColor, expected);
        CFrame frame;
        frame.resize(100, 20);
        frame.setPixmaps(QPixmap(m_fixture.path(QStringLiteral("track-left.png"))),
                         QPixmap(m_fixture.path(QStringLiteral("track-center.png"))),
                         QPixmap(m_fixture.path(QStringLiteral("track-right.png"))));
        frame.setMode(mode);
        const QImage image = renderWidget(&frame);
        QCOMPARE(pixel(image, probe.x(), probe.y()), expected);
    }

    void phoneImagePicture_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<QColor>("shown");
        QTest::addRow("no phone") << false << true << kTrackLeft;
        QTest::addRow("no phone, not ready") << false << false << kTrackLeft;
        QTest::addRow("not ready") << true << false << kTrackCenter;
        QTest::addRow("phone") << true << true << kTrackRight;
    }

    void phoneImagePicture()
    {
        QFETCH(bool, present);
        QFETCH(bool, ready);
        QFETCH(QColor, shown);
        CPhoneImage image;
        image.setNoPhonePixmap(QPixmap(m_fixture.path(QStringLiteral("track-left.png"))));
        image.setNotReadyPixmap(QPixmap(m_fixture.path(QStringLiteral("track-center.png"))));
        image.setPhonePixmap(QPixmap(m_fixture.path(QStringLiteral("track-right.png"))));
        image.setPhonePresent(present);
        image.setPhoneReady(ready);
        QCOMPARE(image.pixmap().toImage().pixelColor(0, 0), shown);
    }

    // Videos dropped on the phone are taken only while Scan results is shown.
    void phoneImageDrops_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<bool>("accepted");
        QTest::addRow("my collection") << 0 << false;
        QTest::addRow("scan results") << 1 << true;
        QTest::addRow("tasks") << 2 << false;
        QTest::addRow("downloads") << 3 << false;
    }

    void phoneImageDrops()
    {
        QFETCH(int, context);
        QFETCH(bool, accepted);
        DropHandler handler;
        handler.context = context;
        CPhoneImage image;
        image.resize(50, 50);
        image.setDropHandler(&handler);
        QMimeData data;
        data.setText(QStringLiteral("clip.avi"));
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&image, &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&image, &drop);
        QCOMPARE(drop.isAccepted(), accepted);
        QCOMPARE(handler.drops, accepted ? 1 : 0);

        CPhoneImage withoutWindow;
        QDragEnterEvent refused(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&withoutWindow, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void comboBoxPadding_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::addRow("short") << 200 << QStringLiteral("Phone memory");
        QTest::addRow("empty") << 120 << QString();
        QTest::addRow("longer than the box") << 40 << QStringLiteral("A memory card with a long name");
    }

    void comboBoxPadding()
    {
        QFETCH(int, width);
        QFETCH(QString, text);
        CComboBox combo;
        combo.resize(width, 22);
        const QFontMetrics metrics(combo.font());
        const QString padded = combo.paddedText(text, metrics);
        QVERIFY(padded.startsWith(text));
        QVERIFY(padded.mid(text.size()).trimmed().isEmpty());
        const int blank = metrics.horizontalAdvance(QLatin1Char(' '));
        // Padded until less than one more blank fits beside the 31 pixels kept free.
        QVERIFY((width - metrics.horizontalAdvance(padded) - 31) / blank <= 0);
        if (padded != text)
            QVERIFY((width - metrics.horizontalAdvance(padded.chopped(1)) - 31) / blank > 0);
    }

    void comboBoxMenu()
    {
        QWidget window;
        CComboBox combo(&window);
        combo.setGeometry(10, 10, 160, 22);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        combo.showPopup();
        QVERIFY(!combo.popupMenu());

        combo.addItems({QStringLiteral("Low"), QStringLiteral("Medium"), QStringLiteral("High")});
        combo.setCurrentIndex(0);
        QSignalSpy byIndex(&combo, &QComboBox::activated);
        QSignalSpy byText(&combo, &QComboBox::textActivated);
        combo.showPopup();
        CFixedWidthMenu *menu = combo.popupMenu();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 3);
        QVERIFY(menu->sizeHint().width() >= 160);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), combo.mapToGlobal(QPoint(0, 22)));

        menu->actions().at(2)->trigger();
        QCOMPARE(combo.currentIndex(), 2);
        QCOMPARE(byIndex.size(), 1);
        QCOMPARE(byIndex.at(0).at(0).toInt(), 2);
        QCOMPARE(byText.size(), 1);
        QCOMPARE(byText.at(0).at(0).toString(), QStringLiteral("High"));

        menu->hide();
        QTRY_VERIFY(!combo.popupMenu());
    }

    // Mouse events on the menu bar away from its menus reach the window, in
    // the window's coordinates.
    void menuBarHandsMouseEventsToTheWindow()
    {
        RecordingWindow window;
        window.resize(400, 200);
        auto *bar = new CVTMenuBar(&window);
        bar->setGeometry(20, 5, 360, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(100, 10));
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(100, 10));
        QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(50, 12));
        QVERIFY(window.events.size() >= 3);
        QCOMPARE(window.events.at(0), qMakePair(QEvent::MouseButtonPress, QPoint(120, 15)));
        QCOMPARE(window.events.at(1), qMakePair(QEvent::MouseButtonRelease, QPoint(120, 15)));
        bool doubleClick = false;
        for (const auto &event : std::as_const(window.events))
            doubleClick = doubleClick || (event.first == QEvent::MouseButtonDblClick && event.second == QPoint(70, 17));
        QVERIFY(doubleClick);
    }
};

QTEST_MAIN(TestThemedWidgets)
#include "tst_themedwidgets.moc"
