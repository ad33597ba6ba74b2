#pragma once

#include <QString>

class QDir;

// Which translation the program loads: the installer places at most one
// "Tamsel_*.qm" in the "Lang" folder; should there be several, the first by
// name wins, so the choice never depends on the file system's order.
namespace Translation {

// File name of the translation to load from langDir, or empty for none.
QString chooseFile(const QDir &langDir);

// The program's own font lacks Chinese glyphs: with a traditional or simplified
// Chinese translation the platform's font stays. The test is case-sensitive.
bool wantsDefaultFont(const QString &fileName);

} // namespace Translation
