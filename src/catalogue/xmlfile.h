#pragma once

#include <QDomDocument>
#include <QString>

// The program's XML data files: read leniently, written whole or not at all.
namespace XmlFile {

enum class ReadResult { Read, Missing, Damaged };

// Parses path into document. A damaged file leaves document empty and warns
// on the diagnostic output, as does the file reader everywhere.
ReadResult read(const QString &path, QDomDocument &document);

// Writes document with an indent of 4 and one XML declaration, replacing the
// file in one step: a crash or a full disk leaves the previous file intact.
bool write(const QString &path, QDomDocument &document);

} // namespace XmlFile
