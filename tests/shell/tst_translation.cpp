#include "desktopentry.h"
#include "translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

class TestTranslation : public QObject
{
    Q_OBJECT

private:
    static void touch(const QString &path) { QFile f(path); QVERIFY(f.open(QIODevice::WriteOnly)); }

private Q_SLOTS:
    void chooseFile_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("expected");
        QTest::addRow("empty") << QStringList() << QStringList() << QString();
        QTest::addRow("one") << QStringList{QStringLiteral("Tamsel_de.qm")} << QStringList() << QStringLiteral("Tamsel_de.qm");
        QTest::addRow("first by name")
            << QStringList{QStringLiteral("Tamsel_fr.qm"), QStringLiteral("Tamsel_de.qm"), QStringLiteral("Tamsel_fi.qm")}
            << QStringList() << QStringLiteral("Tamsel_de.qm");
        QTest::addRow("other names ignored")
            << QStringList{QStringLiteral("Other_aa.qm"), QStringLiteral("Tamsel_de.ts"), QStringLiteral("Tamsel_pl.qm")}
            << QStringList() << QStringLiteral("Tamsel_pl.qm");
        QTest::addRow("folders ignored")
            << QStringList{QStringLiteral("Tamsel_zh.qm")} << QStringList{QStringLiteral("Tamsel_aa.qm")}
            << QStringLiteral("Tamsel_zh.qm");
    }
    void chooseFile()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString &f : files)
            touch(dir.filePath(f));
        for (const QString &f : folders)
            QVERIFY(QDir(dir.path()).mkdir(f));
        QCOMPARE(Translation::chooseFile(QDir(dir.path())), expected);
    }

    void chooseFileInMissingFolder()
    {
        QCOMPARE(Translation::chooseFile(QDir(QStringLiteral("/nonexistent/Lang"))), QString());
    }

    // With nothing in Lang: the user's language, with or without country,
    // in the user's order; English, the program's own, ends the search.
    void chooseForLanguages_data()
    {
        QTest::addColumn<QStringList>("shipped");
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("expected");
        const QStringList shipped{QStringLiteral("Tamsel_de.qm"), QStringLiteral("Tamsel_pt_BR.qm"),
                                  QStringLiteral("Tamsel_fi.qm")};
        QTest::addRow("language") << shipped << QStringList{QStringLiteral("de")} << QStringLiteral("Tamsel_de.qm");
        QTest::addRow("language of a country") << shipped << QStringList{QStringLiteral("de-AT")}
                                               << QStringLiteral("Tamsel_de.qm");
        QTest::addRow("country's own first") << shipped << QStringList{QStringLiteral("pt-BR")}
                                             << QStringLiteral("Tamsel_pt_BR.qm");
        QTest::addRow("next preferred language")
            << shipped << QStringList{QStringLiteral("sv-SE"), QStringLiteral("fi-FI")} << QStringLiteral("Tamsel_fi.qm");
        QTest::addRow("English before German stays English")
            << shipped << QStringList{QStringLiteral("en-GB"), QStringLiteral("de-DE")} << QString();
        QTest::addRow("none shipped for the language") << shipped << QStringList{QStringLiteral("ja-JP")} << QString();
        QTest::addRow("C locale") << shipped << QStringList{QStringLiteral("C")} << QString();
        QTest::addRow("nothing shipped") << QStringList() << QStringList{QStringLiteral("de")} << QString();
    }
    void chooseForLanguages()
    {
        QFETCH(QStringList, shipped);
        QFETCH(QStringList, languages);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString &f : shipped)
            touch(dir.filePath(f));
        QCOMPARE(Translation::chooseForLanguages(QDir(dir.path()), languages), expected);
    }

    void wantsDefaultFont_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("expected");
        QTest::addRow("german") << QStringLiteral("Tamsel_de.qm") << true;
        QTest::addRow("traditional chinese") << QStringLiteral("Tamsel_chi-tc.qm") << false;
        QTest::addRow("simplified chinese") << QStringLiteral("Tamsel_chi-sc.qm") << false;
        QTest::addRow("upper case is not chinese") << QStringLiteral("Tamsel_CHI-SC.qm") << true;
        QTest::addRow("none") << QString() << true;
    }
    void wantsDefaultFont()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, expected);
        QCOMPARE(Translation::wantsDefaultFont(fileName), expected);
    }

    // The shipped translation is built by the linguist tools and really translates.
    void shippedTranslationLoads()
    {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(TAMSEL_QM_DIR "/Tamsel_de.qm")));
        QCoreApplication::installTranslator(&translator);
        QCOMPARE(QCoreApplication::translate("Startup", "No skin file found. Application not started."),
                 QStringLiteral("Keine Designdatei gefunden. Die Anwendung wurde nicht gestartet."));
        QCOMPARE(QCoreApplication::translate("CVideoTransferWindow", "No ongoing tasks."),
                 QStringLiteral("Keine laufenden Aufgaben."));
        QCoreApplication::removeTranslator(&translator);
    }

    // The desktop entry the program writes carries its comment in English
    // and in the language the program runs in.
    void desktopEntryCommentInTheProgramsLanguage()
    {
        QVERIFY(!DesktopEntry::contents(QStringLiteral("/usr/bin/tamsel")).contains("Comment["));
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(TAMSEL_QM_DIR "/Tamsel_de.qm")));
        QCoreApplication::installTranslator(&translator);
        Translation::setLoadedLanguage(translator.language());
        const QByteArray entry = DesktopEntry::contents(QStringLiteral("/usr/bin/tamsel"));
        Translation::setLoadedLanguage(QString());
        QCoreApplication::removeTranslator(&translator);
        QVERIFY2(entry.contains("\nComment=Get videos onto your phone\nComment[de_DE]=Bringt Videos auf Ihr Telefon\n"),
                 entry.constData());
    }
};

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
