// Every text the program shows must have a finished German translation.
// The check runs lupdate over the current sources into a copy of the
// translation file, so a text added to the code without a translation fails
// here, not only a text that someone marked unfinished by hand.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message
{
    QString context;
    QString source;
    QString translation;
    bool unfinished = false;
    bool numerus = false;
    QStringList forms;
};

QList<Message> readMessages(const QString &path, QString *error)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("name") && current.source.isNull() && current.context.isNull())
                context = xml.readElementText();
            else if (name == QLatin1String("message")) {
                current = Message();
                current.context = context;
                current.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            } else if (name == QLatin1String("source"))
                current.source = xml.readElementText();
            else if (name == QLatin1String("translation")) {
                current.unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
                if (current.numerus) {
                    while (xml.readNextStartElement())
                        current.forms << xml.readElementText();
                } else {
                    current.translation = xml.readElementText();
                }
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages << current;
            current = Message();
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

} // namespace

class TestTranslationComplete : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyTextTranslated_data()
    {
        QTest::addColumn<QString>("file");
        const QDir folder(QStringLiteral(TAMSEL_SOURCE_DIR "/translations"));
        const QStringList files = folder.entryList({QStringLiteral("Tamsel_*.ts")}, QDir::Files);
        QVERIFY(!files.isEmpty());
        for (const QString &name : files)
            QTest::addRow("%s", qPrintable(name)) << folder.filePath(name);
    }

    void everyTextTranslated()
    {
        QFETCH(QString, file);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString copy = scratch.filePath(QFileInfo(file).fileName());
        QVERIFY(QFile::copy(file, copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

        // The same call the developers' update script makes, into the copy.
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(TAMSEL_SOURCE_DIR));
        lupdate.start(QStringLiteral(TAMSEL_LUPDATE),
                      {QStringLiteral("-no-obsolete"), QStringLiteral("-locations"), QStringLiteral("none"),
                       QStringLiteral("src"), QStringLiteral("app"), QStringLiteral("-ts"), copy});
        QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
                 lupdate.readAllStandardError().constData());

        QString error;
        const QList<Message> messages = readMessages(copy, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(messages.size() > 100);

        QStringList missing;
        for (const Message &m : messages) {
            const bool empty = m.numerus ? (m.forms.isEmpty() || m.forms.contains(QString())) : m.translation.isEmpty();
            if (m.unfinished || empty)
                missing << QStringLiteral("%1: \"%2\"").arg(m.context, m.source);
        }
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("%1 text(s) without a finished translation (run translations/update.sh "
                                           "and translate them):\n  %2")
                                .arg(missing.size())
                                .arg(missing.join(QStringLiteral("\n  ")))));
    }
};

QTEST_GUILESS_MAIN(TestTranslationComplete)
#include "tst_translationcomplete.moc"
