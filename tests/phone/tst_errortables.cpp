#include "apibase.h"
#include "errorcontexts.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

using namespace Orvak_API;

namespace {

const QString textA = QStringLiteral(
    "Orvak Pelmora is not installed. To be able to use Orvak Tamsel, first install Orvak Pelmora on your PC.");
const QString textB = QStringLiteral("An unknown error occurred. \n\nSee the log file for more information.");
const QString textC = QStringLiteral("The connected phone is not responding. To continue, reconnect the phone to the PC.");
const QString textH = QStringLiteral(
    "The phone memory is full. To be able to transfer files to the phone, first remove some files from the phone memory.");

int rowCount(const ErrorRow *table)
{
    int n = 0;
    while (!isEndRow(table[n]))
        ++n;
    return n;
}

// Translates every text of the tables' context into capitals, to see that
// the texts are translated when looked up, not when the tables were built.
class ShoutingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return qstrcmp(context, "API_Base") == 0 ? QString::fromUtf8(source).toUpper() : QString();
    }
    bool isEmpty() const override { return false; }
};

// A wrapper as the phone classes will be: it sets its table after start-up.
class Wrapper : public API_Base
{
public:
    using API_Base::API_Base;
};

} // namespace

class TestErrorTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableSizes()
    {
        // The library's 79 rows, then the program's own code.
        QCOMPARE(rowCount(connectivityErrorTable), 80);
        QCOMPARE(uint32_t(connectivityErrorTable[78].code), 0x80800003u);
        QCOMPARE(connectivityErrorTable[79].code, NoVideoFolderCode);
        // The media table's 19 rows, then the row for a source cut short.
        QCOMPARE(rowCount(mediaErrorTable), 20);
        // The end rows carry the unknown-error text.
        QCOMPARE(friendlyText(connectivityErrorTable[80]), textB);
        QCOMPARE(friendlyText(mediaErrorTable[20]), textB);
        // Every connectivity row repeats its code.
        for (const ErrorRow *row = connectivityErrorTable; !isEndRow(*row); ++row)
            QCOMPARE(row->secondCode, row->code);
    }

    void connectivityRows_data()
    {
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("friendly");
        QTest::addColumn<QString>("technical");
        QTest::addRow("ok") << 0x0u << QStringLiteral("Everything ok") << QStringLiteral("Everything ok");
        QTest::addRow("confirm on phone") << 0x100u << QStringLiteral("To continue, accept the operation on your phone")
                                          << QStringLiteral("Everything ok, but consider confirmation from the phone.");
        QTest::addRow("not initialised") << 0x80100004u << textA << QStringLiteral("API is not initialized");
        QTest::addRow("cancelled") << 0x80100020u << textB << QStringLiteral("Operation canceled by KelvraAPI-User");
        QTest::addRow("module missing") << 0x80100100u << textA
                                        << QStringLiteral("Needed API module was not found from the system");
        QTest::addRow("function missing") << 0x80100101u << textA
                                          << QStringLiteral("Called API function was not found from the loaded API module");
        QTest::addRow("not connected") << 0x80200000u << textC
                                       << QStringLiteral("Given phone is not connected (refresh device list)");
        QTest::addRow("all listed") << 0x80300000u << textB << QStringLiteral("All items are listed");
        QTest::addRow("memory full") << 0x80300001u << textH << QStringLiteral("Device memory full");
        QTest::addRow("not allowed 5") << 0x80400005u << textB
                                       << QStringLiteral("Not allowed to perform required operation to file in Device");
        QTest::addRow("not allowed 6, same text") << 0x80400006u << textB
                                                  << QStringLiteral("Not allowed to perform required operation to file in Device");
        QTest::addRow("folder too long") << 0x80500002u << textB
                                         << QStringLiteral("Current/Target folder max unicode character count is limited to 245 characters in the device. (245 characters includes two backslashes in begining of the path and one at the end of the path)");
        QTest::addRow("versit, last row") << 0x80800003u
                                          << QStringLiteral("An error occurred during conversion, and the selected file \n\n%1\n\ncould not be converted. \n\nSee the log file for more information.")
                                          << QStringLiteral("Failed, validation of versit data not passed, contains invalid data");
    }
    void connectivityRows()
    {
        QFETCH(uint, code);
        QFETCH(QString, friendly);
        QFETCH(QString, technical);
        const ErrorRow *row = findErrorRow(connectivityErrorTable, int32_t(code));
        QVERIFY(row);
        QCOMPARE(friendlyText(*row), friendly);
        QCOMPARE(QString::fromUtf8(row->technicalText), technical);
    }

    void clearerTexts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("friendly");
        QTest::addColumn<QString>("technical");
        QTest::addRow("cancelled") << int(0x80100020u)
                                   << QStringLiteral("The copy was cancelled. Nothing was changed on the phone or on the PC.")
                                   << QStringLiteral("Operation canceled by KelvraAPI-User");
        QTest::addRow("invalid file name")
            << int(0x80400001u)
            << QStringLiteral("The file name contains characters that cannot be used on the phone, such as < > : \" / "
                              "\\ | ? *. Rename the file and try again.")
            << QStringLiteral("File name includes invalid characters in Device or PC");
        QTest::addRow("file exists")
            << int(0x80400003u)
            << QStringLiteral("A file with the same name is already there, and it was left as it is. Rename or remove "
                              "that file, then try again.")
            << QStringLiteral("File already exists in Device or PC");
        QTest::addRow("file missing") << int(0x80400004u)
                                      << QStringLiteral("The file could not be found. It may have been moved, renamed or deleted.")
                                      << QStringLiteral("File does not exists in Device or PC");
        QTest::addRow("card out") << int(0x80500001u)
                                  << QStringLiteral("The folder is not on the phone. If it is on a memory card, check that "
                                                    "the card is in the phone.")
                                  << QStringLiteral("Current/Target folder is invalid in device (e.g MMC card removed).");
        QTest::addRow("invalid folder name")
            << int(0x80500003u)
            << QStringLiteral("The folder name contains characters that cannot be used on the phone, such as < > : \" / "
                              "\\ | ? *. Choose another folder and try again.")
            << QStringLiteral("Folder name includes invalid characters in Device or PC");
        QTest::addRow("folder missing")
            << int(0x80500005u)
            << QStringLiteral("The folder could not be found. It may have been moved, renamed or deleted.")
            << QStringLiteral("Folder not found (PC/Device)");
        QTest::addRow("no video folder")
            << int(NoVideoFolderCode)
            << QStringLiteral("The phone has no folder for videos on the selected memory, and it cannot be created "
                              "there. If that memory is a memory card, check that the card is in the phone; otherwise "
                              "choose another memory in the settings.")
            << QStringLiteral("Folder not found (PC/Device): the parent of the target folder is not in the device");
        // What the user of a phone on USB meets most: another program holding
        // it, its files not shared, the phone locked, a card that holds no
        // file of 4 GB.
        QTest::addRow("phone taken")
            << int(0x80200007u)
            << QStringLiteral("Another program on the PC is using the phone, for example a file manager showing the "
                              "phone's files. Close that program or its window for the phone, then try again.")
            << QStringLiteral("Connection removed, another application has reserved connection.");
        QTest::addRow("files not shared")
            << int(0x8020000Du)
            << QStringLiteral("The phone does not share its files with the PC. Unlock the phone, open its notification "
                              "about USB and choose \"File transfer\", then try again.")
            << QStringLiteral("Failed, target media is not active (or ready yet)");
        QTest::addRow("locked")
            << int(0x80700003u)
            << QStringLiteral("The phone is locked. Unlock the phone and try again. If its files still cannot be "
                              "reached, choose \"File transfer\" in the phone's USB notification.")
            << QStringLiteral("Failed, device rejected the operation. Device is locked.");
        QTest::addRow("too big for the card")
            << int(0x80400008u)
            << QStringLiteral("The file is 4 GB or larger, and the selected memory cannot hold files that large "
                              "(memory cards often cannot). Choose the phone memory in the settings and try again.")
            << QStringLiteral("Device rejected the operation because file size is too big");
    }
    void clearerTexts()
    {
        QFETCH(int, code);
        QFETCH(QString, friendly);
        QFETCH(QString, technical);
        Wrapper w;
        w.setErrorTable(connectivityErrorTable);
        QSignalSpy spy(&w, &API_Base::SignalErrorMessage);
        QVERIFY(!w.checkResult(code, QLatin1String(Context::CopyToPhone)));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(1).toString(), QLatin1String(Context::CopyToPhone) + QStringLiteral(": ") + technical);
        QCOMPARE(spy.at(0).at(2).toString(), friendly);
        // The library's rows stay as they are; only what the user sees is clearer.
        const ErrorRow *row = findErrorRow(connectivityErrorTable, code);
        QVERIFY(row);
        const QString ownText = friendlyText(*row);
        if (code != NoVideoFolderCode) {
            QVERIFY(ownText != friendly);
            QVERIFY(ownText == textB || ownText == textC
                    || ownText.startsWith(QStringLiteral("The operation was rejected")));
        }
        QCOMPARE(friendlyText(connectivityErrorTable, *row), friendly);
        // Translated when shown.
        ShoutingTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        QCOMPARE(friendlyText(connectivityErrorTable, *row), friendly.toUpper());
        QCoreApplication::removeTranslator(&translator);
        // The media table has codes of the same numbers with other meanings.
        QCOMPARE(friendlyText(mediaErrorTable, mediaErrorTable[1]), friendlyText(mediaErrorTable[1]));
    }

    void linkTexts()
    {
        const QString d = friendlyText(*findErrorRow(connectivityErrorTable, int32_t(0x80100023u)));
        QVERIFY(d.startsWith(QLatin1String("The connected device does not support this operation. Please contact <a href=")));
        QVERIFY(d.endsWith(QLatin1String("</a> to solve this problem.")));
        const QString i = friendlyText(*findErrorRow(connectivityErrorTable, int32_t(0x80700002u)));
        QVERIFY(i.contains(QLatin1String("refer to the phone manual or contact <a href=")));
        QVERIFY(i.endsWith(QLatin1String("</a>. \n\nSee the log file for more information.")));
    }

    void mediaRows()
    {
        const ErrorRow *first = findErrorRow(mediaErrorTable, int32_t(0x80040154u));
        QVERIFY(first);
        // Two rows share this code; the lookup finds the player's.
        QCOMPARE(QString::fromUtf8(first->technicalText),
                 QStringLiteral("Orvak Video player COM object cannot be created. Check if Orvak Pelmora installed."));
        QCOMPARE(friendlyText(*first), textA);
        const ErrorRow *busy = findErrorRow(mediaErrorTable, 1);
        QCOMPARE(uint32_t(busy->secondCode), 0x80004005u);
        QCOMPARE(QString::fromUtf8(busy->technicalText),
                 QStringLiteral("General file access problem occurred during the file open process."));
        QCOMPARE(QString::fromUtf8(findErrorRow(mediaErrorTable, 0)->technicalText), QStringLiteral("Success"));
        // The two creation rows keep their places ahead of the added row.
        QCOMPARE(int32_t(mediaErrorTable[18].code), int32_t(0x80040154u));
        const ErrorRow *truncated = findErrorRow(mediaErrorTable, 0x11);
        QVERIFY(truncated);
        QCOMPARE(truncated, &mediaErrorTable[19]);
        QCOMPARE(uint32_t(truncated->secondCode), 0x80004005u);
        QVERIFY(carriesConversionText(*truncated));
        QVERIFY(friendlyText(*truncated).contains(QLatin1String("ends before its full length")));
        QVERIFY(!findErrorRow(mediaErrorTable, 0x12));
    }

    void reportsFailure_data()
    {
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("friendly");
        QTest::addRow("known") << 0x80300001u
                               << QStringLiteral("Orvak Phone File System API: Copying file from PC to Phone: Device memory full")
                               << textH;
        QTest::addRow("unknown") << 0x80ABCDEFu
                                 << QStringLiteral("Orvak Phone File System API: Copying file from PC to Phone: Unknown reason")
                                 << textB;
    }
    void reportsFailure()
    {
        QFETCH(uint, code);
        QFETCH(QString, message);
        QFETCH(QString, friendly);
        Wrapper w;
        w.setErrorTable(connectivityErrorTable);
        QSignalSpy spy(&w, &API_Base::SignalErrorMessage);
        QVERIFY(!w.checkResult(int32_t(code), QLatin1String(Context::CopyToPhone)));
        QCOMPARE(w.lastResult(), int32_t(code));
        QCOMPARE(w.lastCode(), int32_t(code));
        QCOMPARE(w.lastMessage(), message);
        QVERIFY(!w.errorFlag()); // not marked
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("System Error"));
        QCOMPARE(spy.at(0).at(1).toString(), message);
        QCOMPARE(spy.at(0).at(2).toString(), friendly);
    }

    void successIsNotReported()
    {
        Wrapper w;
        w.setErrorTable(connectivityErrorTable);
        QSignalSpy spy(&w, &API_Base::SignalErrorMessage);
        QVERIFY(w.checkResult(0x100, QLatin1String(Context::OpenFS), true));
        QCOMPARE(w.lastMessage(), QString());
        QVERIFY(!w.errorFlag());
        // Looked up directly with lastCode 0, the message is built but not sent.
        w.setLastResult(0);
        w.setLastCode(0);
        w.reportError(QLatin1String(Context::OpenFS), false);
        QCOMPARE(w.lastMessage(), QStringLiteral("Orvak Phone File System API: Cannot access phone file system: Everything ok"));
        QCOMPARE(spy.count(), 0);
    }

    void withoutTableOnlyRecords()
    {
        Wrapper w;
        QSignalSpy spy(&w, &API_Base::SignalErrorMessage);
        QVERIFY(!w.checkResult(int32_t(0x80100100u), QLatin1String(Context::DevicesInit), true));
        QCOMPARE(uint32_t(w.lastResult()), 0x80100100u);
        QCOMPARE(uint32_t(w.lastCode()), 0x80100100u);
        QCOMPARE(w.lastMessage(), QStringLiteral("Orvak Device Mangement API: Initialization fault"));
        QVERIFY(w.errorFlag());
        QCOMPARE(spy.count(), 0);
    }

    void suppressedOnlyRecords()
    {
        Wrapper w;
        w.setErrorTable(mediaErrorTable);
        w.setSuppressErrors(true);
        QSignalSpy spy(&w, &API_Base::SignalErrorMessage);
        QVERIFY(!w.checkResult(-5, QStringLiteral("Converter")));
        QCOMPARE(w.lastMessage(), QStringLiteral("Converter"));
        QCOMPARE(spy.count(), 0);
    }

    void componentNumberIsReportedWithDetail()
    {
        // A component's own error number is signalled although the call "succeeded".
        Wrapper w;
        w.setErrorTable(mediaErrorTable);
        QSignalSpy spy(&w, &API_Base::SignalErrorMessage);
        w.setLastResult(0);
        w.setLastCode(9);
        w.reportError(QStringLiteral("Video converter"), true, QStringLiteral("/videos/holiday.avi"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(w.lastMessage(), QStringLiteral("Video converter: Conversion has been canceled."));
        QCOMPARE(spy.at(0).at(2).toString(),
                 QStringLiteral("An error occurred during conversion, and the selected file \n\n/videos/holiday.avi\n\ncould "
                                "not be converted. \n\nSee the log file for more information."));
        QVERIFY(w.errorFlag());
    }

    void translatedAtLookup()
    {
        ShoutingTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        Wrapper w;
        w.setErrorTable(connectivityErrorTable);
        QSignalSpy spy(&w, &API_Base::SignalErrorMessage);
        w.checkResult(int32_t(0x80300001u), QLatin1String(Context::CopyToPhone));
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(spy.at(0).at(2).toString(), textH.toUpper());
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("SYSTEM ERROR"));
        // The technical text is for the log and stays English.
        QVERIFY(spy.at(0).at(1).toString().endsWith(QLatin1String("Device memory full")));
    }

    void errorReceiverGetsQueuedSignal()
    {
        QObject receiver;
        QStringList got;
        API_Base::setErrorReceiver(&receiver, [&](const QString &title, const QString &message, const QString &) {
            QCOMPARE(QThread::currentThread(), receiver.thread());
            got << title << message;
        });
        QThread worker;
        worker.start();
        Wrapper *w = new Wrapper;
        w->setErrorTable(connectivityErrorTable);
        w->moveToThread(&worker);
        QMetaObject::invokeMethod(w, [w] { w->checkResult(int32_t(0x80200006u), QLatin1String(Context::GetDevices)); });
        QTRY_COMPARE_WITH_TIMEOUT(got.size(), 2, 20000);
        QCOMPARE(got.at(1), QStringLiteral("Orvak Device Mangement API: Cannot get device info: Connection to Device is lost"));
        API_Base::setErrorReceiver(nullptr, {});
        QMetaObject::invokeMethod(w, &QObject::deleteLater);
        worker.quit();
        worker.wait();
    }
};

QTEST_GUILESS_MAIN(TestErrorTables)
#include "tst_errortables.moc"
