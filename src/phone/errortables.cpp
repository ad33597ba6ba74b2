#include "apibase.h"

#include <QCoreApplication>

// Both tables are plain constant data, so they are complete before main()
// runs and before any translator is installed; the texts for the user are
// marked for translation here and translated when looked up.

namespace Orvak_API {
namespace {

// Texts D and I link to the maker's customer-service page. They are written
// out whole so that the translation tools see them.
const char TextA[] = QT_TRANSLATE_NOOP("API_Base",
    "Orvak Pelmora is not installed. To be able to use Orvak Tamsel, first install Orvak Pelmora on your PC.");
const char TextB[] = QT_TRANSLATE_NOOP("API_Base",
    "An unknown error occurred. \n\nSee the log file for more information.");
const char TextC[] = QT_TRANSLATE_NOOP("API_Base",
    "The connected phone is not responding. To continue, reconnect the phone to the PC.");
const char TextD[] = QT_TRANSLATE_NOOP("API_Base",
    "The connected device does not support this operation. Please contact <a href=\"https://www.orvak.example/care\">Orvak Care</a> to solve this problem.");
const char TextE[] = QT_TRANSLATE_NOOP("API_Base", "To continue, accept the operation on your phone");
const char TextF[] = QT_TRANSLATE_NOOP("API_Base",
    "Another Orvak Pelmora application is performing a task and reserves the connection. Please wait, and try "
    "again after a while. \n\nSee the log file for more information.");
const char TextG[] = QT_TRANSLATE_NOOP("API_Base",
    "The available memory on the PC is low. To free memory, close some of the running applications. \n\nSee the "
    "log file for more information.");
const char TextH[] = QT_TRANSLATE_NOOP("API_Base",
    "The phone memory is full. To be able to transfer files to the phone, first remove some files from the phone "
    "memory.");
const char TextI[] = QT_TRANSLATE_NOOP("API_Base",
    "The operation was rejected by the connected phone. To solve this problem, refer to the phone manual or "
    "contact <a href=\"https://www.orvak.example/care\">Orvak Care</a>. \n\nSee the log file for more information.");
const char TextJ[] = QT_TRANSLATE_NOOP("API_Base",
    "An error occurred during conversion, and the selected file \n\n%1\n\ncould not be converted. \n\nSee the log "
    "file for more information.");
const char TextK[] = QT_TRANSLATE_NOOP("API_Base",
    "The selected file cannot be opened (for playback), as it is being used by another application. To open the "
    "file, first close all the applications using it.");
const char TextL[] = QT_TRANSLATE_NOOP("API_Base",
    "The selected file cannot be opened, as audio or video codecs required are missing. To be able to open the "
    "file, first install the required codecs. \n\nSee the log file for more information.");
// A source cut short: said plainly, since "an error occurred" would not tell
// the user that the file itself is incomplete.
const char TextTruncated[] = QT_TRANSLATE_NOOP("API_Base",
    "The selected file \n\n%1\n\nends before its full length: it is damaged or was not copied completely, and "
    "could not be converted. \n\nSee the log file for more information.");

// Clearer texts for the user where the connectivity table's own row has only
// text B, or a text that sends the user the wrong way (a locked phone or one
// that is not sharing its files is not helped by reconnecting it): the user
// learns what happened and what to do. The rows themselves stay as they are,
// for the log readers and tools that know them.
struct ClearerText
{
    int32_t code;
    const char *friendlyText;
};

const ClearerText s_clearerTexts[] = {
    {int32_t(0x80100020u), QT_TRANSLATE_NOOP("API_Base",
        "The copy was cancelled. Nothing was changed on the phone or on the PC.")},
    {int32_t(0x80200007u), QT_TRANSLATE_NOOP("API_Base",
        "Another program on the PC is using the phone, for example a file manager showing the phone's files. Close "
        "that program or its window for the phone, then try again.")},
    {int32_t(0x8020000Du), QT_TRANSLATE_NOOP("API_Base",
        "The phone does not share its files with the PC. Unlock the phone, open its notification about USB and "
        "choose \"File transfer\", then try again.")},
    {int32_t(0x80700003u), QT_TRANSLATE_NOOP("API_Base",
        "The phone is locked. Unlock the phone and try again. If its files still cannot be reached, choose \"File "
        "transfer\" in the phone's USB notification.")},
    {int32_t(0x80400008u), QT_TRANSLATE_NOOP("API_Base",
        "The file is 4 GB or larger, and the selected memory cannot hold files that large (memory cards often "
        "cannot). Choose the phone memory in the settings and try again.")},
    {int32_t(0x80400001u), QT_TRANSLATE_NOOP("API_Base",
        "The file name contains characters that cannot be used on the phone, such as < > : \" / \\ | ? *. Rename "
        "the file and try again.")},
    {int32_t(0x80400003u), QT_TRANSLATE_NOOP("API_Base",
        "A file with the same name is already there, and it was left as it is. Rename or remove that file, then try "
        "again.")},
    {int32_t(0x80400004u), QT_TRANSLATE_NOOP("API_Base",
        "The file could not be found. It may have been moved, renamed or deleted.")},
    {int32_t(0x80500001u), QT_TRANSLATE_NOOP("API_Base",
        "The folder is not on the phone. If it is on a memory card, check that the card is in the phone.")},
    {int32_t(0x80500003u), QT_TRANSLATE_NOOP("API_Base",
        "The folder name contains characters that cannot be used on the phone, such as < > : \" / \\ | ? *. "
        "Choose another folder and try again.")},
    {int32_t(0x80500005u), QT_TRANSLATE_NOOP("API_Base",
        "The folder could not be found. It may have been moved, renamed or deleted.")},
};

const char TextNoVideoFolder[] = QT_TRANSLATE_NOOP("API_Base",
    "The phone has no folder for videos on the selected memory, and it cannot be created there. If that memory is "
    "a memory card, check that the card is in the phone; otherwise choose another memory in the settings.");

} // namespace

const ErrorRow connectivityErrorTable[] = {
    {int32_t(0x00000000u), int32_t(0x00000000u), QT_TRANSLATE_NOOP("API_Base", "Everything ok"),
     "Everything ok"},
    {int32_t(0x00000001u), int32_t(0x00000001u), QT_TRANSLATE_NOOP("API_Base", "Everything ok"),
     "Everything ok, given data is updated because memory parameters have been changed."},
    {int32_t(0x00000002u), int32_t(0x00000002u), QT_TRANSLATE_NOOP("API_Base", "Everything ok"),
     "Everything ok, given data is updated because files and memory values have been changed."},
    {int32_t(0x00000004u), int32_t(0x00000004u), QT_TRANSLATE_NOOP("API_Base", "Everything ok"),
     "Everything ok, given data is updated."},
    {int32_t(0x00000100u), int32_t(0x00000100u), TextE,
     "Everything ok, but consider confirmation from the phone."},
    {int32_t(0x00000101u), int32_t(0x00000101u), TextF,
     "Please wait until another program finishes operation with this connection"},
    {int32_t(0x80100000u), int32_t(0x80100000u), TextA,
     "DLL initialization failed. Reinstall application."},
    {int32_t(0x80100002u), int32_t(0x80100002u), TextA,
     "Failed to connect to System."},
    {int32_t(0x80100004u), int32_t(0x80100004u), TextA,
     "API is not initialized"},
    {int32_t(0x80100005u), int32_t(0x80100005u), TextA,
     "Failed, API version not supported"},
    {int32_t(0x80100006u), int32_t(0x80100006u), TextA,
     "Failed, manufacturer not supported"},
    {int32_t(0x80100010u), int32_t(0x80100010u), TextB,
     "Failed, unknown error"},
    {int32_t(0x80100011u), int32_t(0x80100011u), TextC,
     "Failed, unknown error from Device"},
    {int32_t(0x80100012u), int32_t(0x80100012u), TextB,
     "Required pointer is invalid"},
    {int32_t(0x80100013u), int32_t(0x80100013u), TextB,
     "Invalid Parameter value"},
    {int32_t(0x80100014u), int32_t(0x80100014u), TextB,
     "Invalid HANDLE"},
    {int32_t(0x80100015u), int32_t(0x80100015u), TextG,
     "Memory allocation failed in PC"},
    {int32_t(0x80100016u), int32_t(0x80100016u), TextB,
     "Failed, Called interface was marshalled for a different thread."},
    {int32_t(0x80100017u), int32_t(0x80100017u), TextB,
     "Failed, notification interface is already registered."},
    {int32_t(0x80100020u), int32_t(0x80100020u), TextB,
     "Operation canceled by KelvraAPI-User"},
    {int32_t(0x80100021u), int32_t(0x80100021u), TextB,
     "No running functions, or cancel was called too late."},
    {int32_t(0x80100022u), int32_t(0x80100022u), TextB,
     "Operation failed because of timeout"},
    {int32_t(0x80100023u), int32_t(0x80100023u), TextD,
     "Device does not support operation"},
    {int32_t(0x80100024u), int32_t(0x80100024u), TextA,
     "KelvraAPI does not support operation (not implemented)"},
    {int32_t(0x80100025u), int32_t(0x80100025u), TextB,
     "Item was not found"},
    {int32_t(0x80100100u), int32_t(0x80100100u), TextA,
     "Needed API module was not found from the system"},
    {int32_t(0x80100101u), int32_t(0x80100101u), TextA,
     "Called API function was not found from the loaded API module"},
    {int32_t(0x80200000u), int32_t(0x80200000u), TextC,
     "Given phone is not connected (refresh device list)"},
    {int32_t(0x80200001u), int32_t(0x80200001u), TextC,
     "Phone is connected but not via given Media"},
    {int32_t(0x80200002u), int32_t(0x80200002u), TextC,
     "Phone is not connected with given DevID"},
    {int32_t(0x80200003u), int32_t(0x80200003u), TextC,
     "Connection type was invalid"},
    {int32_t(0x80200004u), int32_t(0x80200004u), TextD,
     "Device does not support connection type"},
    {int32_t(0x80200005u), int32_t(0x80200005u), TextF,
     "Other application has reserved connection"},
    {int32_t(0x80200006u), int32_t(0x80200006u), TextC,
     "Connection to Device is lost"},
    {int32_t(0x80200007u), int32_t(0x80200007u), TextC,
     "Connection removed, another application has reserved connection."},
    {int32_t(0x80200008u), int32_t(0x80200008u), TextC,
     "Connection failed, unknown reason"},
    {int32_t(0x80200009u), int32_t(0x80200009u), TextC,
     "Connection removed, PC has gone to suspended state"},
    {int32_t(0x8020000Au), int32_t(0x8020000Au), TextC,
     "Friendly name already exists"},
    {int32_t(0x8020000Bu), int32_t(0x8020000Bu), TextC,
     "Failed, target media is active but it is not working (e.g. BT-hardware stopped or removed)"},
    {int32_t(0x8020000Cu), int32_t(0x8020000Cu), TextC,
     "Failed, cache is not available (KELVSearchDevices)"},
    {int32_t(0x8020000Du), int32_t(0x8020000Du), TextC,
     "Failed, target media is not active (or ready yet)"},
    {int32_t(0x8020000Eu), int32_t(0x8020000Eu), TextC,
     "Port opening failed (only when media is KELVAPI_MEDIA_SERIAL and COM port is changed)."},
    {int32_t(0x80200100u), int32_t(0x80200100u), TextC,
     "Failed, pairing failed"},
    {int32_t(0x80200101u), int32_t(0x80200101u), TextC,
     "Failed, wrong password on device."},
    {int32_t(0x80200102u), int32_t(0x80200102u), TextC,
     "Failed, password includes missing or invalid characters."},
    {int32_t(0x80300000u), int32_t(0x80300000u), TextB,
     "All items are listed"},
    {int32_t(0x80300001u), int32_t(0x80300001u), TextH,
     "Device memory full"},
    {int32_t(0x80400001u), int32_t(0x80400001u), TextB,
     "File name includes invalid characters in Device or PC"},
    {int32_t(0x80400002u), int32_t(0x80400002u), TextB,
     "Max unicode charaters in File name (includes current/target path) is limited to 256 charaters in device. (256 charaters includes two backlashs in begin of the path and one end of the path.)"},
    {int32_t(0x80400003u), int32_t(0x80400003u), TextB,
     "File already exists in Device or PC"},
    {int32_t(0x80400004u), int32_t(0x80400004u), TextB,
     "File does not exists in Device or PC"},
    {int32_t(0x80400005u), int32_t(0x80400005u), TextB,
     "Not allowed to perform required operation to file in Device"},
    {int32_t(0x80400006u), int32_t(0x80400006u), TextB,
     "Not allowed to perform required operation to file in Device"},
    {int32_t(0x80400007u), int32_t(0x80400007u), TextB,
     "Other application has reserved file in Device or PC"},
    {int32_t(0x80400008u), int32_t(0x80400008u), TextB,
     "Device rejected the operation because file size is too big"},
    {int32_t(0x80400009u), int32_t(0x80400009u), TextD,
     "Device rejected the operation because file type is unsupported"},
    {int32_t(0x8040000Au), int32_t(0x8040000Au), TextB,
     "Not allowed to perform required operation to file in PC"},
    {int32_t(0x8040000Bu), int32_t(0x8040000Bu), TextB,
     "File move or rename: File is copied to target path with new name but removing the source file failed."},
    {int32_t(0x8040000Cu), int32_t(0x8040000Cu), TextB,
     "Specified file content is not found (e.g. unknown file section or stored position)."},
    {int32_t(0x8040000Du), int32_t(0x8040000Du), TextB,
     "Specified file content supports old engine."},
    {int32_t(0x8040000Eu), int32_t(0x8040000Eu), TextB,
     "Specified file data is invalid."},
    {int32_t(0x80500000u), int32_t(0x80500000u), TextB,
     "Device's folder contains invalid data"},
    {int32_t(0x80500001u), int32_t(0x80500001u), TextB,
     "Current/Target folder is invalid in device (e.g MMC card removed)."},
    {int32_t(0x80500002u), int32_t(0x80500002u), TextB,
     "Current/Target folder max unicode character count is limited to 245 characters in the device. (245 characters includes two backslashes in begining of the path and one at the end of the path)"},
    {int32_t(0x80500003u), int32_t(0x80500003u), TextB,
     "Folder name includes invalid characters in Device or PC"},
    {int32_t(0x80500004u), int32_t(0x80500004u), TextB,
     "Folder already exists in target folder"},
    {int32_t(0x80500005u), int32_t(0x80500005u), TextB,
     "Folder not found (PC/Device)"},
    {int32_t(0x80500006u), int32_t(0x80500006u), TextB,
     "Not allowed to perform required operation to folder in Device"},
    {int32_t(0x80500007u), int32_t(0x80500007u), TextB,
     "Not allowed to perform required operation because folder is not empty"},
    {int32_t(0x80500008u), int32_t(0x80500008u), TextB,
     "Not allowed to perform required operation to folder in PC"},
    {int32_t(0x80600000u), int32_t(0x80600000u), TextB,
     "Can not start Device's installer (busy?)"},
    {int32_t(0x80700000u), int32_t(0x80700000u), TextI,
     "Failed, device rejected the operation. Maybe device's UI was not in IDLE state."},
    {int32_t(0x80700001u), int32_t(0x80700001u), TextB,
     "Failed, device's SA sync client is busy."},
    {int32_t(0x80700002u), int32_t(0x80700002u), TextI,
     "Failed, device rejected the operation. No permission."},
    {int32_t(0x80700003u), int32_t(0x80700003u), TextI,
     "Failed, device rejected the operation. Device is locked."},
    {int32_t(0x80700004u), int32_t(0x80700004u), TextI,
     "Failed, device rejected the operation. Maybe settings in Sync profile are wrong on Device."},
    {int32_t(0x80800001u), int32_t(0x80800001u), TextJ,
     "Invalid parameters passed to versit converter "},
    {int32_t(0x80800002u), int32_t(0x80800002u), TextJ,
     "Failed, trying to convert versit formats not supported in VersitConverter"},
    {int32_t(0x80800003u), int32_t(0x80800003u), TextJ,
     "Failed, validation of versit data not passed, contains invalid data"},
    // The program's own.
    {NoVideoFolderCode, NoVideoFolderCode, TextNoVideoFolder,
     "Folder not found (PC/Device): the parent of the target folder is not in the device"},
    {0, 0, TextB, ""},
};

const ErrorRow mediaErrorTable[] = {
    {int32_t(0x00000000u), int32_t(0x00000000u), QT_TRANSLATE_NOOP("API_Base", "Success"),
     "Success"},
    {int32_t(0x00000001u), int32_t(0x80004005u), TextK,
     "General file access problem occurred during the file open process."},
    {int32_t(0x00000002u), int32_t(0x80004005u), TextL,
     "Not supported file type"},
    {int32_t(0x00000003u), int32_t(0x00000000u), TextL,
     "Video codec cannot be found on the computer. If audio codec is available conversion can be performed with audio only."},
    {int32_t(0x00000004u), int32_t(0x00000000u), TextL,
     "Audio codec cannot be found on the computer. If video codec is available conversion can be performed with video only."},
    {int32_t(0x00000005u), int32_t(0x00000000u), TextB,
     "Warning! The file contains multiple audio streams. The converter will select one of these tracks."},
    {int32_t(0x00000006u), int32_t(0x00000000u), TextB,
     "Warning! The file contains multiple video streams. The converter will select one of these streams."},
    {int32_t(0x00000007u), int32_t(0x80004005u), TextG,
     "General memory failure error."},
    {int32_t(0x00000008u), int32_t(0x80004005u), TextK,
     "Error while trying to access the file."},
    {int32_t(0x00000009u), int32_t(0x80004005u), TextJ,
     "Conversion has been canceled."},
    {int32_t(0x0000000Au), int32_t(0x80004005u), TextJ,
     "Source file is the same format as the target output."},
    {int32_t(0x0000000Bu), int32_t(0x80004005u), TextJ,
     "Error with the waveout device."},
    {int32_t(0x0000000Cu), int32_t(0x80004005u), TextJ,
     "Volume control is not supported."},
    {int32_t(0x0000000Du), int32_t(0x80004005u), TextJ,
     "Target file is protected from saving"},
    {int32_t(0x0000000Eu), int32_t(0x80004005u), TextJ,
     "An internal error occurred"},
    {int32_t(0x0000000Fu), int32_t(0x80004005u), TextL,
     "Neither a suitable audio nor video codec can be found. File cannot be processed at all."},
    {int32_t(0x00000010u), int32_t(0x80004005u), TextD,
     "File format does not support screen rotation. Only 3GP files support screen rotation."},
    {int32_t(0x80040154u), int32_t(0x80004005u), TextA,
     "Orvak Video player COM object cannot be created. Check if Orvak Pelmora installed."},
    {int32_t(0x80040154u), int32_t(0x80004005u), TextA,
     "Orvak Video Converter COM object cannot be created. Check if Orvak Pelmora installed"},
    {int32_t(0x00000011u), int32_t(0x80004005u), TextTruncated,
     "The source file ends well before its stated length: it is truncated or damaged."},
    {0, 0, TextB, ""},
};

bool isEndRow(const ErrorRow &row)
{
    return row.code == 0 && row.secondCode == 0 && (!row.technicalText || !*row.technicalText);
}

const ErrorRow *findErrorRow(const ErrorRow *table, int32_t code)
{
    if (!table)
        return nullptr;
    for (const ErrorRow *row = table; !isEndRow(*row); ++row) {
        if (row->code == code)
            return row;
    }
    return nullptr;
}

QString friendlyText(const ErrorRow &row)
{
    return QCoreApplication::translate("API_Base", row.friendlyText);
}

QString friendlyText(const ErrorRow *table, const ErrorRow &row)
{
    if (table == connectivityErrorTable) {
        for (const ClearerText &clearer : s_clearerTexts) {
            if (clearer.code == row.code)
                return QCoreApplication::translate("API_Base", clearer.friendlyText);
        }
    }
    return friendlyText(row);
}

QString unknownErrorText()
{
    return QCoreApplication::translate("API_Base", TextB);
}

bool carriesConversionText(const ErrorRow &row)
{
    return row.friendlyText == TextJ || row.friendlyText == TextTruncated;
}

} // namespace Orvak_API
