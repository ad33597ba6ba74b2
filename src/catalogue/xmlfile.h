#pragma once

#include <QDomDocument>
#include <QString>

class QDomElement;

// The program's XML data files: read leniently, written whole or not at all.
namespace XmlFile {

enum class ReadResult { Read, Missing, Damaged };

// Parses path into document. A damaged file leaves document empty and warns
// on the diagnostic output, as does the file reader everywhere. A file that
// only fails because it holds characters XML cannot carry (as written by
// earlier versions of the program) is read with those characters replaced by
// U+FFFD, so that the rest of it (the phone profiles) is not lost.
ReadResult read(const QString &path, QDomDocument &document);

// Writes document with an indent of 4 and one XML declaration, replacing the
// file in one step: a crash or a full disk leaves the previous file intact.
// On failure error (if given) says why.
bool write(const QString &path, QDomDocument &document, QString *error = nullptr);

// File names and phone names may hold characters that XML cannot carry at
// all (control characters: Linux allows them in file names). Such a value is
// stored with those characters and "%" written as %XX (UTF-8 bytes), and
// its place ("text" or the attribute's name) is listed in the element's
// attribute "encoded". Every other value is stored as it is, so the files
// stay readable as before. The readers below undo the encoding.
void setText(QDomElement &element, const QString &text);
QString text(const QDomElement &element);
void setAttribute(QDomElement &element, const QString &name, const QString &value);
QString attribute(const QDomElement &element, const QString &name, const QString &defaultValue = QString());

} // namespace XmlFile
