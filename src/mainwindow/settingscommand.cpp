// The Settings command: the settings dialog filled from the settings, the
// desktop's associations and the current phone, and what it gives back
// applied in a fixed order.

#include "videotransferwindow.h"

#include "associations.h"
#include "catalogue.h"
#include "confserver.h"
#include "contextswitcher.h"
#include "settingsdialog.h"
#include "settingsstore.h"
#include "ui_videotransferwindow.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)

namespace {

// A phone is selected and known to the catalogue.
bool phoneSelected(bool listed)
{
    return listed && !Catalogue::instance().currentPhoneSerial.isEmpty();
}

} // namespace

QVariantMap CVideoTransferWindow::settingsValues() const
{
    using namespace SettingsValue;
    QVariantMap values;
    values.insert(QLatin1String(Quality), Settings::qualityValue());
    values.insert(QLatin1String(ScanFolder), Settings::scanFolder());
    values.insert(QLatin1String(MyCollectionFolder), Settings::myCollectionFolder());
    values.insert(QLatin1String(Download2Phone), Settings::downloadToPhone());
    Associations::readFlags(values);

    const Catalogue &catalogue = Catalogue::instance();
    if (!phoneSelected(hasPhoneEntries())) {
        values.insert(QLatin1String(NumOfMemUnits), 0);
        return values;
    }
    const int memories = int(catalogue.memoryTypes.size());
    values.insert(QLatin1String(NumOfMemUnits), memories);
    if (const int profile = catalogue.currentProfile(); profile >= 0) {
        const PhoneProfile &stored = catalogue.profiles.at(profile);
        values.insert(QLatin1String(Quality), stored.quality);
        // A profile may name a memory the phone no longer has.
        values.insert(QLatin1String(MemorySelected), qBound(0, stored.memoryIndex, qMax(0, memories - 1)));
    }
    values.insert(QStringLiteral("PhoneMemName"), catalogue.memoryNames.value(0));
    values.insert(QLatin1String(PhoneSupportsQuality), Orvak_API::newPhoneQuality(catalogue.currentPhoneSerial));
    for (int card = 1; card <= 2; ++card) {
        if (card < catalogue.memoryNames.size())
            values.insert(QStringLiteral("MemCardName%1").arg(card), catalogue.memoryNames.at(card));
        if (card < catalogue.memoryTypes.size())
            values.insert(QStringLiteral("MemCardFriendlyName%1").arg(card), catalogue.memoryTypes.at(card));
    }
    return values;
}

void CVideoTransferWindow::on_actionSettings_triggered()
{
    CSettingsDialog dialog(this);
    dialog.setValues(settingsValues());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Only what the dialog gives back is applied; a key it leaves out stays
    // as it is.
    QVariantMap chosen;
    dialog.getValues(chosen);
    applySettings(chosen);
}

void CVideoTransferWindow::applySettings(const QVariantMap &values)
{
    using namespace SettingsValue;
    const auto has = [&values](const char *key) { return values.contains(QLatin1String(key)); };
    const auto value = [&values](const char *key) { return values.value(QLatin1String(key)); };

    const QString oldCollection = Settings::myCollectionFolder();
    if (has(ScanFolder))
        Settings::setScanFolder(value(ScanFolder).toString());
    if (has(MyCollectionFolder))
        Settings::setMyCollectionFolder(value(MyCollectionFolder).toString());
    if (!Associations::applyFlags(values))
        qCWarning(lcMainWindow) << "the file associations could not all be written";
    if (has(Download2Phone))
        Settings::setDownloadToPhone(value(Download2Phone).toInt());

    Catalogue &catalogue = Catalogue::instance();
    const int quality = has(Quality) ? value(Quality).toInt() : Settings::qualityValue();
    bool collectionRebuilt = false;
    if (phoneSelected(hasPhoneEntries())) {
        const int memory = has(MemorySelected) ? value(MemorySelected).toInt() : catalogue.memoryIndex;
        if (catalogue.writeProfile(catalogue.currentPhoneSerial, memory, quality)) {
            // Reading the profiles again empties My collection, whose view
            // lets go of its rows first.
            clearMyCollectionView();
            catalogue.loadAppSettings(false);
        }
        // The memory box and My collection follow the chosen memory.
        m_switcher->phoneSelectionChanged(m_ui->comboBox_Phones->currentIndex());
        m_ui->toolButton_Copy2Phone->setEnabled(catalogue.memoryFree != 0);
        phoneRoomChanged(catalogue.memoryFree != 0);
        collectionRebuilt = true;
    }
    if (has(Quality))
        Settings::setQuality(quality);
    // A new My collection folder holds other videos.
    if (!collectionRebuilt && Settings::myCollectionFolder() != oldCollection)
        FillMyCollection();
    qCInfo(lcMainWindow) << "settings applied";
}
