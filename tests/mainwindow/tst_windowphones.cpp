// The main window's phone column with folder phones: the selector rebuilt on
// device events and the memory box.

#include "windowfixture.h"

#include "catalogue.h"
#include "formats.h"

#include <QDir>

using namespace TestSupport;
using namespace WindowTest;

namespace {

QString currentSerial(const CVideoTransferWindow &window)
{
    return window.form()->comboBox_Phones->currentData().toString();
}

QStringList entryTexts(const CVideoTransferWindow &window)
{
    QStringList texts;
    for (const QAction *action : window.form()->menuSelectPhone->actions())
        texts << action->text();
    return texts;
}

bool showsDefaultPicture(const CVideoTransferWindow &window)
{
    return window.form()->phoneImage->pixmap().toImage() == CTheme::pixmap(CTheme::PhoneImage).toImage();
}

const QList<MemorySpec> s_memoryAndCard = {{QStringLiteral("Phone memory"), 256LL << 20},
                                           {QStringLiteral("Memory card"), 1LL << 30}};

} // namespace

class TestWindowPhones : public QObject
{
    Q_OBJECT

    std::unique_ptr<FolderPhones> m_phones;

private Q_SLOTS:
    void initTestCase() { QVERIFY(loadProgram()); }

    void init()
    {
        QFile::remove(Catalogue::appSettingsPath());
        Catalogue::instance().loadAppSettings(true);
        m_phones = std::make_unique<FolderPhones>();
    }

    void cleanup()
    {
        m_phones.reset();
        QDir(Catalogue::appSettingsPath()).removeRecursively();
    }

    void withoutPhoneTheSelectorAndCopyToPhoneAreOff()
    {
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        QCOMPARE(form->comboBox_Phones->count(), 0);
        QVERIFY(!form->comboBox_Phones->isEnabled());
        QVERIFY(!form->toolButton_Copy2Phone->isEnabled());
        QVERIFY(!window->hasPhoneEntries());
        QCOMPARE(plainText(form->label_MemoryCard), QString());
        QCOMPARE(plainText(form->label_MemoryAvail), QString());
        QVERIFY(showsDefaultPicture(*window));
        QVERIFY(form->menuSelectPhone->actions().isEmpty());
        // Scan results would offer copying to a phone there is not.
        form->pushButtonScanResults->click();
        QVERIFY(form->toolButton_Copy2Phone->isVisible());
        QVERIFY(!form->toolButton_Copy2Phone->isEnabled());
        QVERIFY(form->toolButton_Copy2MyCollectionFolder->isEnabled());
    }

    void aPhoneArrivingAndLeavingRebuildsTheList()
    {
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("SN-A"), QStringLiteral("Phone A"));
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox_Phones->count(), 1, 20000);
        QVERIFY(form->comboBox_Phones->isEnabled());
        QCOMPARE(form->comboBox_Phones->currentText(), QStringLiteral("Phone A"));
        QCOMPARE(entryTexts(*window), QStringList{QStringLiteral("Phone A")});
        // One memory: the phone memory, with all its space free.
        QCOMPARE(plainText(form->label_MemoryCard), QStringLiteral("Phone Memory"));
        QCOMPARE(plainText(form->label_MemoryAvail), QStringLiteral("256 MB"));
        QCOMPARE(form->label_MemoryAvail->text(), Formats::whiteText(QStringLiteral("256 MB")));
        QVERIFY(form->toolButton_Copy2Phone->isEnabled());
        QCOMPARE(Catalogue::instance().currentPhoneSerial, QStringLiteral("SN-A"));
        QCOMPARE(Catalogue::instance().selectedPhoneName, QStringLiteral("SN-A"));
        // USB is shown with its icon.
        const QSize size = CTheme::iconSize(CTheme::UsbIcon);
        QCOMPARE(form->comboBox_Phones->itemIcon(0).pixmap(size).toImage(),
                 CTheme::icon(CTheme::UsbIcon).pixmap(size).toImage());

        m_phones->removePhone(QStringLiteral("a"));
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox_Phones->count(), 0, 20000);
        QVERIFY(!form->comboBox_Phones->isEnabled());
        QVERIFY(!form->toolButton_Copy2Phone->isEnabled());
        QCOMPARE(plainText(form->label_MemoryCard), QString());
        QCOMPARE(plainText(form->label_MemoryAvail), QString());
        QVERIFY(form->menuSelectPhone->actions().isEmpty());
    }

    void theSelectedPhoneStaysAndTheBestFollowsItsRemoval()
    {
        if (TestSupport::scriptedMtp())
            QSKIP("every MTP phone is on USB");
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("SN-A"), QStringLiteral("Phone A"));
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        QCOMPARE(currentSerial(*window), QStringLiteral("SN-A"));

        // Two more arrive, the better connected one last: the first stays.
        m_phones->addPhone(QStringLiteral("b"), QStringLiteral("SN-B"), QStringLiteral("Phone B"), QStringLiteral("8"));
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox_Phones->count(), 2, 20000);
        m_phones->addPhone(QStringLiteral("c"), QStringLiteral("SN-C"), QStringLiteral("Phone C"), QStringLiteral("16"));
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox_Phones->count(), 3, 20000);
        QCOMPARE(currentSerial(*window), QStringLiteral("SN-A"));
        QCOMPARE(sorted(entryTexts(*window)),
                 (QStringList{QStringLiteral("Phone A"), QStringLiteral("Phone B"), QStringLiteral("Phone C")}));
        const int bluetooth = form->comboBox_Phones->findData(QStringLiteral("SN-B"));
        const QSize size = CTheme::iconSize(CTheme::BluetoothIcon);
        QCOMPARE(form->comboBox_Phones->itemIcon(bluetooth).pixmap(size).toImage(),
                 CTheme::icon(CTheme::BluetoothIcon).pixmap(size).toImage());

        // The selected one leaves: the USB phone beats the Bluetooth one.
        m_phones->removePhone(QStringLiteral("a"));
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox_Phones->count(), 2, 20000);
        QCOMPARE(currentSerial(*window), QStringLiteral("SN-C"));
        QCOMPARE(Catalogue::instance().currentPhoneSerial, QStringLiteral("SN-C"));

        // The phone menu selects by the entry's text.
        for (QAction *entry : form->menuSelectPhone->actions()) {
            if (entry->text() == QLatin1String("Phone B"))
                entry->trigger();
        }
        QCOMPARE(currentSerial(*window), QStringLiteral("SN-B"));
        QCOMPARE(Catalogue::instance().currentPhoneSerial, QStringLiteral("SN-B"));
    }

    void theMemoryBoxShowsTheChosenMemory()
    {
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("SN-A"), QStringLiteral("Phone A"), QStringLiteral("16"),
                           s_memoryAndCard);
        writeFile(m_phones->memoryFolder(QStringLiteral("a"), 1) + QStringLiteral("/Videos/clip.mp4"),
                  QByteArray(3 << 20, 'v'));
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        // A new phone keeps its videos on its card: the card's name and
        // free space (1 GiB less the clip), in whole megabytes.
        QCOMPARE(Catalogue::instance().memoryIndex, 1);
        QCOMPARE(plainText(form->label_MemoryCard), Catalogue::instance().memoryNames.at(1));
        QVERIFY(!plainText(form->label_MemoryCard).isEmpty());
        QCOMPARE(plainText(form->label_MemoryAvail), QStringLiteral("1021 MB"));
    }

    void withoutAProfileTheMemoryReadsError()
    {
        // The profile cannot be written where a folder is in the file's way.
        QFile::remove(Catalogue::appSettingsPath());
        QVERIFY(QDir().mkpath(Catalogue::appSettingsPath()));
        Catalogue::instance().loadAppSettings(true);
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("SN-A"), QStringLiteral("Phone A"));
        const auto window = openWindow();
        QCOMPARE(plainText(window->form()->label_MemoryCard), QStringLiteral("Error"));
    }

    void aLongMemoryTitleIsElided()
    {
        LongTranslation translation("CContextSwitcher", "Phone Memory",
                                    QStringLiteral("The phone's own memory, far too long for the box"));
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("SN-A"), QStringLiteral("Phone A"));
        const auto window = openWindow();
        QLabel *label = window->form()->label_MemoryCard;
        QVERIFY(plainText(label).startsWith(QStringLiteral("The phone")));
        QVERIFY(plainText(label).endsWith(QChar(0x2026)));
        QVERIFY(label->fontMetrics().horizontalAdvance(plainText(label)) <= label->maximumWidth());
    }
};

WINDOW_TEST_MAIN(TestWindowPhones)
#include "tst_windowphones.moc"
