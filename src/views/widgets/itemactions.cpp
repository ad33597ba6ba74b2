#include "itemactions.h"

#include "fileitem.h"
#include "viewhost.h"

#include <QAction>

namespace ItemActions {

void setEnabled(const CViewHost *host, const char *objectName, bool enabled)
{
    if (QAction *action = host->menuAction(QLatin1String(objectName)))
        action->setEnabled(enabled);
}

void disableAll(const CViewHost *host)
{
    for (const char *name : {"actionCopy_to_phone", "actionCopy_to_PC", "actionRemove_from_phone",
                             "actionRemove_from_PC", "actionCancel", "actionCancelAll", "actionCancelD",
                             "actionCancelAllD", "actionConvert_Copy_phone", "actionConvert_Copy_PC"})
        setEnabled(host, name, false);
}

void enableFor(const CViewHost *host, const FileItem *item)
{
    const bool onPc = item->pc.syncState == 2 || item->pc.syncState == 3;
    const bool onPhone = item->phone.syncState == 2 || item->phone.syncState == 3;
    const bool phone = host->hasPhoneEntries();
    setEnabled(host, "actionRemove_from_PC", onPc);
    setEnabled(host, "actionCopy_to_PC", !onPc);
    setEnabled(host, "actionCopy_to_phone", !onPhone && phone);
    setEnabled(host, "actionRemove_from_phone", onPhone && phone);
    setEnabled(host, "actionConvert_Copy_PC", true);
    setEnabled(host, "actionConvert_Copy_phone", phone);
}

} // namespace ItemActions
