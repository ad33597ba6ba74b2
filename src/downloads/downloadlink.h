#pragma once

#include <QString>
#include <QUrl>

// What a tmk:// link asks for: the HTTP request to make and the name to
// give the file. The request carries the program's client parameters in
// place of the title; the title names the file.
struct DownloadLink
{
    QString host;         // without the port
    int port = 80;        // 0 when the link names a port that cannot be used
    QString path;         // the request path with its query, percent-encoded
    QString title;        // the link's title, percent-encoded as it came
    QString fileName;     // the title reduced to one safe file name

    // http://host:port/path; invalid when the host or port cannot be used.
    QUrl url() const;
};

namespace DownloadLinks {

// Characters the link keeps as they are when it is percent-encoded.
inline constexpr char KeptCharacters[] = "!*'();:@&=+$,/?%#[]";
inline constexpr char TitleKey[] = "&itemTitle=";
inline constexpr char ClientSuffix[] = "&client=TSL&clientVersion=1.5";

DownloadLink parse(const QString &link);

// One file-name component made from title: no separator, no leading dot,
// no control character, not too long for the file system; "download" when
// nothing is left. Everything else stays as it is, so "My%20clip" stays
// "My%20clip".
QString safeFileName(const QString &title);

// "wmv" for video/x-ms-wmv, "3gp" for video/3gpp (any case, parameters
// ignored), "mp4" for anything else or nothing.
QString extensionFor(const QString &contentType);

} // namespace DownloadLinks
