#include "firstrunsetup.h"

#include "associations.h"
#include "firstdialog.h"
#include "settingsstore.h"

#include <QDir>

namespace {

const QString kScanKey = QStringLiteral("ScanFolder");
const QString kCollectionKey = QStringLiteral("MyCollectionFolder");

// The folders the wizard starts with: the stored ones where they still
// exist, else the home folder to scan and the default collection folder
// (created on disk when missing).
QVariantMap proposedFolders()
{
    QString scanFolder = Settings::scanFolder();
    if (scanFolder.isEmpty() || !QDir(scanFolder).exists())
        scanFolder = Settings::systemDriveRoot();
    const QString collectionDefault = Settings::collectionDefaultFolder();
    QString collection = Settings::myCollectionFolder();
    if (!QDir(collection).exists())
        collection = collectionDefault;
    return {{kScanKey, scanFolder}, {kCollectionKey, collection}};
}

} // namespace

bool firstRunSetup()
{
    C1stDialog wizard;
    wizard.setValues(proposedFolders());
    if (wizard.exec() != QDialog::Accepted)
        return false;

    QVariantMap chosen;
    wizard.getValues(chosen);
    Settings::setScanFolder(chosen.value(kScanKey).toString());
    Settings::setMyCollectionFolder(chosen.value(kCollectionKey).toString());

    // With the folders stored, the program registers with the desktop: its
    // desktop entry, which declares the six video types and tmk:// links,
    // and the program as the default for 3gp and mp4 files and for the
    // links. A failure leaves the program working; it is logged.
    Associations::registerAtFirstRun();
    return true;
}
