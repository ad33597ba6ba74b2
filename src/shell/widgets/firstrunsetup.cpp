#include "firstrunsetup.h"

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

    // The program's registration with the desktop belongs here, after the
    // folders are stored: its desktop entry, its file types (3gp, avi, mov,
    // mp4, mpg, wmv), the default handler for 3gp and mp4, and the tmk:
    // link handler.
    return true;
}
