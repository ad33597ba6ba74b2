#pragma once

#include <QString>

class QTextStream;

// The demo phone: a folder phone with a phone memory and a memory card, a
// picture and a few short clips made on the spot with ffmpeg.
namespace DemoPhone {

inline constexpr char SerialNumber[] = "004401234567890";

// Builds the phone in a hidden folder inside devicesFolder and moves it into
// place when complete, so it arrives whole or not at all. Returns the phone's
// folder, or an empty string with the reason in error. Notes about missing
// clips go to log.
QString create(const QString &devicesFolder, QString *error, QTextStream &log);

// The picture file: a PNG entry and a 32-bit bitmap entry.
QByteArray iconFile();

} // namespace DemoPhone
