#include "xmlfile.h"

#include <QFile>
#include <QSaveFile>

namespace XmlFile {

ReadResult read(const QString &path, QDomDocument &document)
{
    document = QDomDocument();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::Missing;
    QString message;
    int line = 0;
    int column = 0;
    if (!bool(document.setContent(&file, false, &message, &line, &column))) {
        qWarning("Parse error at line %d, column %d:\n%s", line, column, qPrintable(message));
        document = QDomDocument();
        return ReadResult::Damaged;
    }
    return ReadResult::Read;
}

bool write(const QString &path, QDomDocument &document)
{
    QDomNode first = document.firstChild();
    if (first.isProcessingInstruction() && first.toProcessingInstruction().target() == QLatin1String("xml"))
        document.removeChild(first);
    document.insertBefore(document.createProcessingInstruction(QStringLiteral("xml"),
                                                               QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")),
                          document.firstChild());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = document.toByteArray(4);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace XmlFile
