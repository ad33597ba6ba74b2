#include "themefixture.h"

#include <QIcon>
#include <QToolButton>

class TestThemeButtonIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CTheme::setCurrent(nullptr); }

    // The icon follows the state asked for; the size always comes from the
    // element's plain images.
    void sizeComesFromTheStatelessImages()
    {
        ThemeFixture fixture;
        QVERIFY(fixture.load("<element name='HelpIcon'>"
                             "<config><state type='Up'/><image location='blue.png'/></config>"
                             "<config><state type='Small'/><state type='Up'/><image location='green.png'/></config>"
                             "</element>"));
        QToolButton button;
        CTheme::setButtonIcon(&button, CTheme::HelpIcon, CTheme::Small);
        QCOMPARE(button.iconSize(), QSize(6, 10));
        const QImage shown = button.icon().pixmap(QSize(2, 10)).toImage();
        QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::green));
    }

    void elementWithoutImagesClearsTheIcon()
    {
        ThemeFixture fixture;
        QVERIFY(fixture.load(QByteArray()));
        QToolButton button;
        button.setIcon(QIcon(fixture.path(QStringLiteral("red.png"))));
        CTheme::setButtonIcon(&button, CTheme::CloseIcon);
        QVERIFY(button.icon().isNull());
        QCOMPARE(button.iconSize(), QSize(0, 0));
    }
};

QTEST_MAIN(TestThemeButtonIcon)
#include "tst_themebuttonicon.moc"
