#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The user's preferences. Every function opens the settings store anew, reads
// or writes one key and closes it again: nothing is cached, so a value written
// by one part of the program is what the next reader sees. Key names and
// defaults live only here, so two readers cannot disagree on a default.
// Any thread may call these functions.
namespace Settings {

namespace Key {
inline constexpr char ScanFolder[] = "Settings/ScanFolder";
inline constexpr char MyCollectionFolder[] = "Settings/MyCollectionFolder";
inline constexpr char WindowPosition[] = "MainWindow/Wposition";
inline constexpr char WindowSize[] = "MainWindow/Wsize";
inline constexpr char FullScreen[] = "MainWindow/FullScreen";
inline constexpr char Volume[] = "Settings/Volume";
inline constexpr char LastPhoneId[] = "Settings/LastPhoneID";
inline constexpr char Website[] = "Settings/Website";
inline constexpr char NoPhoneConnectedNotify[] = "Settings/NoPhoneConnectedNotify";
inline constexpr char OptimizedForPhoneNotify[] = "Settings/OptimizedForPhoneNotify";
inline constexpr char Quality[] = "Settings/Quality";
inline constexpr char DownloadToPhone[] = "Settings/DownloadToPhone";
inline constexpr char AdvSettings[] = "Settings/AdvSettings";
} // namespace Key

// Organisation and application name of the store.
inline constexpr char Organisation[] = "Orvak";
inline constexpr char Application[] = "Orvak Tamsel";

enum class Quality { Low = 0, Medium = 1, High = 2 };

// 2 is High, 1 is Medium, every other stored number converts with Low.
Quality qualityFromValue(int value);
// The prefix of the per-quality keys: "High", "Medium" or "Low".
QString qualityPrefix(Quality quality);

// One conversion profile as the advanced settings store it.
struct ProfileValues
{
    int fps = 15;
    int videoBitrate = 192; // kbit/s
    int width = 0;          // 0 keeps the source size
    int height = 0;
    bool audio = true;
    bool mono = false;
    int audioBitrate = 128; // kbit/s

    bool operator==(const ProfileValues &other) const;
};

ProfileValues defaultProfile(Quality quality);
ProfileValues profile(Quality quality);
void setProfile(Quality quality, const ProfileValues &values);
bool advancedProfiles();
void setAdvancedProfiles(bool on);

// Empty means the program has not been set up yet.
QString scanFolder();
// The folder a scan starts in: the stored one, else the user's documents.
QString scanFolderForScan();
void setScanFolder(const QString &folder);

// The user's video folder + "/Orvak Tamsel", created on disk when missing.
QString collectionDefaultFolder();
QString myCollectionFolder();
void setMyCollectionFolder(const QString &folder);

// Where the first-run set-up proposes to scan when nothing usable is stored.
QString systemDriveRoot();

// A 930 x 600 window centred on a screen with the given inclusive bounds.
QPoint defaultWindowPosition(const QRect &screen);
QPoint windowPosition(const QRect &screen);
QSize windowSize();
void setWindowGeometry(const QPoint &position, const QSize &size);
bool fullScreen();
void setFullScreen(bool on);

int volume();
void setVolume(int volume);
QString lastPhoneId();
void setLastPhoneId(const QString &serialNumber);
QString website();

bool noPhoneConnectedNotify();
void setNoPhoneConnectedNotify(bool show);
bool optimizedForPhoneNotify();
void setOptimizedForPhoneNotify(bool show);

int qualityValue();
Quality quality();
void setQuality(int value);

// -1 asks each time, 1 always copies a finished download to the phone, 0 never.
int downloadToPhone();
void setDownloadToPhone(int choice);

// Where the connectivity library of a module ("KelvFiles", "KelvDevices",
// "KelvCommon") is installed, from the system-wide store of the library's
// vendor (organisation "PC Kelvra Solution", application "API"), which the
// library's installer writes; empty when none is set.
QString connectivityLibraryPath(const QString &module);

} // namespace Settings
