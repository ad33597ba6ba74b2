#include "translation.h"

#include <QDir>

namespace Translation {

QString chooseFile(const QDir &langDir)
{
    const QStringList entries = langDir.entryList({QStringLiteral("Tamsel_*.qm")}, QDir::Files, QDir::Name);
    return entries.isEmpty() ? QString() : entries.constFirst();
}

bool wantsDefaultFont(const QString &fileName)
{
    return !fileName.contains(QLatin1String("chi-tc")) && !fileName.contains(QLatin1String("chi-sc"));
}

} // namespace Translation
