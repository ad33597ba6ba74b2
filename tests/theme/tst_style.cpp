#include "style.h"
#include "widgetfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QToolButton>

// The application style against a theme of plain-colour images, so each
// painted pixel can be traced to the theme entry that drew it.
class TestStyle : public QObject
{
    Q_OBJECT

private:
    ThemeFixture m_fixture;
    CStyle *m_style = nullptr;

    QImage canvas(QSize size)
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        return image;
    }

private Q_SLOTS:
    void initTestCase()
    {
        saveSolid(m_fixture, QStringLiteral("white18.png"), QSize(18, 18), Qt::white);
        saveSolid(m_fixture, QStringLiteral("black18.png"), QSize(18, 18), Qt::black);
        saveSolid(m_fixture, QStringLiteral("dark.png"), QSize(6, 6), QColor(40, 40, 40));
        saveSolid(m_fixture, QStringLiteral("track.png"), QSize(12, 12), QColor(200, 200, 200));
        QVERIFY(m_fixture.load(
            "<element name='CheckBox'>"
            " <config><state type='Up'/><state type='Enabled'/><image location='red.png'/></config>"
            " <config><state type='Up'/><state type='Enabled'/><state type='Checked'/><image location='blue.png'/></config>"
            " <config><state type='Down'/><state type='Enabled'/><image location='green.png'/></config>"
            " <config><state type='Disabled'/><state type='Checked'/><image location='gray.png'/></config>"
            "</element>"
            "<element name='RadioButton'>"
            " <config><state type='Up'/><state type='Enabled'/><image location='white18.png'/></config>"
            "</element>"
            "<element name='HeaderSection'><config mode_x='Scaled' mode_y='Scaled'>"
            " <image location='white18.png'/></config>"
            " <config mode_x='Scaled' mode_y='Scaled'><state type='Selected'/><image location='yellow.png'/></config>"
            " <image location='magenta.png' position='Left'/>"
            " <config><state type='Left'/><state type='Selected'/><image location='cyan.png'/></config>"
            "</element>"
            "<element name='HeaderSectionArrow'>"
            " <config><state type='ToUp'/><state type='Selected'/><image location='blue.png'/></config>"
            " <config><state type='ToDown'/><state type='Selected'/><image location='red.png'/></config>"
            "</element>"
            "<element name='HeaderDivider'><image location='green.png'/></element>"
            "<element name='ScrollBarBackground'>"
            " <config><state type='Vertical'/><image location='track.png'/></config></element>"
            "<element name='ScrollBarUpButton'><config><state type='Vertical'/><image location='red.png'/></config>"
            " <config><state type='Vertical'/><state type='Down'/><image location='green.png'/></config></element>"
            "<element name='ScrollBarDownButton'><config><state type='Vertical'/><image location='blue.png'/></config>"
            "</element>"
            "<element name='ScrollBarSlider'><config><state type='Vertical'/>"
            " <image location='cyan.png' position='Top'/><image location='yellow.png' position='Middle'/>"
            " <image location='magenta.png' position='Bottom'/></config></element>"
            "<element name='SizeGrip'><image location='yellow.png'/></element>"
            "<element name='Menu'><image location='black18.png'/>"
            " <config mode_x='Scaled' mode_y='Scaled'><state type='RollOver'/><image location='red.png'/></config>"
            " <config mode_x='Scaled' mode_y='Scaled'><state type='Highlighted'/><image location='blue.png'/></config></element>"
            "<element name='MenuBarItem'>"
            " <config mode_x='Scaled' mode_y='Scaled'><state type='Down'/><image location='blue.png'/></config>"
            " <config mode_x='Scaled' mode_y='Scaled'><state type='RollOver'/><image location='green.png'/></config></element>"
            "<element name='ComboBoxButton'>"
            " <config mode_x='Scaled' mode_y='Scaled'><state type='Up'/><image location='gray.png'/></config>"
            " <config mode_x='Scaled' mode_y='Scaled'><state type='RollOver'/><image location='cyan.png'/></config>"
            " <config mode_x='Scaled' mode_y='Scaled'><state type='Down'/><image location='magenta.png'/></config></element>"));
        m_style = new CStyle;
    }

    void cleanupTestCase()
    {
        delete m_style;
        CTheme::setCurrent(nullptr);
    }

    void pixelMetrics_data()
    {
        QTest::addColumn<int>("metric");
        QTest::addColumn<int>("expected");
        QTest::addRow("button shift x") << int(QStyle::PM_ButtonShiftHorizontal) << 0;
        QTest::addRow("button shift y") << int(QStyle::PM_ButtonShiftVertical) << 0;
        QTest::addRow("menu h margin") << int(QStyle::PM_MenuHMargin) << 0;
        QTest::addRow("menu v margin") << int(QStyle::PM_MenuVMargin) << 0;
        QTest::addRow("menu desktop frame") << int(QStyle::PM_MenuDesktopFrameWidth) << 0;
        QTest::addRow("menu panel") << int(QStyle::PM_MenuPanelWidth) << 1;
        QTest::addRow("menu bar v margin") << int(QStyle::PM_MenuBarVMargin) << 9;
        QTest::addRow("menu bar h margin") << int(QStyle::PM_MenuBarHMargin) << 180;
        QTest::addRow("indicator w") << int(QStyle::PM_IndicatorWidth) << 18;
        QTest::addRow("indicator h") << int(QStyle::PM_IndicatorHeight) << 18;
        QTest::addRow("radio w") << int(QStyle::PM_ExclusiveIndicatorWidth) << 18;
        QTest::addRow("radio h") << int(QStyle::PM_ExclusiveIndicatorHeight) << 18;
        QTest::addRow("scroll bar from the track image") << int(QStyle::PM_ScrollBarExtent) << 12;
        QTest::addRow("size grip from its image") << int(QStyle::PM_SizeGripSize) << 8;
    }

    void pixelMetrics()
    {
        QFETCH(int, metric);
        QFETCH(int, expected);
        QCOMPARE(m_style->pixelMetric(QStyle::PixelMetric(metric)), expected);
    }

    void hintsAndRects()
    {
        QCOMPARE(m_style->styleHint(QStyle::SH_MainWindow_SpaceBelowMenuBar), 0);
        QCOMPARE(m_style->styleHint(QStyle::SH_ComboBox_PopupFrameStyle), 16);
        QStyleOptionComboBox combo;
        combo.rect = QRect(3, 4, 120, 22);
        QCOMPARE(m_style->subElementRect(QStyle::SE_ComboBoxFocusRect, &combo), combo.rect);
        QStyleOption grip;
        QCOMPARE(m_style->sizeFromContents(QStyle::CT_SizeGrip, &grip, QSize(1, 1)), QSize(8, 6));
        QStyleOptionHeader header;
        header.text = QStringLiteral("Name");
        header.fontMetrics = QFontMetrics(QApplication::font());
        QCOMPARE(m_style->sizeFromContents(QStyle::CT_HeaderSection, &header, QSize()).height(), 3);
    }

    void menuItemSizes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("contents");
        QTest::addColumn<QSize>("expected");
        const int separator = QStyleOptionMenuItem::Separator;
        const int normal = QStyleOptionMenuItem::Normal;
        const int sub = QStyleOptionMenuItem::SubMenu;
        QTest::addRow("separator") << separator << QString() << QSize(50, 20) << QSize(10, 9);
        QTest::addRow("separator with text") << separator << QStringLiteral("A long separator title")
                                             << QSize(300, 40) << QSize(10, 9);
        // 100 - 6 + 12 + 25
        QTest::addRow("plain item") << normal << QStringLiteral("Open") << QSize(100, 30) << QSize(131, 18);
        QTest::addRow("shortcut") << normal << QStringLiteral("Open\tCtrl+O") << QSize(100, 30) << QSize(143, 18);
        QTest::addRow("sub-menu") << sub << QStringLiteral("Go to") << QSize(100, 30) << QSize(143, 18);
    }

    void menuItemSizes()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(QSize, contents);
        QFETCH(QSize, expected);
        QStyleOptionMenuItem item;
        item.menuItemType = QStyleOptionMenuItem::MenuItemType(type);
        item.text = text;
        item.font = QApplication::font();
        QCOMPARE(m_style->sizeFromContents(QStyle::CT_MenuItem, &item, contents), expected);
    }

    void menuSeparatorInARealMenu()
    {
        QMenu menu;
        menu.setStyle(m_style);
        menu.addAction(QStringLiteral("First"));
        QAction *separator = menu.addSeparator();
        separator->setText(QStringLiteral("a separator with a text"));
        menu.addAction(QStringLiteral("Second"));
        menu.ensurePolished();
        menu.adjustSize();
        QCOMPARE(menu.actionGeometry(separator).height(), 9);
        QCOMPARE(menu.actionGeometry(menu.actions().constFirst()).height(), 18);
    }

    // The indicator is centred in the rectangle it is given, wherever that
    // lies, in the image of its mapped state; no image leaves it empty.
    void indicators_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("expected");
        const int check = QStyle::PE_IndicatorCheckBox;
        const int radio = QStyle::PE_IndicatorRadioButton;
        const int enabled = QStyle::State_Enabled;
        QTest::addRow("up") << check << enabled << QColor(Qt::red);
        QTest::addRow("up checked") << check << (enabled | QStyle::State_On) << QColor(Qt::blue);
        QTest::addRow("down") << check << (enabled | QStyle::State_Sunken) << QColor(Qt::green);
        QTest::addRow("disabled checked") << check << int(QStyle::State_On) << QColor(Qt::gray);
        QTest::addRow("no image: disabled") << check << 0 << QColor(Qt::transparent);
        QTest::addRow("no image: down checked") << check << (enabled | QStyle::State_Sunken | QStyle::State_On)
                                                << QColor(Qt::transparent);
        QTest::addRow("radio up") << radio << enabled << QColor(Qt::white);
    }

    void indicators()
    {
        QFETCH(int, element);
        QFETCH(int, state);
        QFETCH(QColor, expected);
        QImage image = canvas(QSize(60, 60));
        QStyleOptionButton option;
        option.rect = QRect(30, 20, 18, 18);
        option.state = QStyle::State(state);
        {
            QPainter painter(&image);
            m_style->drawPrimitive(QStyle::PrimitiveElement(element), &option, &painter);
        }
        // Images of width w are drawn from x = 30 + (18 - w) / 2.
        QCOMPARE(pixel(image, 38, 28), expected);
        QCOMPARE(pixel(image, 8, 8), QColor(Qt::transparent));
    }

    void lineEditFrameLeavesTheCornersOpen()
    {
        QImage image = canvas(QSize(20, 10));
        QStyleOptionFrame frame;
        frame.rect = QRect(0, 0, 20, 10);
        frame.lineWidth = 1;
        {
            QPainter painter(&image);
            m_style->drawPrimitive(QStyle::PE_FrameLineEdit, &frame, &painter);
        }
        const QColor grey(148, 148, 148);
        for (QPoint edge : {QPoint(1, 0), QPoint(18, 0), QPoint(0, 1), QPoint(0, 8), QPoint(19, 5), QPoint(10, 9)})
            QCOMPARE(pixel(image, edge.x(), edge.y()), grey);
        for (QPoint corner : {QPoint(0, 0), QPoint(19, 0), QPoint(0, 9), QPoint(19, 9), QPoint(10, 5)})
            QCOMPARE(pixel(image, corner.x(), corner.y()), QColor(Qt::transparent));
    }

    // The sorted section shows its Selected background and the arrow of its
    // indicator 10 pixels inside its right edge, except on "Storage".
    void headerSortArrow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("indicator");
        QTest::addColumn<QColor>("arrow");
        QTest::addRow("up") << QStringLiteral("Name") << int(QStyleOptionHeader::SortUp) << QColor(Qt::blue);
        QTest::addRow("down") << QStringLiteral("Name") << int(QStyleOptionHeader::SortDown) << QColor(Qt::red);
        QTest::addRow("storage up") << CStyle::unsortableColumnText() << int(QStyleOptionHeader::SortUp)
                                    << QColor(Qt::yellow);
        QTest::addRow("storage down") << CStyle::unsortableColumnText() << int(QStyleOptionHeader::SortDown)
                                      << QColor(Qt::yellow);
    }

    void headerSortArrow()
    {
        QFETCH(QString, text);
        QFETCH(int, indicator);
        QFETCH(QColor, arrow);
        QImage image = canvas(QSize(100, 20));
        QStyleOptionHeader header;
        header.rect = QRect(0, 0, 100, 20);
        header.text = text;
        header.sortIndicator = QStyleOptionHeader::SortIndicator(indicator);
        header.position = QStyleOptionHeader::Beginning;
        header.state = QStyle::State_Enabled;
        {
            QPainter painter(&image);
            m_style->drawControl(QStyle::CE_Header, &header, &painter);
        }
        // The arrow image (4 or 6 wide, 10 high) ends at x = 99 - 10.
        QCOMPARE(pixel(image, 88, 10), arrow);
        QCOMPARE(pixel(image, 2, 1), QColor(Qt::yellow));
        // The divider (2 wide) against the right edge.
        QCOMPARE(pixel(image, 99, 10), QColor(Qt::green));
    }

    void unsortedLastHeaderSection()
    {
        QImage image = canvas(QSize(100, 20));
        QStyleOptionHeader header;
        header.rect = QRect(0, 0, 100, 20);
        header.position = QStyleOptionHeader::End;
        {
            QPainter painter(&image);
            m_style->drawControl(QStyle::CE_Header, &header, &painter);
        }
        QCOMPARE(pixel(image, 88, 10), QColor(Qt::white));
        QCOMPARE(pixel(image, 99, 10), QColor(Qt::white));
    }

    void menuBarItem_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("background");
        QTest::addRow("pressed") << int(QStyle::State_Enabled | QStyle::State_Sunken | QStyle::State_Selected)
                                 << QColor(Qt::blue);
        QTest::addRow("under the mouse") << int(QStyle::State_Enabled | QStyle::State_Selected) << QColor(Qt::green);
        QTest::addRow("plain") << int(QStyle::State_Enabled) << QColor(Qt::transparent);
    }

    void menuBarItem()
    {
        QFETCH(int, state);
        QFETCH(QColor, background);
        QImage image = canvas(QSize(40, 20));
        QStyleOptionMenuItem item;
        item.rect = QRect(0, 0, 40, 20);
        item.state = QStyle::State(state);
        item.menuItemType = QStyleOptionMenuItem::Normal;
        {
            QPainter painter(&image);
            m_style->drawControl(QStyle::CE_MenuBarItem, &item, &painter);
        }
        QCOMPARE(pixel(image, 1, 1), background);
    }

    void menuItemBackground_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QColor>("background");
        QTest::addRow("item") << int(QStyleOptionMenuItem::Normal) << false << QColor(Qt::black);
        QTest::addRow("selected item") << int(QStyleOptionMenuItem::Normal) << true << QColor(Qt::red);
        QTest::addRow("selected sub-menu") << int(QStyleOptionMenuItem::SubMenu) << true << QColor(Qt::blue);
    }

    void menuItemBackground()
    {
        QFETCH(int, type);
        QFETCH(bool, selected);
        QFETCH(QColor, background);
        QImage image = canvas(QSize(80, 18));
        QStyleOptionMenuItem item;
        item.rect = QRect(0, 0, 80, 18);
        item.menuItemType = QStyleOptionMenuItem::MenuItemType(type);
        item.state = QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
        {
            QPainter painter(&image);
            m_style->drawControl(QStyle::CE_MenuItem, &item, &painter);
        }
        QCOMPARE(pixel(image, 1, 1), background);
    }

    void comboBoxFollowsTheMouseAndThePopup_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("expected");
        QTest::addRow("up") << int(QStyle::State_Enabled) << QColor(Qt::gray);
        QTest::addRow("hover") << int(QStyle::State_Enabled | QStyle::State_MouseOver) << QColor(Qt::cyan);
        QTest::addRow("open") << int(QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_On)
                              << QColor(Qt::magenta);
    }

    void comboBoxFollowsTheMouseAndThePopup()
    {
        QFETCH(int, state);
        QFETCH(QColor, expected);
        QComboBox combo;
        combo.resize(60, 20);
        QImage image = canvas(QSize(60, 20));
        QStyleOptionComboBox option;
        option.initFrom(&combo);
        option.state = QStyle::State(state);
        {
            QPainter painter(&image);
            m_style->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, &combo);
        }
        QCOMPARE(pixel(image, 30, 10), expected);
    }

    // Buttons at both ends, the track, and the slider from its end pieces
    // and stretched middle.
    void scrollBar()
    {
        QScrollBar bar(Qt::Vertical);
        bar.setStyle(m_style);
        bar.resize(12, 200);
        bar.setRange(0, 100);
        bar.setPageStep(100);
        bar.setValue(0);
        QImage image = renderWidget(&bar);
        QCOMPARE(pixel(image, 6, 2), QColor(Qt::red));
        QCOMPARE(pixel(image, 6, 197), QColor(Qt::blue));
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = Qt::Vertical;
        option.minimum = 0;
        option.maximum = 100;
        option.pageStep = 100;
        option.rect = bar.rect();
        const QRect thumb = m_style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
        QVERIFY(thumb.height() > 10);
        QCOMPARE(pixel(image, 6, thumb.top()), QColor(Qt::cyan));
        QCOMPARE(pixel(image, 6, thumb.top() + thumb.height() / 2), QColor(Qt::yellow));
        QCOMPARE(pixel(image, 6, thumb.bottom()), QColor(Qt::magenta));
        QCOMPARE(pixel(image, 6, thumb.bottom() + 5), QColor(200, 200, 200));
        QCOMPARE(m_style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &bar), 12);
    }

    void polishTurnsOnHover()
    {
        QComboBox combo;
        QScrollBar bar;
        QToolButton tool;
        QPushButton push;
        for (QWidget *widget : std::initializer_list<QWidget *>{&combo, &bar, &tool, &push})
            m_style->polish(widget);
        QVERIFY(combo.testAttribute(Qt::WA_Hover));
        QVERIFY(bar.testAttribute(Qt::WA_Hover));
        QVERIFY(tool.testAttribute(Qt::WA_Hover));
        QVERIFY(!push.testAttribute(Qt::WA_Hover));
    }
};

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
