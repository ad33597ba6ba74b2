// The main window's phone picture, selection size and task box, and its
// phone list when the connectivity service goes away and comes back.

#include "windowfixture.h"

#include "catalogue.h"
#include "formats.h"
#include "kelvra.h"
#include "mediaclips.h"
#include "settingsstore.h"
#include "taskmanager.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

using namespace TestSupport;
using namespace WindowTest;

namespace {

QString currentSerial(const CVideoTransferWindow &window)
{
    return window.form()->comboBox_Phones->currentData().toString();
}

bool showsDefaultPicture(const CVideoTransferWindow &window)
{
    return window.form()->phoneImage->pixmap().toImage() == CTheme::pixmap(CTheme::PhoneImage).toImage();
}

QImage filled(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// An icon file holding one PNG picture.
QByteArray iconFile(const QImage &picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    QByteArray ico(6 + 16, '\0');
    qToLittleEndian<quint16>(1, ico.data() + 2);
    qToLittleEndian<quint16>(1, ico.data() + 4);
    ico[6] = char(picture.width());
    ico[7] = char(picture.height());
    qToLittleEndian<quint16>(1, ico.data() + 10);
    qToLittleEndian<quint16>(32, ico.data() + 12);
    qToLittleEndian<quint32>(quint32(png.size()), ico.data() + 14);
    qToLittleEndian<quint32>(22, ico.data() + 18);
    return ico + png;
}

} // namespace

class TestWindowStatus : public QObject
{
    Q_OBJECT

    std::unique_ptr<FolderPhones> m_phones;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgram());
        qputenv("TAMSEL_CONVERTER_LIBRARY",
                qgetenv("TAMSEL_BIN_DIR") + "/libtamselconverter.so");
    }

    void init()
    {
        QFile::remove(Catalogue::appSettingsPath());
        Catalogue::instance().loadAppSettings(true);
        m_phones = std::make_unique<FolderPhones>();
    }

    void cleanup() { m_phones.reset(); }

    void thePhonePictureIsChosenBySize()
    {
        const auto window = openWindow();
        CPhoneImage *image = window->form()->phoneImage;
        QList<QImage> &pictures = Catalogue::instance().phonePictures;

        pictures = {filled(30, 40, Qt::red), filled(75, 217, Qt::green), filled(50, 50, Qt::blue)};
        window->contextSwitcher()->showPhonePicture();
        QCOMPARE(image->pixmap().size(), QSize(75, 217));
        QCOMPARE(image->pixmap().toImage().pixelColor(10, 200), QColor(Qt::green));
        QVERIFY(pictures.isEmpty());

        // None of the phone's size: the last, cut to the widget's height
        // from its top-left corner.
        pictures = {filled(30, 40, Qt::red), filled(90, 300, Qt::blue)};
        window->contextSwitcher()->showPhonePicture();
        QCOMPARE(image->pixmap().size(), QSize(90, image->minimumHeight()));
        QCOMPARE(image->pixmap().toImage().pixelColor(0, 0), QColor(Qt::blue));

        window->contextSwitcher()->showPhonePicture();
        QVERIFY(showsDefaultPicture(*window));
    }

    void thePhonesOwnPictureShowsAfterMyCollectionIsBuilt()
    {
        QImage picture = filled(75, 217, QColor(0x20, 0x80, 0xe0));
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("SN-A"), QStringLiteral("Phone A"), QStringLiteral("16"),
                           {{QStringLiteral("Phone memory"), 256LL << 20}},
                           QStringLiteral("[Video]\nMaxBitrate=384\nImgWallpaperSize=240,320\n"
                                          "Picture=\\\\C:\\Data\\Images\\phone.ico\n"));
        writeFile(m_phones->memoryFolder(QStringLiteral("a"), 0) + QStringLiteral("/Data/Images/phone.ico"),
                  iconFile(picture));
        const auto window = openWindow();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isCollectionBuilding(), 20000);
        QCOMPARE(window->form()->phoneImage->pixmap().size(), QSize(75, 217));
        QCOMPARE(window->form()->phoneImage->pixmap().toImage().pixelColor(37, 100), picture.pixelColor(37, 100));
    }

    void theSelectionSizeTurnsRedAboveTheFreeMemory()
    {
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("SN-A"), QStringLiteral("Phone A"));
        const auto window = openWindow();
        QLabel *label = window->form()->label_MemorySelectionSize;
        const qint64 free = Catalogue::instance().memoryFree;
        QCOMPARE(free, 256LL << 20);
        window->showSelectionSize(free, true);
        QCOMPARE(label->text(), Formats::whiteText(QStringLiteral("256.00 MB")));
        window->showSelectionSize(free + 1, true);
        QCOMPARE(label->text(), Formats::redText(QStringLiteral("256.00 MB")));
        window->showSelectionSize(free + 1, false);
        QCOMPARE(label->text(), Formats::whiteText(QStringLiteral("256.00 MB")));
        window->showSelectionSize(1023, true);
        QCOMPARE(label->text(), Formats::whiteText(QStringLiteral("1023 B")));
        window->showSelectionSize(0, true);
        QCOMPARE(label->text(), QString());
        // Changing the context empties it.
        window->showSelectionSize(1024, true);
        window->form()->pushButtonTasks->click();
        QCOMPARE(label->text(), QString());
    }

    void theServiceGoingAwayAndBackLeavesAWorkingList()
    {
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("SN-A"), QStringLiteral("Phone A"));
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        QCOMPARE(form->comboBox_Phones->count(), 1);

        touch(awayMarker());
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox_Phones->count(), 0, 20000);
        QVERIFY(!form->comboBox_Phones->isEnabled());
        QVERIFY(!form->toolButton_Copy2Phone->isEnabled());

        touch(backMarker());
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox_Phones->count(), 1, 20000);
        QCOMPARE(currentSerial(*window), QStringLiteral("SN-A"));
        QCOMPARE(plainText(form->label_MemoryAvail), QStringLiteral("256 MB"));
        // The new session hears of devices again.
        m_phones->addPhone(QStringLiteral("b"), QStringLiteral("SN-B"), QStringLiteral("Phone B"));
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox_Phones->count(), 2, 20000);
        m_phones->removePhone(QStringLiteral("a"));
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox_Phones->count(), 1, 20000);
        QCOMPARE(currentSerial(*window), QStringLiteral("SN-B"));
    }
    void theTaskBoxFollowsARealConversion()
    {
        QTemporaryDir pc;
        const QString clip = pc.filePath(QStringLiteral("holiday.avi"));
        MediaClips::ClipSpec spec;
        spec.seconds = 4;
        QString log;
        QVERIFY2(MediaClips::make(clip, spec, &log), qPrintable(log));
        Settings::setMyCollectionFolder(pc.filePath(QStringLiteral("collection")));
        QDir().mkpath(pc.filePath(QStringLiteral("collection")));

        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        QCOMPARE(plainText(form->TaskInfoLabel), QStringLiteral("No ongoing tasks."));
        QVERIFY(!form->progressBar->isVisible());

        FileItem *item = Catalogue::instance().appendScanResult();
        item->pc.setFromFile(clip);
        QCOMPARE(window->taskManager()->addTasks({item}, {}, 0), 0);
        QTRY_COMPARE_WITH_TIMEOUT(plainText(form->TaskInfoLabel), QStringLiteral("Converting holiday.avi"), 30000);
        QVERIFY(form->progressBar->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(plainText(form->TaskInfoLabel), QStringLiteral("No ongoing tasks."), 60000);
        QVERIFY(!form->progressBar->isVisible());
        // Reset: no value at all.
        QCOMPARE(form->progressBar->value(), form->progressBar->minimum() - 1);
        QVERIFY(QFileInfo::exists(pc.filePath(QStringLiteral("collection/holiday.mp4"))));
        Catalogue::instance().scanResults.clear();
    }

    void aLongFileNameIsShortenedInTheTaskBox()
    {
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        const QString name = QStringLiteral("A very long name of a video that would never fit the column.mp4");
        form->progressBar->startConversion(QStringLiteral("/videos/") + name);
        QTRY_VERIFY(plainText(form->TaskInfoLabel).startsWith(QStringLiteral("Converting A very")));
        QVERIFY(plainText(form->TaskInfoLabel).contains(QChar(0x2026)));
        QVERIFY(plainText(form->TaskInfoLabel).endsWith(QStringLiteral(".mp4")));
        QCOMPARE(form->leftColumn->width(), 200);
        form->progressBar->conversionFinished();
    }
};

WINDOW_TEST_MAIN(TestWindowStatus)
#include "tst_windowstatus.moc"
