#pragma once

#include "formfixture.h"
#include "settingsdialog.h"
#include "settingsstore.h"

#include <QSettings>

// Shared by the settings dialog tests: the test's own settings store (in the
// sandbox's config folder) and the value map a main window would hand in.
namespace settingsfixture {

using Settings::Quality;

inline QSettings store()
{
    return QSettings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"));
}

inline QStringList profileKeys()
{
    QStringList keys;
    for (const QString &key : store().allKeys())
        if (key.startsWith(QLatin1String("Settings/High")) || key.startsWith(QLatin1String("Settings/Medium"))
            || key.startsWith(QLatin1String("Settings/Low")))
            keys << key;
    return keys;
}

inline CSettingsDialog *shownSettings()
{
    const QList<CSettingsDialog *> shown = visibleDialogs<CSettingsDialog>();
    return shown.size() == 1 ? shown.constFirst() : nullptr;
}

inline QString prefix(Quality quality)
{
    return Settings::qualityPrefix(quality);
}

} // namespace settingsfixture

using namespace settingsfixture;

// What the main window would hand in: two folders that exist, a phone with
// one memory that plays every quality, Medium chosen, downloads not copied.
inline QVariantMap typicalValues(const Folders &folders)
{
    return {{QStringLiteral("MyCollectionFolder"), folders.path("Videos/Orvak Tamsel")},
            {QStringLiteral("ScanFolder"), folders.path("Videos")},
            {QStringLiteral("NumOfMemUnits"), 1},
            {QStringLiteral("MemorySelected"), 0},
            {QStringLiteral("PhoneSupportsQuality"), 2},
            {QStringLiteral("Quality"), 1},
            {QStringLiteral("Download2Phone"), 0}};
}

inline void clearStore()
{
    QSettings s = store();
    s.clear();
    s.sync();
}
