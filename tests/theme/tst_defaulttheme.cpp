#include "themerequests.h"
#include "themexmlhandler.h"

#include <QFile>
#include <QIcon>
#include <QMetaEnum>
#include <QPainter>
#include <QResource>
#include <QTest>

namespace {

const QString kThemeFile = QStringLiteral(":/Theme/Resources/DefaultTheme15.xml");
const QString kImageRoot = QStringLiteral(":/Theme/");

QString stateName(int state)
{
    if (state == 0)
        return QStringLiteral("None");
    const QMetaEnum meta = QMetaEnum::fromType<CTheme::State>();
    QStringList names;
    for (int i = 0; i < meta.keyCount(); ++i) {
        if (meta.value(i) != 0 && (state & meta.value(i)) == meta.value(i))
            names << QLatin1String(meta.key(i));
    }
    return names.join(QLatin1Char('|'));
}

bool paintsSomething(CTheme::Element element, int state)
{
    QImage canvas(120, 60, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        CTheme::paint(&painter, element, state, canvas.rect());
    }
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(canvas.pixel(x, y)) != 0)
                return true;
    return false;
}

} // namespace

Q_DECLARE_METATYPE(ThemeRequest)

class TestDefaultTheme : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QResource::registerResource(QStringLiteral(TAMSEL_RESOURCE_PACKAGE), QStringLiteral("/Theme/")),
                 TAMSEL_RESOURCE_PACKAGE);
        CTheme::setCurrent(new CTheme(kThemeFile, kImageRoot, 1.0));
    }

    void cleanupTestCase() { CTheme::setCurrent(nullptr); }

    // A stop half-way (an image both mirrored and rotated, broken XML) would
    // silently drop everything after it.
    void themeFileIsReadToTheEnd()
    {
        QFile file(kThemeFile);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        CTheme scratch(QString(), kImageRoot, 1.0);
        ThemeXmlHandler handler(&scratch, kImageRoot);
        QVERIFY(handler.parse(&file));
    }

    void answersEveryRequest_data()
    {
        QTest::addColumn<ThemeRequest>("request");
        const QMetaEnum elements = QMetaEnum::fromType<CTheme::Element>();
        for (const ThemeRequest &request : themeRequests())
            QTest::addRow("%s %s (%s)", elements.valueToKey(request.element), qPrintable(stateName(request.state)),
                          request.painter)
                << request;
    }

    void answersEveryRequest()
    {
        QFETCH(ThemeRequest, request);
        switch (request.kind) {
        case ThemeRequest::Image:
            QVERIFY(!CTheme::pixmap(request.element, request.state).isNull());
            break;
        case ThemeRequest::Color:
            QVERIFY(CTheme::color(request.element, request.state).isValid());
            break;
        case ThemeRequest::Paint:
            QVERIFY(paintsSomething(request.element, request.state));
            break;
        case ThemeRequest::Icon: {
            const QSize size = CTheme::iconSize(request.element, request.state);
            QVERIFY(!size.isEmpty());
            QVERIFY(!CTheme::icon(request.element, request.state).pixmap(size, QIcon::Normal, QIcon::Off).isNull());
            break;
        }
        case ThemeRequest::Animation: {
            const int count = CTheme::animationFrameCount(request.element, request.state);
            QVERIFY(count > 0);
            for (int i = 0; i < count; ++i)
                QVERIFY(!CTheme::animationFrame(request.element, request.state, i).isNull());
            break;
        }
        }
    }

    // Loaded for a 200 % screen, every picture keeps its logical size and
    // carries twice the pixels.
    void doubleDensityKeepsLogicalSizes()
    {
        QVector<QSize> sizes;
        const QVector<ThemeRequest> requests = themeRequests();
        for (const ThemeRequest &request : requests)
            sizes << CTheme::pixmap(request.element, request.state).size();

        CTheme::setCurrent(new CTheme(kThemeFile, kImageRoot, 2.0));
        int checked = 0;
        for (int i = 0; i < requests.size(); ++i) {
            if (requests.at(i).kind != ThemeRequest::Image)
                continue;
            const QPixmap dense = CTheme::pixmap(requests.at(i).element, requests.at(i).state);
            QCOMPARE(dense.deviceIndependentSize().toSize(), sizes.at(i));
            QCOMPARE(dense.devicePixelRatio(), 2.0);
            ++checked;
        }
        CTheme::setCurrent(new CTheme(kThemeFile, kImageRoot, 1.0));
        QVERIFY(checked > 100);
    }

    void fixedImagesExist_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &path : fixedImages())
            QTest::addRow("%s", qPrintable(path)) << path;
    }

    void fixedImagesExist()
    {
        QFETCH(QString, path);
        QVERIFY(!QPixmap(path).isNull());
    }
};

QTEST_MAIN(TestDefaultTheme)
#include "tst_defaulttheme.moc"
