#include "settingsstore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace Settings {

namespace {

QVariant read(const char *key, const QVariant &defaultValue)
{
    QSettings store{QLatin1String(Organisation), QLatin1String(Application)};
    return store.value(QLatin1String(key), defaultValue);
}

void write(const char *key, const QVariant &value)
{
    QSettings store{QLatin1String(Organisation), QLatin1String(Application)};
    store.setValue(QLatin1String(key), value);
}

QString profileKey(Quality quality, const char *suffix)
{
    return QStringLiteral("Settings/") + qualityPrefix(quality) + QLatin1String(suffix);
}

} // namespace

Quality qualityFromValue(int value)
{
    switch (value) {
    case 2:
        return Quality::High;
    case 1:
        return Quality::Medium;
    default:
        return Quality::Low;
    }
}

QString qualityPrefix(Quality quality)
{
    switch (quality) {
    case Quality::High:
        return QStringLiteral("High");
    case Quality::Medium:
        return QStringLiteral("Medium");
    case Quality::Low:
        break;
    }
    return QStringLiteral("Low");
}

bool ProfileValues::operator==(const ProfileValues &o) const
{
    return fps == o.fps && videoBitrate == o.videoBitrate && width == o.width && height == o.height
        && audio == o.audio && mono == o.mono && audioBitrate == o.audioBitrate;
}

ProfileValues defaultProfile(Quality quality)
{
    ProfileValues values;
    switch (quality) {
    case Quality::High:
        values.videoBitrate = 384;
        break;
    case Quality::Medium:
        values.videoBitrate = 192;
        break;
    case Quality::Low:
        values.videoBitrate = 128;
        break;
    }
    return values;
}

ProfileValues profile(Quality quality)
{
    const ProfileValues d = defaultProfile(quality);
    QSettings store{QLatin1String(Organisation), QLatin1String(Application)};
    ProfileValues v;
    v.fps = store.value(profileKey(quality, "FPS"), d.fps).toInt();
    v.videoBitrate = store.value(profileKey(quality, "VideoBitrate"), d.videoBitrate).toInt();
    v.width = store.value(profileKey(quality, "Width"), d.width).toInt();
    v.height = store.value(profileKey(quality, "Height"), d.height).toInt();
    v.audio = store.value(profileKey(quality, "Audio"), d.audio).toBool();
    v.mono = store.value(profileKey(quality, "Mono"), d.mono).toBool();
    v.audioBitrate = store.value(profileKey(quality, "AudioBitrate"), d.audioBitrate).toInt();
    return v;
}

void setProfile(Quality quality, const ProfileValues &v)
{
    QSettings store{QLatin1String(Organisation), QLatin1String(Application)};
    store.setValue(profileKey(quality, "FPS"), v.fps);
    store.setValue(profileKey(quality, "VideoBitrate"), v.videoBitrate);
    store.setValue(profileKey(quality, "Width"), v.width);
    store.setValue(profileKey(quality, "Height"), v.height);
    store.setValue(profileKey(quality, "Audio"), v.audio);
    store.setValue(profileKey(quality, "Mono"), v.mono);
    store.setValue(profileKey(quality, "AudioBitrate"), v.audioBitrate);
}

bool advancedProfiles() { return read(Key::AdvSettings, false).toBool(); }
void setAdvancedProfiles(bool on) { write(Key::AdvSettings, on); }

QString scanFolder() { return read(Key::ScanFolder, QString()).toString(); }

QString scanFolderForScan()
{
    return read(Key::ScanFolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .toString();
}

void setScanFolder(const QString &folder) { write(Key::ScanFolder, folder); }

QString collectionDefaultFolder()
{
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    const QString folder = videos + QStringLiteral("/Orvak Tamsel");
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
    return folder;
}

QString myCollectionFolder()
{
    return read(Key::MyCollectionFolder, collectionDefaultFolder()).toString();
}

void setMyCollectionFolder(const QString &folder) { write(Key::MyCollectionFolder, folder); }

QString systemDriveRoot() { return QDir::homePath(); }

QPoint defaultWindowPosition(const QRect &screen)
{
    // Integer halving truncates toward zero, as for a screen left of the primary one.
    return QPoint((screen.left() + screen.right()) / 2 - 465, (screen.top() + screen.bottom()) / 2 - 300);
}

QPoint windowPosition(const QRect &screen)
{
    return read(Key::WindowPosition, defaultWindowPosition(screen)).toPoint();
}

QSize windowSize() { return read(Key::WindowSize, QSize(930, 601)).toSize(); }

void setWindowGeometry(const QPoint &position, const QSize &size)
{
    QSettings store{QLatin1String(Organisation), QLatin1String(Application)};
    store.setValue(QLatin1String(Key::WindowPosition), position);
    store.setValue(QLatin1String(Key::WindowSize), size);
}

bool fullScreen() { return read(Key::FullScreen, false).toBool(); }
void setFullScreen(bool on) { write(Key::FullScreen, on); }

int volume() { return read(Key::Volume, 50).toInt(); }
void setVolume(int value) { write(Key::Volume, value); }

QString lastPhoneId() { return read(Key::LastPhoneId, QString()).toString(); }
void setLastPhoneId(const QString &serialNumber) { write(Key::LastPhoneId, serialNumber); }

QString website()
{
    return read(Key::Website, QStringLiteral("https://videos.orvak.example/")).toString();
}

bool noPhoneConnectedNotify() { return read(Key::NoPhoneConnectedNotify, true).toBool(); }
void setNoPhoneConnectedNotify(bool show) { write(Key::NoPhoneConnectedNotify, show); }
bool optimizedForPhoneNotify() { return read(Key::OptimizedForPhoneNotify, true).toBool(); }
void setOptimizedForPhoneNotify(bool show) { write(Key::OptimizedForPhoneNotify, show); }

int qualityValue() { return read(Key::Quality, 1).toInt(); }
Quality quality() { return qualityFromValue(qualityValue()); }
void setQuality(int value) { write(Key::Quality, value); }

int downloadToPhone() { return read(Key::DownloadToPhone, -1).toInt(); }
void setDownloadToPhone(int choice) { write(Key::DownloadToPhone, choice); }

QString connectivityLibraryPath(const QString &module)
{
    QSettings store{QSettings::NativeFormat, QSettings::SystemScope, QStringLiteral("PC Kelvra Solution"),
                    QStringLiteral("API")};
    return store.value(module).toString();
}

} // namespace Settings
