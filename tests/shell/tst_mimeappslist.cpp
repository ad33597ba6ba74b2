#include "mimeappslist.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The mimeapps.list editor against real files: every change must leave the
// rest of the user's file exactly as it was.
class TestMimeAppsList : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path() const { return m_dir.filePath(QStringLiteral("config/mimeapps.list")); }

    void writeFile(const QByteArray &data)
    {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
    }

    QByteArray readFile() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(path());
        QDir(m_dir.filePath(QStringLiteral("config"))).removeRecursively();
    }

    // Each change is "+type" (make ours the default) or "-type" (clear ours).
    void edits_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QByteArray>("after");

        QTest::addRow("no file yet") << QByteArray() << QStringList{QStringLiteral("+video/mp4")}
                                     << QByteArray("[Default Applications]\nvideo/mp4=ours.desktop;\n");
        QTest::addRow("new entry goes after the group's last entry, comments and other groups stay")
            << QByteArray("# my associations\n"
                          "[Added Associations]\n"
                          "video/mp4=player.desktop;\n"
                          "\n"
                          "[Default Applications]\n"
                          "text/plain=editor.desktop\n"
                          "image/png = viewer.desktop;\n"
                          "\n"
                          "# browsers\n"
                          "[X-Vendor Group]\n"
                          "key=value with ; and = inside\n")
            << QStringList{QStringLiteral("+video/mp4"), QStringLiteral("+x-scheme-handler/tmk")}
            << QByteArray("# my associations\n"
                          "[Added Associations]\n"
                          "video/mp4=player.desktop;\n"
                          "\n"
                          "[Default Applications]\n"
                          "text/plain=editor.desktop\n"
                          "image/png = viewer.desktop;\n"
                          "video/mp4=ours.desktop;\n"
                          "x-scheme-handler/tmk=ours.desktop;\n"
                          "\n"
                          "# browsers\n"
                          "[X-Vendor Group]\n"
                          "key=value with ; and = inside\n");
        QTest::addRow("taking over keeps the previous default behind ours")
            << QByteArray("[Default Applications]\nvideo/mpeg=player.desktop;other.desktop;\n")
            << QStringList{QStringLiteral("+video/mpeg")}
            << QByteArray("[Default Applications]\nvideo/mpeg=ours.desktop;player.desktop;other.desktop;\n");
        QTest::addRow("clearing gives the type back to the previous default")
            << QByteArray("[Default Applications]\nvideo/mpeg=ours.desktop;player.desktop;\n")
            << QStringList{QStringLiteral("-video/mpeg")}
            << QByteArray("[Default Applications]\nvideo/mpeg=player.desktop;\n");
        QTest::addRow("clearing the only default removes the entry")
            << QByteArray("[Default Applications]\nvideo/3gpp=ours.desktop;\nvideo/mp4=player.desktop;\n")
            << QStringList{QStringLiteral("-video/3gpp")}
            << QByteArray("[Default Applications]\nvideo/mp4=player.desktop;\n");
        QTest::addRow("another program's default is not cleared")
            << QByteArray("[Default Applications]\nvideo/mpeg=player.desktop;ours.desktop;\n")
            << QStringList{QStringLiteral("-video/mpeg")}
            << QByteArray("[Default Applications]\nvideo/mpeg=player.desktop;ours.desktop;\n");
        QTest::addRow("already ours: the line keeps its bytes")
            << QByteArray("[Default Applications]\nvideo/mp4 = ours.desktop ; player.desktop\n")
            << QStringList{QStringLiteral("+video/mp4")}
            << QByteArray("[Default Applications]\nvideo/mp4 = ours.desktop ; player.desktop\n");
        QTest::addRow("a removed association of ours would hide the default")
            << QByteArray("[Removed Associations]\nvideo/mp4=ours.desktop;player.desktop;\nvideo/3gpp=ours.desktop;\n"
                          "[Default Applications]\nvideo/mp4=player.desktop;\n")
            << QStringList{QStringLiteral("+video/mp4"), QStringLiteral("+video/3gpp")}
            << QByteArray("[Removed Associations]\nvideo/mp4=player.desktop;\n"
                          "[Default Applications]\nvideo/mp4=ours.desktop;player.desktop;\n"
                          "video/3gpp=ours.desktop;\n");
        QTest::addRow("a type listed twice ends up listed once")
            << QByteArray("[Default Applications]\nvideo/mp4=player.desktop;\n# note\nvideo/mp4=other.desktop;\n")
            << QStringList{QStringLiteral("+video/mp4")}
            << QByteArray("[Default Applications]\nvideo/mp4=ours.desktop;player.desktop;\n# note\n");
        QTest::addRow("type names compare without case")
            << QByteArray("[Default Applications]\nVideo/MP4=ours.desktop;\n")
            << QStringList{QStringLiteral("-video/mp4")} << QByteArray("[Default Applications]\n");
        QTest::addRow("no final newline")
            << QByteArray("# only a comment") << QStringList{QStringLiteral("+video/mp4")}
            << QByteArray("# only a comment\n\n[Default Applications]\nvideo/mp4=ours.desktop;\n");
        QTest::addRow("Windows line ends stay Windows line ends")
            << QByteArray("[Default Applications]\r\ntext/plain=editor.desktop\r\n")
            << QStringList{QStringLiteral("+video/mp4")}
            << QByteArray("[Default Applications]\r\ntext/plain=editor.desktop\r\nvideo/mp4=ours.desktop;\r\n");
        QTest::addRow("entries outside the group are not ours to change")
            << QByteArray("[Added Associations]\nvideo/mp4=ours.desktop;\n")
            << QStringList{QStringLiteral("-video/mp4")}
            << QByteArray("[Added Associations]\nvideo/mp4=ours.desktop;\n");
    }
    void edits()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, changes);
        QFETCH(QByteArray, after);
        if (!before.isNull())
            writeFile(before);
        MimeAppsList list(path());
        QVERIFY(list.load());
        for (const QString &change : changes) {
            const QString type = change.mid(1);
            if (change.startsWith(QLatin1Char('+'))) {
                list.setDefault(type, QStringLiteral("ours.desktop"));
                QVERIFY(list.isDefault(type, QStringLiteral("ours.desktop")));
            } else {
                list.clearDefault(type, QStringLiteral("ours.desktop"));
                QVERIFY(!list.isDefault(type, QStringLiteral("ours.desktop")));
            }
        }
        QVERIFY2(list.save(), qPrintable(list.errorString()));
        QCOMPARE(readFile(), after);
        // What was written reads back as written.
        MimeAppsList again(path());
        QVERIFY(again.load());
        QCOMPARE(again.contents(), after);
    }

    void defaultsAsTheDesktopReadsThem()
    {
        writeFile("[Default Applications]\nvideo/mp4= a.desktop ;;b.desktop\nvideo/mpeg=\n"
                  "[Other]\nvideo/3gpp=c.desktop\n");
        MimeAppsList list(path());
        QVERIFY(list.load());
        QCOMPARE(list.defaultApplications(QStringLiteral("video/mp4")),
                 (QStringList{QStringLiteral("a.desktop"), QStringLiteral("b.desktop")}));
        QVERIFY(list.defaultApplications(QStringLiteral("video/mpeg")).isEmpty());
        QVERIFY(list.defaultApplications(QStringLiteral("video/3gpp")).isEmpty());
        QVERIFY(list.isDefault(QStringLiteral("video/mp4"), QStringLiteral("a.desktop")));
        QVERIFY(!list.isDefault(QStringLiteral("video/mp4"), QStringLiteral("b.desktop")));
    }

    void unchangedListIsNotWritten()
    {
        writeFile("[Default Applications]\nvideo/mp4=player.desktop;\n");
        const QDateTime longAgo(QDate(2001, 2, 3), QTime(4, 5, 6));
        {
            QFile file(path());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
        MimeAppsList list(path());
        QVERIFY(list.load());
        QVERIFY(!list.clearDefault(QStringLiteral("video/mp4"), QStringLiteral("ours.desktop")));
        QVERIFY(!list.isModified());
        QVERIFY(list.save());
        QCOMPARE(QFileInfo(path()).lastModified(), longAgo);
    }

    // A file that cannot be read is never replaced by one without its content.
    void unreadableListIsLeftAlone()
    {
        QVERIFY(QDir().mkpath(path())); // a folder where the file should be
        MimeAppsList list(path());
        QVERIFY(!list.load());
        list.setDefault(QStringLiteral("video/mp4"), QStringLiteral("ours.desktop"));
        QVERIFY(!list.save());
        QVERIFY(!list.errorString().isEmpty());
        QVERIFY(QFileInfo(path()).isDir());
    }

    // Users who keep their configuration elsewhere link the file in; the link
    // stays and the file it points at changes, with its permissions.
    void linkedListChangesItsTarget()
    {
        const QString target = m_dir.filePath(QStringLiteral("dotfiles/mimeapps.list"));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QDir().mkpath(QFileInfo(path()).absolutePath());
        {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("[Default Applications]\n");
        }
        QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QFile::remove(path());
        QVERIFY(QFile::link(target, path()));

        MimeAppsList list(path());
        QVERIFY(list.load());
        list.setDefault(QStringLiteral("video/mp4"), QStringLiteral("ours.desktop"));
        QVERIFY(list.save());
        QVERIFY(QFileInfo(path()).isSymLink());
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Default Applications]\nvideo/mp4=ours.desktop;\n"));
        const QFileDevice::Permissions everyone(0x7077); // owner, group, others
        QCOMPARE(QFileInfo(target).permissions() & everyone, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        // Nothing but the file itself is left in its folder.
        QCOMPARE(QDir(QFileInfo(target).absolutePath()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("mimeapps.list")});
    }
};

QTEST_GUILESS_MAIN(TestMimeAppsList)
#include "tst_mimeappslist.moc"
