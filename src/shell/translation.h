#pragma once

#include <QString>
#include <QStringList>

class QDir;

// Which translation the program loads: the installer places at most one
// "Tamsel_*.qm" in the "Lang" folder; should there be several, the first by
// name wins, so the choice never depends on the file system's order.
namespace Translation {

// File name of the translation to load from langDir, or empty for none.
QString chooseFile(const QDir &langDir);

// With none in "Lang", the shipped translation for the user's language:
// "Tamsel_<language>.qm" in translationsDir, for the first of uiLanguages
// (most preferred first, as QLocale::uiLanguages() gives them) that has one,
// each tried with its country and then without ("de-AT", then "de"). The
// program is written in English: an English language met first ends the
// search with none. Returns the file name, or empty.
QString chooseForLanguages(const QDir &translationsDir, const QStringList &uiLanguages);

// The program's own font lacks Chinese glyphs: with a traditional or simplified
// Chinese translation the platform's font stays. The test is case-sensitive.
bool wantsDefaultFont(const QString &fileName);

// The language of the translation in use ("de"), as start-up recorded it;
// empty while the program runs in English. Main thread only.
QString loadedLanguage();
void setLoadedLanguage(const QString &language);

} // namespace Translation
