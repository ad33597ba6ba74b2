#include "xmlfile.h"

#include <QDomElement>
#include <QFile>
#include <QSaveFile>

namespace XmlFile {

namespace {

const QString kEncoded = QStringLiteral("encoded");
const QString kTextPlace = QStringLiteral("text");

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// Calls take(codePoint, length in UTF-16 units) for each code point of text;
// a lone surrogate comes as itself, which isXmlChar refuses.
template<typename Take>
void forEachCodePoint(const QString &text, Take take)
{
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            take(QChar::surrogateToUcs4(c, text.at(i + 1)), 2, i);
            i += 2;
        } else {
            take(char32_t(c.unicode()), 1, i);
            ++i;
        }
    }
}

bool needsEncoding(const QString &text)
{
    bool needed = false;
    forEachCodePoint(text, [&](char32_t c, int, qsizetype) { needed = needed || !isXmlChar(c); });
    return needed;
}

QString encode(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    forEachCodePoint(text, [&](char32_t c, int length, qsizetype at) {
        const QStringView unit = QStringView(text).mid(at, length);
        if (isXmlChar(c) && c != U'%') {
            out += unit;
            return;
        }
        for (const char byte : unit.toUtf8())
            out += QString::asprintf("%%%02X", uchar(byte));
    });
    return out;
}

QString decode(const QString &text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
}

QStringList encodedPlaces(const QDomElement &element)
{
    return element.attribute(kEncoded).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Marks or unmarks one place of element as encoded; returns the value to store.
QString store(QDomElement &element, const QString &place, const QString &value)
{
    QStringList places = encodedPlaces(element);
    const bool encoded = needsEncoding(value);
    const bool listed = places.contains(place);
    if (encoded != listed) {
        if (encoded)
            places.append(place);
        else
            places.removeAll(place);
        if (places.isEmpty())
            element.removeAttribute(kEncoded);
        else
            element.setAttribute(kEncoded, places.join(QLatin1Char(' ')));
    }
    return encoded ? encode(value) : value;
}

bool parse(const QByteArray &bytes, QDomDocument &document, bool warn)
{
    QString message;
    int line = 0;
    int column = 0;
    if (bool(document.setContent(bytes, false, &message, &line, &column)))
        return true;
    if (warn)
        qWarning("Parse error at line %d, column %d:\n%s", line, column, qPrintable(message));
    document = QDomDocument();
    return false;
}

// Control characters are single bytes in UTF-8, never part of another character.
QByteArray withoutForbiddenControls(QByteArray bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const uchar b = uchar(byte);
        if (b < 0x20 && b != 0x9 && b != 0xA && b != 0xD)
            out += "\xEF\xBF\xBD";
        else
            out += byte;
    }
    return out;
}

} // namespace

ReadResult read(const QString &path, QDomDocument &document)
{
    document = QDomDocument();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::Missing;
    const QByteArray bytes = file.readAll();
    if (parse(bytes, document, true))
        return ReadResult::Read;
    const QByteArray repaired = withoutForbiddenControls(bytes);
    if (repaired != bytes && parse(repaired, document, false)) {
        qWarning("%s was read with the characters XML cannot carry replaced", qPrintable(path));
        return ReadResult::Read;
    }
    return ReadResult::Damaged;
}

bool write(const QString &path, QDomDocument &document, QString *error)
{
    QDomNode first = document.firstChild();
    if (first.isProcessingInstruction() && first.toProcessingInstruction().target() == QLatin1String("xml"))
        document.removeChild(first);
    document.insertBefore(document.createProcessingInstruction(QStringLiteral("xml"),
                                                               QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")),
                          document.firstChild());
    QSaveFile file(path);
    const QByteArray bytes = document.toByteArray(4);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

void setText(QDomElement &element, const QString &text)
{
    const QString stored = store(element, kTextPlace, text);
    while (!element.firstChild().isNull())
        element.removeChild(element.firstChild());
    element.appendChild(element.ownerDocument().createTextNode(stored));
}

QString text(const QDomElement &element)
{
    const QString stored = element.text();
    return element.hasAttribute(kEncoded) && encodedPlaces(element).contains(kTextPlace) ? decode(stored) : stored;
}

void setAttribute(QDomElement &element, const QString &name, const QString &value)
{
    element.setAttribute(name, store(element, name, value));
}

QString attribute(const QDomElement &element, const QString &name, const QString &defaultValue)
{
    if (!element.hasAttribute(name))
        return defaultValue;
    const QString stored = element.attribute(name);
    return element.hasAttribute(kEncoded) && encodedPlaces(element).contains(name) ? decode(stored) : stored;
}

} // namespace XmlFile
