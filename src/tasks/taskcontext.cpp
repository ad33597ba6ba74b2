#include "taskcontext.h"

#include "catalogue.h"
#include "settingsstore.h"

TaskContext TaskContext::capture(const Catalogue &catalogue)
{
    TaskContext context;
    context.phoneSerial = catalogue.currentPhoneSerial;
    context.phoneVideoFolder = catalogue.phoneVideoFolder();
    // The current phone's quality; without one, the quality of the phone
    // chosen in the window if it has a profile, else the setting.
    context.capabilitiesKey = catalogue.currentPhoneSerial;
    context.quality = catalogue.quality;
    if (context.capabilitiesKey.isEmpty()) {
        context.capabilitiesKey = catalogue.selectedPhoneName;
        const int profile = context.capabilitiesKey.isEmpty() ? -1 : catalogue.findProfile(context.capabilitiesKey);
        context.quality = profile >= 0 ? catalogue.profiles.at(profile).quality : Settings::qualityValue();
    }
    context.phoneNames = catalogue.phoneNames();
    return context;
}
