/*
 * Kelvra connectivity API: the C-style interface of the phone connectivity
 * library (libkelvraapi.so).
 *
 * Programs do not link to the library. They load it at run time and resolve
 * every function by name; this header gives them the types, the result codes
 * and a function-pointer type per exported function (KELV_PFN_<name>).
 *
 * The library is split into three modules that share this one file:
 *   KelvDevices  device discovery and device notifications
 *   KelvFiles    phone file system, memory values, transfers
 *   KelvCommon   memory and string helpers
 * Each module has <Module>_Initialize(version, reserved) and
 * <Module>_Terminate(reserved); KelvDevices_GetAPIVersion() tells the version.
 *
 * Every function returns a 32-bit result: 0 or positive is success, negative
 * (bit 31 set) is an error; the codes are listed below.
 *
 * Strings are wide strings (wchar_t, UTF-32 on Linux). Strings and buffers the
 * library hands out belong to the caller until released with the matching
 * KELVFree... function. Handles are opaque: a stale or foreign handle is
 * answered with KELV_ERR_INVALID_HANDLE, never dereferenced.
 *
 * Folder phones. A devices folder ($KELVRA_DEVICES_DIR, else the
 * library's data folder + "/devices") holds one folder per phone with a
 * manifest "phone.ini" ([Phone] SerialNumber, FriendlyName, Manufacturer,
 * Model, Media; [Memory0..N] Type, Path, Capacity; [Video] MaxBitrate,
 * ImgWallpaperSize, Picture). Adding, removing or changing such a folder is
 * a phone arriving, leaving or being updated. The README describes the file.
 * A manifest is read only when it is a regular file of at most 64 KiB, and
 * each memory's Path must name a folder inside the phone's folder once
 * symlinks are resolved; other manifests are skipped with a line on stderr.
 * Phone paths never lead through a symlinked folder, and listings do not
 * show symlinked folders.
 *
 * Removable volumes. A folder under a mount root (udisks2 mounts at
 * /media/$USER/<label> or /run/media/$USER/<label>; $KELVRA_MOUNT_ROOT, a
 * colon-separated list, replaces both, an empty value searches none) is a
 * phone when it holds a "phone.ini" (read as above) or a "DCIM" folder, as
 * the cards of phones and cameras do. A card without a manifest is a phone
 * with one memory "Memory card" ("\\C:\"), the whole volume, its values
 * those of the file system; its serial number is "vol-" and the folder's
 * name; "\\C:\Data" is made on it when the program's video folder
 * "\\C:\Data\Videos" is created there. Unmounting it is its removal. Files
 * of 4 GiB and more are refused on FAT file systems with
 * KELV_ERR_FILE_TOO_BIG.
 *
 * MTP phones. Android phones (and other MTP devices) on USB are phones with
 * medium USB. They are found when plugged in (a node appearing under
 * /dev/bus/usb, else a search every 1.5 s) and leave when unplugged; a
 * phone that is locked is listed without memories until it is unlocked
 * (KELVGetMemoryTypes answers KELV_ERR_DEVICE_LOCKED). The serial number is
 * the USB serial number (else the device's own). The storages are the
 * memories: the first fixed storage is "C:", the others follow as "E:",
 * "F:", ... in the device's order; a memory's type is the storage's
 * description. $KELVRA_MTP=off switches MTP phones off.
 *   Paths. The program's video folders are the gallery's: "\\C:\Data\Videos"
 *   is the folder "Movies" at the root of the first storage, and
 *   "\\E:\Videos" (and so on) "Movies" on that storage; copies into them
 *   create "Movies" when it is missing, so copied videos appear in the
 *   phone's video player. Listings show "Movies" only under those names
 *   ("\\C:\" lists "Data", which holds "Videos"); "\\C:\Movies" is not
 *   found. Every other path is the device's folder of that name.
 *   Copies. A copy to the phone that fails, is cancelled or is cut off
 *   deletes the object it made, as far as the phone still answers (a phone
 *   unplugged mid-copy drops the partial object itself); one that replaces a
 *   file is sent under a hidden name and renamed once whole, so the storage
 *   must have room for the new file beside the old one. A copy to the
 *   PC goes through a temporary file as for folder phones. Files of 4 GiB
 *   and more are refused with KELV_ERR_FILE_TOO_BIG on removable storages of
 *   up to 32 GB (FAT cards). Memory full is told before anything is sent.
 *   Errors: another program holding the phone KELV_ERR_CONNECTION_TAKEN, a
 *   phone that does not offer its files ("File transfer" not chosen)
 *   KELV_ERR_MEDIA_NOT_ACTIVE, unplugged KELV_ERR_CONNECTION_LOST.
 *
 * Configuration files of phones without a manifest (MTP phones, cards
 * without phone.ini): written with MaxBitrate 4000 and ImgWallpaperSize
 * "1920,1080" (so the program offers High quality) and no picture (so it
 * shows its own). "<data folder>/phones/<serial>.ini" overrides them per
 * phone: [Video] MaxBitrate=<kbps>, ImgWallpaperSize=<width>,<height>.
 *
 * Temporary files. A copy is written to a hidden temporary file beside its
 * target, ".~kelvra-<random>.part", which the copying process holds locked
 * (flock, exclusive) until it is published or removed. Such files that no
 * process holds are left over from a process that was killed: they are
 * removed when the phone's file system is opened (in every memory), when a
 * memory's values are read or a copy to it starts, and in a PC folder when a
 * copy into it starts. Listings never show them, and names starting with
 * ".~kelvra-" are the library's own (KELV_ERR_FILE_NAME_INVALID).
 *
 * Memory space. The free-space check of a copy to the phone and the
 * reservation of the space it needs (the temporary file gets its full size at
 * once) happen together under a lock of the memory (an exclusive flock on the
 * memory's folder), so copies running at the same time in any threads or
 * processes never overfill a memory.
 *
 * Phone paths: "\\" is the root and lists the memories as "C:", "E:", ...;
 * "\\C:\..." is memory 0, "\\E:\..." memory 1 (drive letter 'D' + index for
 * index 1 to 21). A trailing backslash is accepted.
 *
 * Folders used by the library (all overridable by environment variables):
 *   data folder     $KELVRA_DATA_DIR, else $XDG_DATA_HOME/kelvra
 *                   (~/.local/share/kelvra). The per-phone configuration files
 *                   are written under "Pelmora/ConfServer/" in it:
 *                   "ConfSTmp<serial>.xml" and
 *                   "<Manufacturer>;PelmoraConf;<Model>;<serial>.xml".
 *   runtime folder  $KELVRA_RUNTIME_DIR, else $XDG_RUNTIME_DIR/kelvra, else
 *                   <temporary folder>/kelvra-<uid>.
 *
 * Service going away and coming back. The service announces both through two
 * marker files in the runtime folder, named KELV_SERVICE_AWAY_EVENT and
 * KELV_SERVICE_BACK_EVENT. A marker that exists is a signalled event; whoever
 * waits for it watches the folder (inotify), reacts when the file appears (or
 * already exists when it starts waiting) and resets the event by removing the
 * file. "touch $XDG_RUNTIME_DIR/kelvra/<name>" signals an event by hand.
 * While the service is away, a loader unloads the library; when it is back,
 * the loader loads it again.
 *
 * Notifications:
 *   - device events are delivered on the thread that registered the sink,
 *     through that thread's Qt event loop (the thread must run one);
 *   - copy progress is delivered on the thread that runs KELVCopyFile, while
 *     it blocks, with state KELV_STATE_COPY_PROGRESS and the percentage done.
 */
#ifndef KELVRAAPI_H
#define KELVRAAPI_H

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#if defined(KELVRA_BUILDING_LIBRARY)
#define KELVAPI __attribute__((visibility("default")))
#else
#define KELVAPI
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------ */
/* Versions, file names and event names                                */

#define KELV_API_VERSION 30u
#define KELV_LIBRARY_FILE_NAME "libkelvraapi.so"
#define KELV_SERVICE_AWAY_EVENT "{8C2F5E71-3A0D-4B9E-9F61-2D7C40A1B5E3}.away"
#define KELV_SERVICE_BACK_EVENT "{0B6D93A4-E15C-4F27-8A3E-7C95D2F04B18}.back"
#define KELV_MANIFEST_FILE_NAME "phone.ini"

/* Limits in characters, both counted with the two leading backslashes. */
#define KELV_MAX_FILE_PATH 256   /* folder + "\" + file name */
#define KELV_MAX_FOLDER_PATH 245 /* folder path with a trailing backslash */
#define KELV_MAX_MEMORIES 22     /* C: and E: to Y: */
#define KELV_MAX_READ_SIZE (64u * 1024u * 1024u) /* KELVReadFile buffers */

/* ------------------------------------------------------------------ */
/* Result codes                                                        */

typedef int32_t KELV_RESULT;

#define KELV_OK 0
#define KELV_ERR(x) ((KELV_RESULT)(uint32_t)(x))
#define KELV_ERR_DLL_INIT KELV_ERR(0x80100000u)
#define KELV_ERR_NOT_INITIALIZED KELV_ERR(0x80100004u)
#define KELV_ERR_VERSION_NOT_SUPPORTED KELV_ERR(0x80100005u)
#define KELV_ERR_UNKNOWN KELV_ERR(0x80100010u)
#define KELV_ERR_INVALID_POINTER KELV_ERR(0x80100012u)
#define KELV_ERR_INVALID_PARAMETER KELV_ERR(0x80100013u)
#define KELV_ERR_INVALID_HANDLE KELV_ERR(0x80100014u)
#define KELV_ERR_OUT_OF_MEMORY KELV_ERR(0x80100015u)
#define KELV_ERR_ALREADY_REGISTERED KELV_ERR(0x80100017u)
#define KELV_ERR_CANCELLED KELV_ERR(0x80100020u)
#define KELV_ERR_NOTHING_TO_CANCEL KELV_ERR(0x80100021u)
#define KELV_ERR_NOT_FOUND KELV_ERR(0x80100025u)
#define KELV_ERR_MODULE_NOT_FOUND KELV_ERR(0x80100100u)   /* loader only */
#define KELV_ERR_FUNCTION_NOT_FOUND KELV_ERR(0x80100101u) /* loader only */
#define KELV_ERR_NOT_CONNECTED KELV_ERR(0x80200000u)
#define KELV_ERR_CONNECTION_RESERVED KELV_ERR(0x80200005u)
#define KELV_ERR_CONNECTION_LOST KELV_ERR(0x80200006u)
#define KELV_ERR_CONNECTION_TAKEN KELV_ERR(0x80200007u)  /* another program holds the phone */
#define KELV_ERR_MEDIA_NOT_ACTIVE KELV_ERR(0x8020000Du)  /* the phone does not offer its files */
#define KELV_ERR_ALL_LISTED KELV_ERR(0x80300000u)
#define KELV_ERR_MEMORY_FULL KELV_ERR(0x80300001u)
#define KELV_ERR_FILE_NAME_INVALID KELV_ERR(0x80400001u)
#define KELV_ERR_FILE_PATH_TOO_LONG KELV_ERR(0x80400002u)
#define KELV_ERR_FILE_EXISTS KELV_ERR(0x80400003u)
#define KELV_ERR_FILE_NOT_FOUND KELV_ERR(0x80400004u)
#define KELV_ERR_FILE_NOT_ALLOWED KELV_ERR(0x80400005u)
#define KELV_ERR_FILE_RESERVED KELV_ERR(0x80400007u)
#define KELV_ERR_FILE_TOO_BIG KELV_ERR(0x80400008u)
#define KELV_ERR_PC_FILE_NOT_ALLOWED KELV_ERR(0x8040000Au)
#define KELV_ERR_FOLDER_INVALID KELV_ERR(0x80500001u)
#define KELV_ERR_FOLDER_PATH_TOO_LONG KELV_ERR(0x80500002u)
#define KELV_ERR_FOLDER_NAME_INVALID KELV_ERR(0x80500003u)
#define KELV_ERR_FOLDER_EXISTS KELV_ERR(0x80500004u)
#define KELV_ERR_FOLDER_NOT_FOUND KELV_ERR(0x80500005u)
#define KELV_ERR_FOLDER_NOT_ALLOWED KELV_ERR(0x80500006u)
#define KELV_ERR_PC_FOLDER_NOT_ALLOWED KELV_ERR(0x80500008u)
#define KELV_ERR_DEVICE_LOCKED KELV_ERR(0x80700003u) /* unlock the phone */

/* ------------------------------------------------------------------ */
/* Options and states                                                  */

#define KELV_NOTIFY_REGISTER 16u
#define KELV_NOTIFY_UNREGISTER 32u

#define KELV_COPY_PHONE_TO_PC 2u
#define KELV_COPY_PC_TO_PHONE 4u
/* Added to either direction: a finished copy replaces an existing file of
 * that name in one step (rename), so until then the old file stays whole and
 * readable, and a failed, cancelled or interrupted copy leaves it as it was.
 * For a copy to the phone the old file's space counts as free for its
 * replacement. Without the flag an existing target is never replaced. */
#define KELV_COPY_REPLACE 0x100u

#define KELV_MEDIA_ANY 1u
#define KELV_MEDIA_SERIAL 2u
#define KELV_MEDIA_IRDA 4u
#define KELV_MEDIA_BLUETOOTH 8u
#define KELV_MEDIA_USB 16u

/* Status word of the device events. */
#define KELV_DEVICE_STATUS_CONNECTED 1u
#define KELV_DEVICE_STATUS_DISCONNECTED 2u
#define KELV_DEVICE_STATUS_CHANGED 4u

/* State code of IKelvFilesNotify::OnStateChanged during a copy; the value is
 * the percentage done (0 to 100), the two further words the bytes done
 * (low and high 32 bits). */
#define KELV_STATE_COPY_PROGRESS 512u

/* ------------------------------------------------------------------ */
/* Records                                                             */

typedef struct KelvSession_ *KELVHANDLE; /* opaque; never dereferenced */

typedef struct {
    uint32_t dwState;      /* 1: connected */
    uint32_t dwMedia;      /* KELV_MEDIA_... */
    const wchar_t *pstrDeviceName;
    uint32_t dwReserved1;
    uint32_t dwReserved2;
} KELV_CONNECTION_INFO;

typedef struct {
    wchar_t *pstrSerialNumber;
    wchar_t *pstrFriendlyName;
    wchar_t *pstrModel;
    wchar_t *pstrManufacturer;
    uint32_t dwNumberOfItems;
    KELV_CONNECTION_INFO *pItems;
} KELV_DEVICE_INFO;

typedef struct {
    uint32_t dwLowDateTime; /* 100 ns intervals since 1601-01-01 UTC */
    uint32_t dwHighDateTime;
} KELV_FILETIME;

typedef struct {
    wchar_t *pstrName;
    KELV_FILETIME tFileTime; /* last modification */
    uint32_t dwFileSize;     /* bytes; 0xFFFFFFFF for 4 GiB and more */
} KELV_FILE_INFO;

typedef struct {
    wchar_t *pstrName;
} KELV_FOLDER_INFO;

#ifdef __cplusplus
} /* extern "C" */

/* Device events. Implemented by the program; called on the thread that
 * registered the sink. The serial-number string belongs to the library and is
 * valid only during the call. */
class IKelvDevicesNotify
{
public:
    virtual void OnDeviceListUpdated() = 0;
    virtual void OnDeviceAdded(const wchar_t *pstrSN, uint32_t dwStatus) = 0;
    virtual void OnDeviceRemoved(const wchar_t *pstrSN, uint32_t dwStatus) = 0;
    virtual void OnDeviceUpdated(const wchar_t *pstrSN, uint32_t dwStatus) = 0;

protected:
    ~IKelvDevicesNotify() = default;
};

/* File-system events, called on the thread that runs the operation. */
class IKelvFilesNotify
{
public:
    virtual int32_t OnStateChanged(uint32_t dwState, uint32_t dwValue, uint32_t dwParam1, uint32_t dwParam2) = 0;
    virtual int32_t OnError(uint32_t dwError) = 0;
    virtual int32_t OnOperation(uint32_t dwParam1, uint32_t dwParam2, uint32_t dwParam3, uint32_t dwParam4) = 0;

protected:
    ~IKelvFilesNotify() = default;
};

extern "C" {
#else
typedef struct IKelvDevicesNotify IKelvDevicesNotify;
typedef struct IKelvFilesNotify IKelvFilesNotify;
#endif

/* ------------------------------------------------------------------ */
/* Functions. Each is declared and given a pointer type KELV_PFN_<name>.  */

#define KELV_DECLARE(ret, name, args) \
    KELVAPI ret name args;            \
    typedef ret(*KELV_PFN_##name) args;

/* Modules. Initialize fails with KELV_ERR_VERSION_NOT_SUPPORTED for a version
 * above KELV_API_VERSION. */
KELV_DECLARE(KELV_RESULT, KelvDevices_Initialize, (uint32_t dwVersion, uint32_t dwReserved))
KELV_DECLARE(KELV_RESULT, KelvDevices_Terminate, (uint32_t dwReserved))
KELV_DECLARE(uint32_t, KelvDevices_GetAPIVersion, (void))
KELV_DECLARE(KELV_RESULT, KelvFiles_Initialize, (uint32_t dwVersion, uint32_t dwReserved))
KELV_DECLARE(KELV_RESULT, KelvFiles_Terminate, (uint32_t dwReserved))
KELV_DECLARE(KELV_RESULT, KelvCommon_Initialize, (uint32_t dwVersion, uint32_t dwReserved))
KELV_DECLARE(KELV_RESULT, KelvCommon_Terminate, (uint32_t dwReserved))

/* KelvDevices. Sessions end with KELVCloseDM or when the module terminates. */
KELV_DECLARE(KELV_RESULT, KELVOpenDM, (KELVHANDLE * phDM))
KELV_DECLARE(KELV_RESULT, KELVCloseDM, (KELVHANDLE hDM))
KELV_DECLARE(KELV_RESULT, KELVRegisterDMNotifyIF, (KELVHANDLE hDM, uint32_t dwOption, IKelvDevicesNotify *pSink))
/* *pdwCount is the array size on input, the number of records filled on
 * output. Records are filled in the order of the phone folders' names,
 * then removable volumes, then MTP phones. */
KELV_DECLARE(KELV_RESULT, KELVGetDevices, (KELVHANDLE hDM, uint32_t *pdwCount, KELV_DEVICE_INFO *pDevices))
KELV_DECLARE(KELV_RESULT, KELVFreeDeviceStructure, (uint32_t dwCount, KELV_DEVICE_INFO *pDevices))

/* KelvFiles */
KELV_DECLARE(KELV_RESULT, KELVOpenFS,
             (const wchar_t *pstrSerialNumber, uint32_t *pdwMedia, KELVHANDLE *phFS, uint32_t *pdwDeviceID))
KELV_DECLARE(KELV_RESULT, KELVCloseFS, (KELVHANDLE hFS))
KELV_DECLARE(KELV_RESULT, KELVRegisterFSNotifyIF, (KELVHANDLE hFS, uint32_t dwOption, IKelvFilesNotify *pSink))
KELV_DECLARE(KELV_RESULT, KELVRefreshDeviceMemoryValues, (KELVHANDLE hFS))
/* Comma-separated memory types; release with KELVFreeString. */
KELV_DECLARE(KELV_RESULT, KELVGetMemoryTypes, (KELVHANDLE hFS, wchar_t **ppstrMemoryTypes))
/* Free bytes, capacity and used bytes of one memory type. */
KELV_DECLARE(KELV_RESULT, KELVGetMemoryValues,
             (KELVHANDLE hFS, const wchar_t *pstrMemoryType, int64_t *pFree, int64_t *pTotal, int64_t *pUsed))
/* Folders, then files, each in name order; both end with KELV_ERR_ALL_LISTED. */
KELV_DECLARE(KELV_RESULT, KELVFindBegin, (KELVHANDLE hFS, uint32_t dwOptions, KELVHANDLE *phFind, const wchar_t *pstrFolder))
KELV_DECLARE(KELV_RESULT, KELVFindNextFolder, (KELVHANDLE hFind, KELV_FOLDER_INFO *pFolderInfo))
KELV_DECLARE(KELV_RESULT, KELVFindNextFile, (KELVHANDLE hFind, KELV_FILE_INFO *pFileInfo))
KELV_DECLARE(KELV_RESULT, KELVFindEnd, (KELVHANDLE hFind))
KELV_DECLARE(KELV_RESULT, KELVCreateFolder, (KELVHANDLE hFS, const wchar_t *pstrFolderName, const wchar_t *pstrParentPath))
KELV_DECLARE(KELV_RESULT, KELVDeleteFile, (KELVHANDLE hFS, const wchar_t *pstrFileName, const wchar_t *pstrFolder))
/* dwOptions: KELV_COPY_PC_TO_PHONE or KELV_COPY_PHONE_TO_PC, optionally with
 * KELV_COPY_REPLACE. Blocks until the copy has finished, failed or been
 * cancelled. The file lands under its own name in the target folder, or not
 * at all: without KELV_COPY_REPLACE an existing target is never replaced
 * (KELV_ERR_FILE_EXISTS); with it, only a complete copy replaces the target
 * (a folder of that name: KELV_ERR_FILE_NOT_ALLOWED). A failed or cancelled
 * copy leaves nothing behind. A copy to the phone that cannot fit is refused
 * with KELV_ERR_MEMORY_FULL before anything is written. */
KELV_DECLARE(KELV_RESULT, KELVCopyFile,
             (KELVHANDLE hFS, uint32_t dwOptions, const wchar_t *pstrFileName, const wchar_t *pstrSourcePath,
              const wchar_t *pstrTargetPath))
/* pFileInfo->pstrName names the file (not released by the library);
 * dwFileSize receives the length of the buffer, which is released with
 * KELVFreeFileDataMemory. Only regular files of at most KELV_MAX_READ_SIZE
 * bytes are read. */
KELV_DECLARE(KELV_RESULT, KELVReadFile,
             (KELVHANDLE hFS, KELV_FILE_INFO *pFileInfo, unsigned char **ppData, uint32_t dwOptions,
              const wchar_t *pstrFolder))
KELV_DECLARE(KELV_RESULT, KELVFreeFileDataMemory, (unsigned char *pData))
/* Cancels the copy on hFS: the one running now, or else the next one, which
 * then ends with KELV_ERR_CANCELLED before writing anything. A cancel on a
 * handle holds until a copy on that handle has ended because of it, so a
 * cancel that comes while the copy is still being prepared is never lost.
 * Returns KELV_OK for any open handle (KELV_ERR_NOTHING_TO_CANCEL is no
 * longer returned). Any thread may call it. */
KELV_DECLARE(KELV_RESULT, KELVCancel, (KELVHANDLE hFS))
KELV_DECLARE(KELV_RESULT, KELVFreeFileInfoStructure, (KELV_FILE_INFO * pFileInfo))
KELV_DECLARE(KELV_RESULT, KELVFreeFolderInfoStructure, (KELV_FOLDER_INFO * pFolderInfo))

/* KelvCommon */
KELV_DECLARE(KELV_RESULT, KELVFreeString, (wchar_t * pstr))

#undef KELV_DECLARE

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* KELVRAAPI_H */
