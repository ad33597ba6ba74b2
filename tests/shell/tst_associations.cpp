#include "associations.h"
#include "desktopentry.h"
#include "desktoptools.h"
#include "mimeappslist.h"
#include "startargument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The desktop integration in this test's private desktop, checked with the
// desktop's own tools: desktop-file-validate reads the entry, xdg-mime says
// which program opens a type, gio starts the entry as a file manager would.
// The program registered is the real one of the build.
class TestAssociations : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_system; // the machine's installed applications, here another player only
    QProcessEnvironment m_env;
    const QString m_ours = QStringLiteral("com.orvak.Tamsel.desktop");
    const QString m_player = QStringLiteral("org.example.Player.desktop");

    static QString program() { return qEnvironmentVariable("TAMSEL_BIN_DIR") + QStringLiteral("/tamsel"); }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void writeFile(const QString &path, const QByteArray &data)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
    }

    QString queryDefault(const char *type) const { return DesktopTools::queryDefault(QLatin1String(type), m_env); }

    // What the user had before: another player opens mp4, avi and mpeg files,
    // and the file holds a comment and groups of its own.
    static QByteArray usersList()
    {
        return "# kept by hand\n"
               "[Added Associations]\n"
               "video/mp4=org.example.Player.desktop;\n"
               "\n"
               "[Default Applications]\n"
               "video/mp4=org.example.Player.desktop;\n"
               "video/x-msvideo=org.example.Player.desktop;\n"
               "video/mpeg=org.example.Player.desktop;\n"
               "\n"
               "[X-Desktop Extras]\n"
               "some=thing\n";
    }

    void verifyUsersLinesKept() const
    {
        const QByteArray list = readFile(MimeAppsList::userFilePath());
        for (const char *line : {"# kept by hand\n[Added Associations]\nvideo/mp4=org.example.Player.desktop;\n\n",
                                 "\n[X-Desktop Extras]\nsome=thing\n"})
            QVERIFY2(list.contains(line), list.constData());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(DesktopTools::writeOtherPlayer(m_system.path(), m_player));
        m_env = DesktopTools::environment(m_system.path());
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty(), "xdg-utils is not installed");
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty(),
                 "desktop-file-utils is not installed");
    }

    void init()
    {
        QFile::remove(DesktopEntry::userFilePath());
        QFile::remove(DesktopEntry::userApplicationsFolder() + QStringLiteral("/mimeinfo.cache"));
        writeFile(MimeAppsList::userFilePath(), usersList());
    }

    void nothingIsAssociatedBeforeTheFirstRun()
    {
        QVariantMap flags;
        Associations::readFlags(flags);
        QCOMPARE(flags.keys(), (QStringList{QStringLiteral("3gp"), QStringLiteral("avi"), QStringLiteral("mov"),
                                            QStringLiteral("mp4"), QStringLiteral("mpg"), QStringLiteral("wmv")}));
        for (const QVariant &flag : flags)
            QCOMPARE(flag, QVariant(false));
    }

    void firstRunHandsOver3gpMp4AndLinks()
    {
        QVERIFY(Associations::registerAtFirstRun(program()));

        const auto validate = DesktopTools::run(QStringLiteral("desktop-file-validate"), {DesktopEntry::userFilePath()}, m_env);
        QVERIFY2(validate.exitCode == 0 && validate.output.isEmpty(), validate.output.constData());
        QVERIFY(readFile(DesktopEntry::userFilePath()).contains(QByteArray("\nExec=" + program().toUtf8() + " %u\n")));

        QCOMPARE(queryDefault("video/mp4"), m_ours);
        QCOMPARE(queryDefault("video/3gpp"), m_ours);
        QCOMPARE(queryDefault("x-scheme-handler/tmk"), m_ours);
        // avi keeps the player the user had.
        QCOMPARE(queryDefault("video/x-msvideo"), m_player);
        QCOMPARE(queryDefault("video/mpeg"), m_player);
        verifyUsersLinesKept();

        // The desktop database now knows the program opens every video type.
        const QByteArray cache = readFile(DesktopEntry::userApplicationsFolder() + QStringLiteral("/mimeinfo.cache"));
        QVERIFY2(cache.contains("video/x-ms-wmv=com.orvak.Tamsel.desktop;"), cache.constData());

        QVariantMap flags;
        Associations::readFlags(flags);
        QCOMPARE(flags.value(QStringLiteral("3gp")), QVariant(true));
        QCOMPARE(flags.value(QStringLiteral("mp4")), QVariant(true));
        QCOMPARE(flags.value(QStringLiteral("avi")), QVariant(false));
        QVERIFY(Associations::isAssociated(QStringLiteral("mp4")));
        QVERIFY(!Associations::isAssociated(QStringLiteral("asx")));
    }

    void settingsApplySetsAndClearsOnlyOurs()
    {
        QVERIFY(Associations::registerAtFirstRun(program()));

        // avi and mpg on, mp4 off; wmv not offered by the dialog.
        QVERIFY(Associations::applyFlags({{QStringLiteral("3gp"), true},
                                          {QStringLiteral("avi"), true},
                                          {QStringLiteral("mov"), false},
                                          {QStringLiteral("mp4"), false},
                                          {QStringLiteral("mpg"), true},
                                          {QStringLiteral("asx"), true}},
                                         program()));
        QCOMPARE(queryDefault("video/x-msvideo"), m_ours);
        QCOMPARE(queryDefault("video/mpeg"), m_ours); // .mpg and .mpeg alike
        QCOMPARE(queryDefault("video/3gpp"), m_ours);
        // Switching mp4 off gives it back to the player that had it.
        QCOMPARE(queryDefault("video/mp4"), m_player);
        QVERIFY(!MimeAppsList::userFilePath().isEmpty());
        QVERIFY(!readFile(MimeAppsList::userFilePath()).contains("video/quicktime"));
        QVERIFY(!readFile(MimeAppsList::userFilePath()).contains("video/x-ms-wmv"));
        QCOMPARE(queryDefault("x-scheme-handler/tmk"), m_ours);
        verifyUsersLinesKept();

        // mpg off clears video/mpeg while it names the program...
        QVERIFY(Associations::applyFlags({{QStringLiteral("mpg"), false}}, program()));
        QCOMPARE(queryDefault("video/mpeg"), m_player);
        QVERIFY(!Associations::isAssociated(QStringLiteral("mpg")));

        // ...and not once the user gave it to another program.
        QVERIFY(Associations::applyFlags({{QStringLiteral("mpg"), true}}, program()));
        const auto chosen = DesktopTools::run(QStringLiteral("xdg-mime"),
                                              {QStringLiteral("default"), m_player, QStringLiteral("video/mpeg")}, m_env);
        QCOMPARE(chosen.exitCode, 0);
        QCOMPARE(queryDefault("video/mpeg"), m_player);
        const QByteArray before = readFile(MimeAppsList::userFilePath());
        QVERIFY(Associations::applyFlags({{QStringLiteral("mpg"), false}}, program()));
        QCOMPARE(readFile(MimeAppsList::userFilePath()), before);
        QCOMPARE(queryDefault("video/mpeg"), m_player);
        verifyUsersLinesKept();
    }

    // A list that cannot be read is not replaced; the entry is still written.
    void unreadableListIsNotReplaced()
    {
        QFile::remove(MimeAppsList::userFilePath());
        QVERIFY(QDir().mkpath(MimeAppsList::userFilePath()));
        QVERIFY(!Associations::registerAtFirstRun(program()));
        QVERIFY(QFileInfo(MimeAppsList::userFilePath()).isDir());
        QVERIFY(QFileInfo::exists(DesktopEntry::userFilePath()));
        QVERIFY(QDir(MimeAppsList::userFilePath()).removeRecursively());
    }

    // The program may live anywhere: its path goes into Exec quoted as the
    // desktop needs it, and the desktop starts it with the file.
    void execStartsProgramAtAnyPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("gioStartsIt");
        QTest::addRow("plain") << QStringLiteral("bin") << true;
        QTest::addRow("spaces") << QStringLiteral("My Programs/Orvak Tamsel") << true;
        QTest::addRow("quotes") << QStringLiteral("it's \"here\"") << true;
        QTest::addRow("shell characters") << QStringLiteral("a$HOME `b` (c) & d; e|f <g> ~h *?#") << true;
        QTest::addRow("backslashes") << QStringLiteral("back\\slash\\\\double") << true;
        // GLib looks for the program before it undoes the %% that a literal
        // percent sign must be written as, so it refuses this entry; the
        // validator and other desktops take it.
        QTest::addRow("percent") << QStringLiteral("100% %u %f") << false;
        QTest::addRow("non-ASCII") << QStringLiteral("Vidéos ünd 動画") << true;
    }
    void execStartsProgramAtAnyPath()
    {
        QFETCH(QString, folder);
        QFETCH(bool, gioStartsIt);
        QTemporaryDir dir;
        const QString programFolder = dir.filePath(folder);
        QVERIFY(QDir().mkpath(programFolder));
        const QString path = programFolder + QStringLiteral("/tamsel");
        const QString record = dir.filePath(QStringLiteral("arguments.txt"));
        // The stand-in program records how it was started, all at once.
        writeFile(path, "#!/bin/sh\n{ printf '%s\\n' \"$0\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \""
                            + record.toUtf8() + ".part\" && mv \"" + record.toUtf8() + ".part\" \"" + record.toUtf8()
                            + "\"\n");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QVERIFY(DesktopEntry::write(path));
        const auto validate = DesktopTools::run(QStringLiteral("desktop-file-validate"), {DesktopEntry::userFilePath()}, m_env);
        QVERIFY2(validate.exitCode == 0 && validate.output.isEmpty(), validate.output.constData());
        if (!gioStartsIt)
            return;

        const QString clip = dir.filePath(QStringLiteral("holiday clip.mp4"));
        writeFile(clip, "not really a video");
        const auto launched = DesktopTools::run(QStringLiteral("gio"), {QStringLiteral("launch"), DesktopEntry::userFilePath(), clip}, m_env);
        QVERIFY2(launched.exitCode == 0, launched.output.constData());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 20000);
        const QStringList received = QString::fromUtf8(readFile(record)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(received.size(), 2);
        QCOMPARE(received.at(0), path);
        // A desktop may pass a local file as a path or as a file: URL.
        QCOMPARE(normalizedArgument(received.at(1)), clip);
    }
};

QTEST_GUILESS_MAIN(TestAssociations)
#include "tst_associations.moc"
