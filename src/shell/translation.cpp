#include "translation.h"

#include <QDir>
#include <QFileInfo>

namespace Translation {
namespace {

QString &languageInUse()
{
    static QString language;
    return language;
}

} // namespace

QString chooseFile(const QDir &langDir)
{
    const QStringList entries = langDir.entryList({QStringLiteral("Tamsel_*.qm")}, QDir::Files, QDir::Name);
    return entries.isEmpty() ? QString() : entries.constFirst();
}

QString chooseForLanguages(const QDir &translationsDir, const QStringList &uiLanguages)
{
    for (QString language : uiLanguages) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        const QString base = language.section(QLatin1Char('_'), 0, 0);
        if (base.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
            return {};
        for (const QString &candidate : {language, base}) {
            const QString name = QStringLiteral("Tamsel_") + candidate + QStringLiteral(".qm");
            if (!candidate.isEmpty() && QFileInfo(translationsDir.filePath(name)).isFile())
                return name;
        }
    }
    return {};
}

bool wantsDefaultFont(const QString &fileName)
{
    return !fileName.contains(QLatin1String("chi-tc")) && !fileName.contains(QLatin1String("chi-sc"));
}

QString loadedLanguage()
{
    return languageInUse();
}

void setLoadedLanguage(const QString &language)
{
    languageInUse() = language;
}

} // namespace Translation
