#include "downloadlink.h"

#include <cstring>

namespace {

constexpr int kSchemeLength = 6; // "tmk://"
// Room below the usual 255-byte name limit for " (n)" and an extension.
constexpr int kMaxNameBytes = 200;

// "host", "host:port", "[v6]" or "[v6]:port" into its parts.
void splitHostPort(const QString &hostPort, QString &host, int &port)
{
    port = 80;
    int colon = -1;
    if (hostPort.startsWith(QLatin1Char('['))) {
        const int close = hostPort.indexOf(QLatin1Char(']'));
        host = close < 0 ? hostPort : hostPort.mid(1, close - 1);
        if (close >= 0 && close + 1 < hostPort.size())
            colon = hostPort.at(close + 1) == QLatin1Char(':') ? close + 1 : -2;
    } else {
        colon = hostPort.lastIndexOf(QLatin1Char(':'));
        host = colon < 0 ? hostPort : hostPort.left(colon);
    }
    if (colon == -2) {
        port = 0;
    } else if (colon >= 0) {
        bool ok = false;
        const int value = hostPort.mid(colon + 1).toInt(&ok);
        port = ok && value > 0 && value <= 65535 ? value : 0;
    }
}

// Percent-encodes the UTF-8 bytes of text, keeping the unreserved characters
// and those of kept as they are ("%" among them, which Qt's own encoder
// would always encode).
QString percentEncoded(const QString &text, const char *kept)
{
    static const char hex[] = "0123456789ABCDEF";
    const QByteArray bytes = text.toUtf8();
    QString result;
    result.reserve(bytes.size());
    for (const char c : bytes) {
        const uchar u = uchar(c);
        const bool unreserved = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')
            || u == '-' || u == '.' || u == '_' || u == '~';
        if (unreserved || (u < 0x80 && u != 0 && std::strchr(kept, c))) {
            result += QLatin1Char(c);
        } else {
            result += QLatin1Char('%');
            result += QLatin1Char(hex[u >> 4]);
            result += QLatin1Char(hex[u & 0xf]);
        }
    }
    return result;
}

} // namespace

QUrl DownloadLink::url() const
{
    if (host.isEmpty() || port <= 0)
        return QUrl();
    const QString hostPart = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    QUrl url = QUrl::fromEncoded(QStringLiteral("http://%1:%2%3").arg(hostPart).arg(port).arg(path).toLatin1());
    // A host that does not survive parsing (user info, stray characters) is refused.
    if (!url.isValid() || url.host().compare(host, Qt::CaseInsensitive) != 0)
        return QUrl();
    return url;
}

namespace DownloadLinks {

DownloadLink parse(const QString &link)
{
    const QString encoded = percentEncoded(link, KeptCharacters);
    const QLatin1String titleKey(TitleKey);
    const int titleAt = encoded.indexOf(titleKey);
    // Without a title key the name starts where a title key would have ended.
    const int t = titleAt + int(titleKey.size());
    const int e = encoded.indexOf(QLatin1Char('&'), t);

    const QString url = QString(encoded.left(titleAt) + QLatin1String(ClientSuffix)).mid(kSchemeLength);
    int hostEnd = url.indexOf(QLatin1Char('/'));
    if (hostEnd < 0) {
        for (QChar c : {QLatin1Char('?'), QLatin1Char('&'), QLatin1Char('#')}) {
            const int at = url.indexOf(c);
            if (at >= 0 && (hostEnd < 0 || at < hostEnd))
                hostEnd = at;
        }
    }
    DownloadLink result;
    splitHostPort(hostEnd < 0 ? url : url.left(hostEnd), result.host, result.port);
    result.path = hostEnd < 0 ? QString() : url.mid(hostEnd);
    if (!result.path.startsWith(QLatin1Char('/')))
        result.path.prepend(QLatin1Char('/'));
    result.title = encoded.mid(t, e < 0 ? -1 : e - t);
    result.fileName = safeFileName(result.title);
    return result;
}

QString safeFileName(const QString &title)
{
    QString name;
    name.reserve(title.size());
    for (const QChar c : title) {
        if (c == QLatin1Char('/'))
            name += QStringLiteral("%2F");
        else if (c.category() != QChar::Other_Control && c != QChar(0x7f))
            name += c;
    }
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    bool cut = false;
    while (name.toUtf8().size() > kMaxNameBytes) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
        cut = true;
    }
    // A cut through an escape such as "%2F" would leave half of it.
    const int percent = name.lastIndexOf(QLatin1Char('%'));
    if (cut && percent >= 0 && percent >= name.size() - 2)
        name.truncate(percent);
    return name.isEmpty() ? QStringLiteral("download") : name;
}

QString extensionFor(const QString &contentType)
{
    const QString type = contentType.section(QLatin1Char(';'), 0, 0).trimmed();
    if (type.compare(QLatin1String("video/x-ms-wmv"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("wmv");
    if (type.compare(QLatin1String("video/3gpp"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("3gp");
    return QStringLiteral("mp4");
}

} // namespace DownloadLinks
