#pragma once

// The program's door to the connectivity library: a loader that finds and
// loads the shared library at run time, per-module reference counting, and
// one typed function per library call. Every call resolves its function by
// name at the moment of the call, so the library can be unloaded while the
// connectivity service is away and loaded again when it is back.
//
// All functions may be called from any thread.

#include "kelvraapi.h"

#include <QString>

#include <functional>

namespace Orvak_API {

enum class KelvModule { Files = 0, Devices = 1, Common = 2 };

// The name the program passes as the API version.
inline constexpr uint32_t KelvApiVersion = 30;

namespace KelvLoader {

// Counts the call (even a failing one), then loads the library when the
// module is not loaded: from the configured location (KELVRA_API_PATH, else
// the system-scope setting), else the plain file name on the library path,
// else beside the executable. Answers 0x80100100 when none loads, 0x80100101
// when the module's initialise function is missing (the library stays
// loaded), the library's own code when its initialise fails (the library is
// unloaded again), else 0. While loaded, a watcher thread unloads the module
// when the service goes away and reloads it with the saved version when it
// is back.
KELV_RESULT initialize(KelvModule module, uint32_t version = KelvApiVersion, uint32_t reserved = 0);

// Answers 0x80100004 when the count is already 0. The last terminate stops
// the watcher, calls the module's terminate function and unloads the library
// once calls still running through the module have returned.
KELV_RESULT terminate(KelvModule module, uint32_t reserved = 0);

unsigned referenceCount(KelvModule module);
bool isLoaded(KelvModule module);

// The folder where the service's going-away and back markers appear.
QString serviceEventFolder();
// Called on a module's watcher thread after it has unloaded the module
// because the service went away (false) or loaded it again because the
// service is back (true); once per module and event. The library's state
// starts afresh after a return: sessions and registered sinks of before are
// gone. An empty listener stops the calls; once setServiceListener returns,
// the listener it replaced is not running and will not be called again.
using ServiceListener = std::function<void(bool available)>;
void setServiceListener(ServiceListener listener);

// The folder under which the library keeps the configuration files of the
// attached phones ("Pelmora/ConfServer/..."): the program's common
// application-data folder. No trailing slash.
QString commonAppDataFolder();

} // namespace KelvLoader

// One function per library call. Each returns 0x80100004 without calling
// when its module is not loaded, 0x80100101 when the loaded library lacks the
// function, else the library's result unchanged.
namespace Kelv {

uint32_t GetAPIVersion();

KELV_RESULT OpenDM(KELVHANDLE *dm);
KELV_RESULT CloseDM(KELVHANDLE dm);
KELV_RESULT RegisterDMNotifyIF(KELVHANDLE dm, uint32_t option, IKelvDevicesNotify *sink);
KELV_RESULT GetDevices(KELVHANDLE dm, uint32_t *count, KELV_DEVICE_INFO *devices);
KELV_RESULT FreeDeviceStructure(uint32_t count, KELV_DEVICE_INFO *devices);

KELV_RESULT OpenFS(const wchar_t *serialNumber, uint32_t *media, KELVHANDLE *fs, uint32_t *deviceId);
KELV_RESULT CloseFS(KELVHANDLE fs);
KELV_RESULT RegisterFSNotifyIF(KELVHANDLE fs, uint32_t option, IKelvFilesNotify *sink);
KELV_RESULT RefreshDeviceMemoryValues(KELVHANDLE fs);
KELV_RESULT GetMemoryTypes(KELVHANDLE fs, wchar_t **types);
KELV_RESULT GetMemoryValues(KELVHANDLE fs, const wchar_t *type, int64_t *free, int64_t *total, int64_t *used);
KELV_RESULT FindBegin(KELVHANDLE fs, uint32_t options, KELVHANDLE *find, const wchar_t *folder);
KELV_RESULT FindNextFolder(KELVHANDLE find, KELV_FOLDER_INFO *info);
KELV_RESULT FindNextFile(KELVHANDLE find, KELV_FILE_INFO *info);
KELV_RESULT FindEnd(KELVHANDLE find);
KELV_RESULT CreateFolder(KELVHANDLE fs, const wchar_t *name, const wchar_t *parent);
KELV_RESULT DeleteFile(KELVHANDLE fs, const wchar_t *name, const wchar_t *folder);
KELV_RESULT CopyFile(KELVHANDLE fs, uint32_t options, const wchar_t *name, const wchar_t *source, const wchar_t *target);
KELV_RESULT ReadFile(KELVHANDLE fs, KELV_FILE_INFO *info, unsigned char **data, uint32_t options, const wchar_t *folder);
KELV_RESULT FreeFileDataMemory(unsigned char *data);
KELV_RESULT Cancel(KELVHANDLE fs);
KELV_RESULT FreeFileInfoStructure(KELV_FILE_INFO *info);
KELV_RESULT FreeFolderInfoStructure(KELV_FOLDER_INFO *info);

KELV_RESULT FreeString(wchar_t *text);

} // namespace Kelv

} // namespace Orvak_API
