#include "firstrunsetup.h"

#include "associations.h"
#include "firstdialog.h"
#include "settingsstore.h"

#include <QDir>

bool firstRunSetup()
{
    const QString driveRoot = Settings::systemDriveRoot();
    QString scanFolder = Settings::scanFolder();
    if (scanFolder.isEmpty() || !QDir(scanFolder).exists())
        scanFolder = driveRoot;
    const QString collectionDefault = Settings::collectionDefaultFolder();
    QString collection = Settings::myCollectionFolder();
    if (!QDir(collection).exists())
        collection = collectionDefault;

    C1stDialog wizard({{QStringLiteral("ScanFolder"), scanFolder},
                       {QStringLiteral("MyCollectionFolder"), collection}});
    if (wizard.exec() != QDialog::Accepted)
        return false;
    const QVariantMap chosen = wizard.values();
    Settings::setScanFolder(chosen.value(QStringLiteral("ScanFolder")).toString());
    Settings::setMyCollectionFolder(chosen.value(QStringLiteral("MyCollectionFolder")).toString());
    // The desktop learns that the program opens videos and tmk:// links, and
    // hands it 3gp and mp4 files and the links from now on. A failure leaves
    // the program working; it is logged.
    Associations::registerAtFirstRun();
    return true;
}
