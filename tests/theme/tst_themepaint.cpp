#include "themefixture.h"

// Painting an element into a rectangle, checked pixel by pixel. The fixture's
// slices are red 4 wide (Left), green 2 (Center), blue 6 (Right), all 10 high;
// cyan 3 high (Top), magenta 2 (Middle), gray 5 (Bottom), all 10 wide; the
// single image is yellow 8 x 6. The canvas starts white.
namespace {

const QByteArray allImages = "<image location='yellow.png'/>"
                             "<image location='red.png' position='Left'/>"
                             "<image location='green.png' position='Center'/>"
                             "<image location='blue.png' position='Right'/>"
                             "<image location='cyan.png' position='Top'/>"
                             "<image location='magenta.png' position='Middle'/>"
                             "<image location='gray.png' position='Bottom'/>";

char letter(const QColor &color)
{
    switch (color.rgb() & 0xffffff) {
    case 0xff0000: return 'r';
    case 0x00ff00: return 'g';
    case 0x0000ff: return 'b';
    case 0xffff00: return 'y';
    case 0x00ffff: return 'c';
    case 0xff00ff: return 'm';
    case 0xa0a0a4: return 'k';
    case 0xffffff: return 'w';
    default: return '?';
    }
}

struct Sample
{
    int x;
    int y;
    char expected;
};

} // namespace

Q_DECLARE_METATYPE(QVector<Sample>)

class TestThemePaint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CTheme::setCurrent(nullptr); }

    void paint_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("images");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QVector<Sample>>("samples");

        const QVector<Sample> stretched{{5, 5, 'y'}, {24, 14, 'y'}, {4, 5, 'w'}, {25, 14, 'w'}, {24, 15, 'w'}};
        QTest::addRow("Scaled/Scaled stretches the image")
            << QByteArray("mode_x='Scaled' mode_y='Scaled'") << allImages << QRect(5, 5, 20, 10) << stretched;
        QTest::addRow("no modes stretch the image") << QByteArray() << allImages << QRect(5, 5, 20, 10) << stretched;
        QTest::addRow("a config without modes draws nothing")
            << QByteArray("") << allImages << QRect(5, 5, 20, 10)
            << QVector<Sample>{{5, 5, 'w'}, {24, 14, 'w'}};
        QTest::addRow("NoPaintMode twice stretches the image")
            << QByteArray("mode_x='NoPaintMode' mode_y='NoPaintMode'") << allImages << QRect(5, 5, 20, 10)
            << stretched;
        QTest::addRow("Fixed/Fixed centres the image")
            << QByteArray("mode_x='Fixed' mode_y='Fixed'") << allImages << QRect(5, 5, 20, 10)
            << QVector<Sample>{{11, 7, 'y'}, {18, 12, 'y'}, {10, 7, 'w'}, {19, 12, 'w'}, {11, 6, 'w'}, {11, 13, 'w'}};
        QTest::addRow("Fixed/Fixed in a smaller rectangle truncates toward zero")
            << QByteArray("mode_x='Fixed' mode_y='Fixed'") << allImages << QRect(10, 10, 3, 3)
            << QVector<Sample>{{8, 9, 'y'}, {7, 9, 'w'}, {8, 8, 'w'}, {15, 14, 'y'}, {16, 14, 'w'}};

        const QVector<Sample> blank{{5, 5, 'w'}, {10, 10, 'w'}, {15, 10, 'w'}, {24, 14, 'w'}};
        for (const char *modes : {"mode_x='Flexible' mode_y='Flexible'", "mode_x='Fixed' mode_y='Scaled'",
                                  "mode_x='Scaled' mode_y='Fixed'", "mode_x='NoPaintMode' mode_y='Scaled'",
                                  "mode_x='Sideways' mode_y='Scaled'"})
            QTest::addRow("%s draws nothing", modes) << QByteArray(modes) << allImages << QRect(5, 5, 20, 10) << blank;

        QTest::addRow("Flexible/Scaled three-slice")
            << QByteArray("mode_x='Flexible' mode_y='Scaled'") << allImages << QRect(5, 5, 30, 12)
            << QVector<Sample>{{5, 5, 'r'},  {8, 16, 'r'},  {9, 10, 'g'},  {28, 10, 'g'}, {29, 10, 'b'},
                               {34, 16, 'b'}, {35, 10, 'w'}, {4, 10, 'w'},  {10, 4, 'w'},  {10, 17, 'w'}};
        QTest::addRow("narrow three-slice overlaps the ends")
            << QByteArray("mode_x='Flexible' mode_y='Scaled'") << allImages << QRect(5, 5, 8, 12)
            << QVector<Sample>{{5, 5, 'r'}, {6, 10, 'r'}, {7, 10, 'b'}, {8, 10, 'b'}, {12, 10, 'b'}, {13, 10, 'w'}};
        QTest::addRow("missing left slice counts as zero")
            << QByteArray("mode_x='Flexible' mode_y='Scaled'")
            << QByteArray("<image location='green.png' position='Center'/><image location='blue.png' position='Right'/>")
            << QRect(5, 5, 20, 10) << QVector<Sample>{{4, 8, 'w'}, {5, 8, 'g'}, {18, 8, 'g'}, {19, 8, 'b'}, {24, 8, 'b'}};
        QTest::addRow("Flexible/Fixed keeps own heights, centred")
            << QByteArray("mode_x='Flexible' mode_y='Fixed'") << allImages << QRect(5, 5, 30, 20)
            << QVector<Sample>{{5, 9, 'w'}, {5, 10, 'r'}, {5, 19, 'r'}, {5, 20, 'w'}, {20, 10, 'g'}, {30, 19, 'b'}};
        QTest::addRow("Flexible/Fixed in a low rectangle truncates toward zero")
            << QByteArray("mode_x='Flexible' mode_y='Fixed'") << allImages << QRect(5, 5, 30, 7)
            << QVector<Sample>{{5, 3, 'w'}, {5, 4, 'r'}, {5, 13, 'r'}, {5, 14, 'w'}};
        QTest::addRow("Scaled/Flexible three-slice")
            << QByteArray("mode_x='Scaled' mode_y='Flexible'") << allImages << QRect(5, 2, 12, 25)
            << QVector<Sample>{{5, 2, 'c'},   {16, 4, 'c'},  {10, 5, 'm'}, {10, 21, 'm'}, {10, 22, 'k'},
                               {10, 26, 'k'}, {10, 27, 'w'}, {17, 10, 'w'}, {4, 10, 'w'}, {10, 1, 'w'}};
        QTest::addRow("Fixed/Flexible keeps own widths, centred")
            << QByteArray("mode_x='Fixed' mode_y='Flexible'") << allImages << QRect(2, 2, 20, 25)
            << QVector<Sample>{{6, 10, 'w'}, {7, 10, 'm'}, {16, 10, 'm'}, {17, 10, 'w'}, {7, 2, 'c'}, {7, 26, 'k'}};
        QTest::addRow("short vertical three-slice overlaps the ends")
            << QByteArray("mode_x='Scaled' mode_y='Flexible'") << allImages << QRect(5, 5, 12, 6)
            << QVector<Sample>{{10, 4, 'w'}, {10, 5, 'c'}, {10, 6, 'k'}, {10, 10, 'k'}, {10, 11, 'w'}};
    }

    void paint()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, images);
        QFETCH(QRect, rect);
        QFETCH(QVector<Sample>, samples);
        ThemeFixture fixture;
        // A null config leaves the element without stored modes: its images
        // then sit in a colour block, which keys them the same way.
        const QByteArray block = config.isNull() ? QByteArray("color r='0' g='0' b='0'") : "config " + config;
        const QByteArray end = config.isNull() ? QByteArray("color") : QByteArray("config");
        QVERIFY(fixture.load("<element name='ProgressBar'><" + block + "><state type='Enabled'/>" + images + "</" +
                             end + "></element>"));

        QImage canvas(40, 30, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            CTheme::paint(&painter, CTheme::ProgressBar, CTheme::Enabled, rect);
        }
        QString actual;
        QString expected;
        for (const Sample &s : samples) {
            actual += QStringLiteral("(%1,%2)%3 ").arg(s.x).arg(s.y).arg(QLatin1Char(letter(canvas.pixelColor(s.x, s.y)))) ;
            expected += QStringLiteral("(%1,%2)%3 ").arg(s.x).arg(s.y).arg(QLatin1Char(s.expected));
        }
        QCOMPARE(actual, expected);
    }

    void otherStatesAreNotPainted()
    {
        ThemeFixture fixture;
        QVERIFY(fixture.load("<element name='ProgressBar'><config><state type='Enabled'/>" + allImages +
                             "</config></element>"));
        QImage canvas(20, 20, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            CTheme::paint(&painter, CTheme::ProgressBar, CTheme::Enabled | CTheme::RollOver, canvas.rect());
            CTheme::paint(&painter, CTheme::ProgressBar, CTheme::None, canvas.rect());
        }
        QCOMPARE(letter(canvas.pixelColor(10, 10)), 'w');
    }

    void highDensityImagesPaintAtLogicalSize()
    {
        ThemeFixture fixture;
        QVERIFY(fixture.load("<element name='SizeGrip'><config mode_x='Fixed' mode_y='Fixed'>"
                             "<image location='square.svg'/></config></element>"
                             "<element name='Menu'><config mode_x='Flexible' mode_y='Scaled'>"
                             "<image location='square.svg' position='Left'/>"
                             "<image location='square.svg' position='Right'/></config></element>",
                             2.0));
        QImage canvas(40, 30, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            CTheme::paint(&painter, CTheme::SizeGrip, CTheme::None, QRect(0, 0, 20, 10));
            CTheme::paint(&painter, CTheme::Menu, CTheme::None, QRect(0, 20, 40, 5));
        }
        // 10 x 6 logical, centred in 20 x 10: x 5..14, y 2..7.
        QCOMPARE(letter(canvas.pixelColor(5, 2)), 'g');
        QCOMPARE(letter(canvas.pixelColor(14, 7)), 'g');
        QCOMPARE(letter(canvas.pixelColor(4, 2)), 'w');
        QCOMPARE(letter(canvas.pixelColor(15, 7)), 'w');
        QCOMPARE(letter(canvas.pixelColor(5, 8)), 'w');
        // Two 10-wide ends with nothing between them.
        QCOMPARE(letter(canvas.pixelColor(9, 22)), 'g');
        QCOMPARE(letter(canvas.pixelColor(10, 22)), 'w');
        QCOMPARE(letter(canvas.pixelColor(29, 22)), 'w');
        QCOMPARE(letter(canvas.pixelColor(30, 22)), 'g');
    }
};

QTEST_MAIN(TestThemePaint)
#include "tst_themepaint.moc"
