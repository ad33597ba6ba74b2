#include "themefixture.h"

#include <QIcon>
#include <QMetaEnum>
#include <QPointer>

// Reading theme files: which entries end up under which exact keys.
namespace {

int stateOf(const QString &text)
{
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber)
        return number;
    return QMetaEnum::fromType<CTheme::State>().keysToValue(text.toLatin1().constData());
}

CTheme::Element elementOf(const QString &text)
{
    return CTheme::Element(QMetaEnum::fromType<CTheme::Element>().keyToValue(text.toLatin1().constData()));
}

QString describe(const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return QStringLiteral("none");
    const QImage image = pixmap.toImage();
    return QStringLiteral("%1x%2 %3").arg(image.width()).arg(image.height()).arg(image.pixelColor(0, 0).name());
}

QString describe(const QColor &color)
{
    return color.isValid() ? color.name(QColor::HexArgb) : QStringLiteral("invalid");
}

// "image Menu Enabled|RollOver", "color Menu None", "modes Menu None", "frames BusyBar Foreground".
QString query(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(' '));
    const QString &kind = parts.at(0);
    const CTheme::Element element = elementOf(parts.at(1));
    const int state = stateOf(parts.at(2));
    if (kind == QLatin1String("image"))
        return describe(CTheme::pixmap(element, state));
    if (kind == QLatin1String("color"))
        return describe(CTheme::color(element, state));
    if (kind == QLatin1String("modes")) {
        const CTheme::PaintModes modes = CTheme::paintModes(element, state);
        return QStringLiteral("%1,%2").arg(modes.x).arg(modes.y);
    }
    QStringList frames;
    for (int i = 0; i < CTheme::animationFrameCount(element, state); ++i)
        frames << describe(CTheme::animationFrame(element, state, i));
    return frames.isEmpty() ? QStringLiteral("no frames") : frames.join(QStringLiteral("; "));
}

const char *const red = "4x10 #ff0000";
const char *const green = "2x10 #00ff00";
const char *const blue = "6x10 #0000ff";
const char *const none = "none";

QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}

} // namespace

class TestThemeFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CTheme::setCurrent(nullptr); }

    void entries_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("queries");
        QTest::addColumn<QStringList>("expected");

        QTest::addRow("keys are exact")
            << QByteArray("<element name='PanelButton'><config mode_x='Fixed' mode_y='Fixed'>"
                          "<state type='Enabled'/><state type='RollOver'/><image location='red.png'/>"
                          "</config></element>")
            << strings({"image PanelButton Enabled|RollOver", "image PanelButton Enabled",
                           "image PanelButton RollOver", "image PanelButton None", "modes PanelButton Enabled|RollOver",
                           "modes PanelButton Enabled"})
            << strings({red, none, none, none, "1,1", "0,0"});
        QTest::addRow("element names in any case")
            << QByteArray("<ELEMENT name='Menu'><Color r='1' g='2' b='3'/><CONFIG mode_x='Scaled' mode_y='Flexible'/>"
                          "<Image location='red.png'/></ELEMENT>")
            << strings({"color Menu None", "modes Menu None", "image Menu None"})
            << strings({"#ff010203", "3,2", red});
        QTest::addRow("attribute names are case-sensitive")
            << QByteArray("<element NAME='Menu'><color R='9' g='2' b='3'/></element>"
                          "<element name='Slider'><image LOCATION='red.png'/></element>")
            << strings({"color Menu None", "color NoElement None", "color -1 None", "image Slider None"})
            << strings({"invalid", "invalid", "#ff000203", none});
        QTest::addRow("attribute values are case-sensitive")
            << QByteArray("<element name='menu'><color r='1' g='1' b='1'/></element>"
                          "<element name='Slider'><config mode_x='scaled' mode_y='Fixed'/>"
                          "<color r='5' g='5' b='5'><state type='enabled'/></color>"
                          "<image location='red.png' mirror_horizontal='True'/></element>")
            << strings({"color Menu None", "modes Slider None", "color Slider Enabled", "color Slider -1",
                           "image Slider None"})
            << strings({"invalid", "-1,1", "invalid", "#ff050505", red});
        QTest::addRow("colour alpha")
            << QByteArray("<element name='MenuItemText'><color r='10' g='20' b='30'/>"
                          "<color r='10' g='20' b='30' a='0'><state type='Disabled'/></color>"
                          "<color r='10' g='20' b='30' a=''><state type='Highlighted'/></color>"
                          "<color r='300' g='20' b='30'><state type='Selected'/></color>"
                          "<color r='x' g='20' b='30' a='128'><state type='Down'/></color></element>")
            << strings({"color MenuItemText None", "color MenuItemText Disabled", "color MenuItemText Highlighted",
                           "color MenuItemText Selected", "color MenuItemText Down"})
            << strings({"#ff0a141e", "#000a141e", "#ff0a141e", "invalid", "#8000141e"});
        QTest::addRow("state after an image keys only the modes")
            << QByteArray("<element name='HeaderSection'><config mode_x='Flexible' mode_y='Scaled'>"
                          "<state type='Enabled'/><image location='red.png' position='Left'/>"
                          "<state type='RollOver'/></config></element>")
            << strings({"image HeaderSection Enabled|Left", "image HeaderSection Enabled|RollOver|Left",
                           "modes HeaderSection Enabled|RollOver", "modes HeaderSection Enabled"})
            << strings({red, none, "2,3", "0,0"});
        QTest::addRow("images directly in an element")
            << QByteArray("<element name='Dialog'><image location='red.png' position='Top'/>"
                          "<state type='Enabled'/><image location='green.png'/></element>")
            << strings({"image Dialog Top", "image Dialog None", "image Dialog Enabled"})
            << strings({red, green, none});
        QTest::addRow("state children of an image add to its position")
            << QByteArray("<element name='ScrollBarSlider'><config mode_x='Fixed' mode_y='Fixed'>"
                          "<state type='Vertical'/><image location='blue.png' position='Top'>"
                          "<state type='Down'/></image></config></element>")
            << strings({"image ScrollBarSlider Vertical|Top|Down", "image ScrollBarSlider Vertical|Top"})
            << strings({blue, none});
        QTest::addRow("a later entry replaces an earlier one")
            << QByteArray("<element name='SizeGrip'><image location='red.png'/><color r='1' g='1' b='1'/>"
                          "<config mode_x='Fixed' mode_y='Fixed'/></element>"
                          "<element name='SizeGrip'><image location='green.png'/><color r='2' g='2' b='2'/>"
                          "<config mode_x='Scaled' mode_y='Scaled'/></element>")
            << strings({"image SizeGrip None", "color SizeGrip None", "modes SizeGrip None"})
            << strings({green, "#ff020202", "3,3"});
        QTest::addRow("a state name is one key")
            << QByteArray("<element name='CheckBox'><color r='7' g='7' b='7'><state type='Up|Enabled'/></color>"
                          "<color r='8' g='8' b='8'><state type='CTheme::Up'/><state type=''/></color>"
                          "<color r='9' g='9' b='9'><state/></color></element>")
            << strings({"color CheckBox Up|Enabled", "color CheckBox Up", "color CheckBox -1"})
            << strings({"invalid", "invalid", "#ff090909"});
        QTest::addRow("unknown and missing names")
            << QByteArray("<element name='Nonsense'><color r='1' g='1' b='1'/></element>"
                          "<element><color r='2' g='2' b='2'/></element>"
                          "<element name='Menu'><config mode_x='Sideways'/></element>")
            << strings({"color NoElement None", "color -1 None", "modes Menu None"})
            << strings({"invalid", "#ff020202", "-1,-1"});
        QTest::addRow("state outside a block is ignored")
            << QByteArray("<element name='ToolTip'><state type='Enabled'/><color r='3' g='3' b='3'/></element>")
            << strings({"color ToolTip None", "color ToolTip Enabled"}) << strings({"#ff030303", "invalid"});
        QTest::addRow("each block starts from no state")
            << QByteArray("<element name='Menu'><color r='1' g='1' b='1'><state type='RollOver'/></color>"
                          "<color r='2' g='2' b='2'/><animation><state type='Foreground'/></animation>"
                          "<image location='red.png'/></element>")
            << strings({"color Menu RollOver", "color Menu None", "image Menu None"})
            << strings({"#ff010101", "#ff020202", red});
        QTest::addRow("unknown elements are skipped, their children read")
            << QByteArray("<group><element name='Menu'><wrapper><color r='4' g='4' b='4'/></wrapper></element></group>")
            << strings({"color Menu None"}) << strings({"#ff040404"});
        QTest::addRow("missing image file stores nothing visible")
            << QByteArray("<element name='Menu'><image location='missing.png'/><image/></element>")
            << strings({"image Menu None"}) << strings({none});
        QTest::addRow("animation frames in file order, never rotated")
            << QByteArray("<element name='BusyBar'><animation><state type='Foreground'/>"
                          "<image location='red.png' rotation='90'/><image location='green.png'/>"
                          "<image location='blue.png' rotation='90' mirror_vertical='true'/></animation>"
                          "<image location='yellow.png' position='Background'/></element>")
            << strings({"frames BusyBar Foreground", "frames BusyBar None", "image BusyBar Background"})
            << strings({"4x10 #ff0000; 2x10 #00ff00; 6x10 #0000ff", "no frames", "8x6 #ffff00"});
        QTest::addRow("rotation with mirroring stops reading")
            << QByteArray("<element name='Menu'><image location='red.png'/></element>"
                          "<element name='Slider'><image location='green.png' position='Left'/>"
                          "<image location='blue.png' position='Right' rotation='90' mirror_horizontal='true'/>"
                          "<color r='1' g='1' b='1'/></element>"
                          "<element name='SizeGrip'><image location='red.png'/></element>")
            << strings({"image Menu None", "image Slider Left", "image Slider Right", "color Slider None",
                           "image SizeGrip None"})
            << strings({red, green, none, "invalid", none});
        QTest::addRow("a broken document keeps what came before")
            << QByteArray("<element name='Menu'><image location='red.png'/></element>"
                          "<element name='Slider'><color r='1' g='1' b='1'/></element>"
                          "<element name='SizeGrip'><image location='green.png'/></elem></element>")
            << strings({"image Menu None", "color Slider None", "image SizeGrip None"})
            << strings({red, "#ff010101", green});
    }

    void entries()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QStringList, queries);
        QFETCH(QStringList, expected);
        ThemeFixture fixture;
        QVERIFY(fixture.load(xml));
        QStringList actual;
        for (const QString &q : queries)
            actual << query(q);
        QCOMPARE(actual, expected);
    }

    void transforms_data()
    {
        QTest::addColumn<QByteArray>("attributes");
        QTest::addColumn<QSize>("size");
        // Colours along the top row, then down the left column.
        QTest::addColumn<QStringList>("corners");
        // marked.png is 4x2: top-left white, rest of the left half red, right half blue.
        QTest::addRow("as drawn") << QByteArray("") << QSize(4, 2)
                                  << strings({"#ffffff", "#0000ff", "#ff0000"});
        QTest::addRow("mirrored left to right") << QByteArray("mirror_horizontal='true'") << QSize(4, 2)
                                                << strings({"#0000ff", "#ffffff", "#0000ff"});
        QTest::addRow("mirrored top to bottom") << QByteArray("mirror_vertical='true'") << QSize(4, 2)
                                                << strings({"#ff0000", "#0000ff", "#ffffff"});
        QTest::addRow("mirrored both ways")
            << QByteArray("mirror_horizontal='true' mirror_vertical='true'") << QSize(4, 2)
            << strings({"#0000ff", "#ff0000", "#0000ff"});
        QTest::addRow("rotated a quarter clockwise") << QByteArray("rotation='90'") << QSize(2, 4)
                                                     << strings({"#ff0000", "#ffffff", "#0000ff"});
        QTest::addRow("rotated half") << QByteArray("rotation='180'") << QSize(4, 2)
                                      << strings({"#0000ff", "#ff0000", "#0000ff"});
        QTest::addRow("rotated a full turn") << QByteArray("rotation='360'") << QSize(4, 2)
                                             << strings({"#ffffff", "#0000ff", "#ff0000"});
        QTest::addRow("absurd rotation") << QByteArray("rotation='99999999999'") << QSize(4, 2)
                                         << strings({"#ffffff", "#0000ff", "#ff0000"});
    }

    void transforms()
    {
        QFETCH(QByteArray, attributes);
        QFETCH(QSize, size);
        QFETCH(QStringList, corners);
        ThemeFixture fixture;
        QVERIFY(fixture.load("<element name='Menu'><image location='marked.png' " + attributes + "/></element>"));
        const QImage image = CTheme::pixmap(CTheme::Menu).toImage();
        QCOMPARE(image.size(), size);
        const QStringList actual{image.pixelColor(0, 0).name(), image.pixelColor(image.width() - 1, 0).name(),
                                 image.pixelColor(0, image.height() - 1).name()};
        QCOMPARE(actual, corners);
    }

    void unreadableFileGivesEmptyTheme()
    {
        CTheme::setCurrent(new CTheme(QStringLiteral("/nonexistent/theme.xml"), QStringLiteral("/")));
        QVERIFY(CTheme::current());
        QVERIFY(CTheme::pixmap(CTheme::Menu).isNull());
        QVERIFY(!CTheme::color(CTheme::Menu).isValid());
        QCOMPARE(CTheme::animationFrameCount(CTheme::BusyBar, CTheme::Foreground), 0);
        QCOMPARE(CTheme::paintModes(CTheme::Menu), CTheme::PaintModes());
    }

    void hugeAttributeAndImageAreHarmless()
    {
        ThemeFixture fixture;
        QImage big(5000, 10, QImage::Format_ARGB32);
        big.fill(Qt::red);
        QVERIFY(big.save(fixture.path(QStringLiteral("big.png"))));
        const QByteArray longName(1 << 20, 'A');
        QVERIFY(fixture.load("<element name='" + longName + "'><image location='" + longName +
                             "'/></element><element name='Menu'><image location='big.png'/>"
                             "<color r='" + longName + "' g='1' b='1'/></element>"));
        QVERIFY(CTheme::pixmap(CTheme::Menu).isNull());
        QCOMPARE(describe(CTheme::color(CTheme::Menu)), QStringLiteral("#ff000101"));
    }

    // Files that are not what they claim: each stops reading where it breaks
    // and keeps the menu colour stored before the break.
    void hostileFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray menu = "<element name='Menu'><color r='1' g='2' b='3'/></element>";
        QTest::addRow("truncated") << "<theme>" + menu + "<element name='Slider'><color r='4' g='5'";
        QTest::addRow("entity expansion bomb")
            << "<!DOCTYPE theme [<!ENTITY a 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa'>"
               "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'><!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>"
               "<!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'><!ENTITY e '&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;'>"
               "<!ENTITY f '&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;'><!ENTITY g '&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;'>]>"
               "<theme>" + menu + "<element name='Slider'>&g;<color r='4' g='5' b='6'/></element></theme>";
        QTest::addRow("external entity") << "<!DOCTYPE theme [<!ENTITY x SYSTEM 'file:///etc/passwd'>]><theme>" + menu +
                                                "<element name='&x;'><color r='4' g='5' b='6'/></element></theme>";
        QTest::addRow("binary garbage") << "<theme>" + menu + QByteArray(20000, ' ') + QByteArray("\0\xff\xfe<<>>&&", 10) +
                                               "<element name='Slider'><color r='4' g='5' b='6'/></element></theme>";
    }

    void hostileFiles()
    {
        QFETCH(QByteArray, content);
        ThemeFixture fixture;
        const QString file = fixture.path(QStringLiteral("hostile.xml"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
        out.close();
        CTheme::setCurrent(new CTheme(file, fixture.root(), 1.0));
        QCOMPARE(describe(CTheme::color(CTheme::Menu)), QStringLiteral("#ff010203"));
        QVERIFY(!CTheme::color(CTheme::Slider).isValid());
    }

    void lookupsWithoutTheme()
    {
        QVERIFY(!CTheme::current());
        QVERIFY(CTheme::pixmap(CTheme::Menu).isNull());
        QVERIFY(CTheme::icon(CTheme::OkIcon).isNull());
        QCOMPARE(CTheme::iconSize(CTheme::OkIcon), QSize(0, 0));
        QVERIFY(CTheme::animationFrame(CTheme::BusyBar, CTheme::Foreground, 0).isNull());
    }

    void animationFrameOutOfRangeIsNull()
    {
        ThemeFixture fixture;
        QVERIFY(fixture.load("<element name='BusyBar'><animation><state type='Foreground'/>"
                             "<image location='red.png'/></animation></element>"));
        QCOMPARE(CTheme::animationFrameCount(CTheme::BusyBar, CTheme::Foreground), 1);
        QVERIFY(CTheme::animationFrame(CTheme::BusyBar, CTheme::Foreground, 1).isNull());
        QVERIFY(CTheme::animationFrame(CTheme::BusyBar, CTheme::Foreground, -1).isNull());
    }

    void setCurrentDeletesThePreviousTheme()
    {
        QPointer<CTheme> first = new CTheme(QString(), QString());
        CTheme::setCurrent(first);
        CTheme::setCurrent(first);
        QVERIFY(first);
        QCOMPARE(CTheme::current(), first.data());
        QPointer<CTheme> second = new CTheme(QString(), QString());
        CTheme::setCurrent(second);
        QVERIFY(!first);
        QCOMPARE(CTheme::current(), second.data());
        delete second;
        QVERIFY(!CTheme::current());
    }

    void icons_data()
    {
        QTest::addColumn<QByteArray>("images");
        QTest::addColumn<int>("state");
        QTest::addColumn<QSize>("size");
        // Colour of the icon's pixmap in Normal, Active, Selected and Disabled mode, off then on.
        QTest::addColumn<QStringList>("modes");
        QTest::addRow("all eight")
            << QByteArray("<state type='Up'/><image location='red.png'/></config><config><state type='RollOver'/>"
                          "<image location='green.png'/></config><config><state type='Down'/>"
                          "<image location='blue.png'/></config><config><state type='Disabled'/>"
                          "<image location='yellow.png'/></config><config><state type='Checked'/><state type='Up'/>"
                          "<image location='cyan.png'/></config><config><state type='Checked'/><state type='RollOver'/>"
                          "<image location='magenta.png'/></config><config><state type='Checked'/>"
                          "<state type='Down'/><image location='gray.png'/></config><config><state type='Checked'/>"
                          "<state type='Disabled'/><image location='red.png'/>")
            << 0 << QSize(4, 10)
            << strings({"#ff0000", "#00ff00", "#0000ff", "#ffff00", "#00ffff", "#ff00ff", "#a0a0a4", "#ff0000"});
        QTest::addRow("size from roll-over when there is no up image")
            << QByteArray("<state type='RollOver'/><image location='blue.png'/>") << 0 << QSize(6, 10)
            << strings({"", "#0000ff", "", "", "", "", "", ""});
        QTest::addRow("the state is added to every lookup")
            << QByteArray("<state type='Small'/><state type='Up'/><image location='green.png'/>") << int(CTheme::Small)
            << QSize(2, 10) << strings({"#00ff00", "", "", "", "", "", "", ""});
        QTest::addRow("checked images only give no size")
            << QByteArray("<state type='Checked'/><state type='Up'/><image location='red.png'/>") << 0 << QSize(0, 0)
            << strings({"", "", "", "", "#ff0000", "", "", ""});
    }

    void icons()
    {
        QFETCH(QByteArray, images);
        QFETCH(int, state);
        QFETCH(QSize, size);
        QFETCH(QStringList, modes);
        ThemeFixture fixture;
        QVERIFY(fixture.load("<element name='OkIcon'><config>" + images + "</config></element>"));
        QCOMPARE(CTheme::iconSize(CTheme::OkIcon, state), size);
        const QIcon icon = CTheme::icon(CTheme::OkIcon, state);
        QStringList actual;
        for (QIcon::State onOff : {QIcon::Off, QIcon::On}) {
            for (QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Selected, QIcon::Disabled}) {
                // Only the modes with an image of their own; Qt derives the others.
                const QList<QSize> sizes = icon.availableSizes(mode, onOff);
                actual << (sizes.isEmpty() ? QString()
                                           : icon.pixmap(sizes.first(), mode, onOff).toImage().pixelColor(0, 0).name());
            }
        }
        QCOMPARE(actual, modes);
    }

    void scalableImagesFollowThePixelRatio()
    {
        ThemeFixture fixture;
        QVERIFY(fixture.load("<element name='OkIcon'><config><state type='Up'/><image location='square.svg'/>"
                             "</config></element>", 2.0));
        const QPixmap image = CTheme::pixmap(CTheme::OkIcon, CTheme::Up);
        QCOMPARE(image.size(), QSize(20, 12));
        QCOMPARE(image.devicePixelRatio(), 2.0);
        QCOMPARE(CTheme::iconSize(CTheme::OkIcon), QSize(10, 6));
    }
};

QTEST_MAIN(TestThemeFile)
#include "tst_themefile.moc"
