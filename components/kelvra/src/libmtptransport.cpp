// The MTP transport on libmtp. Kept thin: everything the library decides is
// in mtpdevices.cpp and mtpfs.cpp, which tests run against a scripted device.

#include "mtptransport.h"

#include <QDir>
#include <QFile>

#include <libmtp.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

namespace kelvra {
namespace {

QString fromC(char *text)
{
    // libmtp hands out malloc'd strings.
    const QString s = text ? QString::fromUtf8(text) : QString();
    std::free(text);
    return s;
}

QString readSysfs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.read(256)).trimmed();
}

// The USB serial number the kernel read from the device; it stays the same
// when the device cannot be opened.
QString usbSerial(uint32_t bus, uint8_t address)
{
    const QDir devices(QStringLiteral("/sys/bus/usb/devices"));
    const QStringList names = devices.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString &name : names) {
        const QString folder = devices.absoluteFilePath(name);
        if (readSysfs(folder + QStringLiteral("/busnum")).toUInt() == bus
            && readSysfs(folder + QStringLiteral("/devnum")).toUInt() == address)
            return readSysfs(folder + QStringLiteral("/serial"));
    }
    return QString();
}

// The object format the phone files a new object under; its gallery and
// player take videos of a video format.
LIBMTP_filetype_t fileType(const QString &name)
{
    const QString ext = name.section(QLatin1Char('.'), -1).toLower();
    if (ext == QLatin1String("mp4") || ext == QLatin1String("m4v") || ext == QLatin1String("3gp")
        || ext == QLatin1String("3g2"))
        return LIBMTP_FILETYPE_MP4;
    if (ext == QLatin1String("avi"))
        return LIBMTP_FILETYPE_AVI;
    if (ext == QLatin1String("wmv"))
        return LIBMTP_FILETYPE_WMV;
    if (ext == QLatin1String("mpg") || ext == QLatin1String("mpeg"))
        return LIBMTP_FILETYPE_MPEG;
    if (ext == QLatin1String("mov"))
        return LIBMTP_FILETYPE_QT;
    return LIBMTP_FILETYPE_UNKNOWN;
}

int progressThunk(uint64_t const sent, uint64_t const total, void const *const data)
{
    const auto *progress = static_cast<const MtpProgress *>(data);
    return progress && *progress && (*progress)(sent, total) ? 1 : 0;
}

class LibmtpConnection final : public MtpConnection
{
public:
    explicit LibmtpConnection(LIBMTP_mtpdevice_t *device) : m_device(device) {}
    ~LibmtpConnection() override { LIBMTP_Release_Device(m_device); }

    QString serialNumber() override { return fromC(LIBMTP_Get_Serialnumber(m_device)); }
    QString friendlyName() override { return fromC(LIBMTP_Get_Friendlyname(m_device)); }
    QString manufacturer() override { return fromC(LIBMTP_Get_Manufacturername(m_device)); }
    QString model() override { return fromC(LIBMTP_Get_Modelname(m_device)); }

    bool storages(QList<MtpStorage> &out) override
    {
        begin();
        if (LIBMTP_Get_Storage(m_device, LIBMTP_STORAGE_SORTBY_NOTSORTED) != 0) {
            // Storages that cannot be read at all: the phone is not in file
            // transfer mode (a locked phone answers with none).
            if (finish(MtpFailure::NotMtp))
                m_failure = MtpFailure::NotMtp;
            return false;
        }
        for (LIBMTP_devicestorage_t *s = m_device->storage; s; s = s->next) {
            MtpStorage storage;
            storage.id = s->id;
            storage.type = s->StorageType;
            storage.capacity = s->MaxCapacity;
            storage.free = s->FreeSpaceInBytes;
            storage.description = QString::fromUtf8(s->StorageDescription ? s->StorageDescription : "");
            out.append(storage);
        }
        return true;
    }

    bool list(uint32_t storage, uint32_t parent, QList<MtpObject> &out) override
    {
        begin();
        LIBMTP_file_t *files =
            LIBMTP_Get_Files_And_Folders(m_device, storage, parent == 0 ? LIBMTP_FILES_AND_FOLDERS_ROOT : parent);
        while (files) {
            MtpObject o;
            o.id = files->item_id;
            o.parent = files->parent_id;
            o.storage = files->storage_id;
            o.name = QString::fromUtf8(files->filename ? files->filename : "");
            o.size = files->filesize;
            o.modified = qint64(files->modificationdate);
            o.folder = files->filetype == LIBMTP_FILETYPE_FOLDER;
            out.append(o);
            LIBMTP_file_t *next = files->next;
            LIBMTP_destroy_file_t(files);
            files = next;
        }
        // An empty folder and a failure look alike but for the error stack.
        return finish(MtpFailure::Refused);
    }

    uint32_t createFolder(const QString &name, uint32_t parent, uint32_t storage) override
    {
        begin();
        QByteArray utf8 = name.toUtf8();
        const uint32_t id = LIBMTP_Create_Folder(m_device, utf8.data(), parent, storage);
        finish(MtpFailure::Refused);
        return id;
    }

    bool remove(uint32_t id) override
    {
        begin();
        return done(LIBMTP_Delete_Object(m_device, id) == 0);
    }

    bool rename(uint32_t id, const QString &name) override
    {
        begin();
        LIBMTP_file_t *file = LIBMTP_Get_Filemetadata(m_device, id);
        if (!file)
            return done(false);
        const bool ok = LIBMTP_Set_File_Name(m_device, file, name.toUtf8().constData()) == 0;
        LIBMTP_destroy_file_t(file);
        return done(ok);
    }

    bool send(int fd, MtpObject &object, const MtpProgress &progress) override
    {
        begin();
        LIBMTP_file_t *file = LIBMTP_new_file_t();
        file->filename = strdup(object.name.toUtf8().constData());
        file->filesize = object.size;
        file->parent_id = object.parent;
        file->storage_id = object.storage;
        file->modificationdate = time_t(object.modified);
        file->filetype = fileType(object.name);
        const bool ok = LIBMTP_Send_File_From_File_Descriptor(m_device, fd, file, progressThunk, &progress) == 0;
        object.id = file->item_id; // set once the device has made the object
        LIBMTP_destroy_file_t(file);
        return done(ok);
    }

    bool receive(uint32_t id, int fd, const MtpProgress &progress) override
    {
        begin();
        return done(LIBMTP_Get_File_To_File_Descriptor(m_device, id, fd, progressThunk, &progress) == 0);
    }

    MtpFailure failure() override { return m_failure; }
    QString failureText() override { return m_text; }

private:
    void begin()
    {
        LIBMTP_Clear_Errorstack(m_device);
        m_failure = MtpFailure::None;
        m_text.clear();
    }

    bool done(bool ok)
    {
        if (!ok && finish(MtpFailure::Refused))
            m_failure = MtpFailure::Refused;
        return ok;
    }

    // Reads the error stack: true when it was empty, else false with the
    // failure classified (otherwise when the stack says nothing precise).
    bool finish(MtpFailure otherwise)
    {
        LIBMTP_error_t *errors = LIBMTP_Get_Errorstack(m_device);
        if (!errors)
            return true;
        m_failure = otherwise;
        for (LIBMTP_error_t *e = errors; e; e = e->next) {
            if (!m_text.isEmpty())
                m_text += QStringLiteral("; ");
            m_text += QString::fromUtf8(e->error_text ? e->error_text : "");
            switch (e->errornumber) {
            case LIBMTP_ERROR_NO_DEVICE_ATTACHED:
            case LIBMTP_ERROR_USB_LAYER:
                m_failure = MtpFailure::Gone;
                break;
            case LIBMTP_ERROR_STORAGE_FULL:
                m_failure = MtpFailure::Full;
                break;
            case LIBMTP_ERROR_CANCELLED:
                m_failure = MtpFailure::Cancelled;
                break;
            case LIBMTP_ERROR_CONNECTING:
                m_failure = MtpFailure::Busy;
                break;
            default:
                break;
            }
        }
        if (m_text.contains(QLatin1String("too large"), Qt::CaseInsensitive))
            m_failure = MtpFailure::TooLarge;
        LIBMTP_Clear_Errorstack(m_device);
        return false;
    }

    LIBMTP_mtpdevice_t *m_device;
    MtpFailure m_failure = MtpFailure::None;
    QString m_text;
};

class LibmtpTransport final : public MtpTransport
{
public:
    LibmtpTransport()
    {
        static std::once_flag once;
        std::call_once(once, [] { LIBMTP_Init(); });
        // udev makes a node under /dev/bus/usb for each device plugged in
        // and removes it when the device goes: a hot-plug signal that needs
        // no further library.
        m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_inotify >= 0 && !watchBuses()) {
            ::close(m_inotify);
            m_inotify = -1;
        }
    }
    ~LibmtpTransport() override
    {
        if (m_inotify >= 0)
            ::close(m_inotify);
    }

    QList<MtpRawDevice> detect() override
    {
        QList<MtpRawDevice> out;
        LIBMTP_raw_device_t *raws = nullptr;
        int count = 0;
        if (LIBMTP_Detect_Raw_Devices(&raws, &count) != LIBMTP_ERROR_NONE)
            return out;
        for (int i = 0; i < count; ++i) {
            const LIBMTP_raw_device_t &raw = raws[i];
            MtpRawDevice device;
            device.key = QStringLiteral("%1:%2").arg(raw.bus_location).arg(raw.devnum);
            device.usbSerial = usbSerial(raw.bus_location, raw.devnum);
            device.vendor = QString::fromUtf8(raw.device_entry.vendor ? raw.device_entry.vendor : "");
            device.product = QString::fromUtf8(raw.device_entry.product ? raw.device_entry.product : "");
            device.vendorId = raw.device_entry.vendor_id;
            device.productId = raw.device_entry.product_id;
            out.append(device);
        }
        std::free(raws);
        return out;
    }

    std::unique_ptr<MtpConnection> open(const MtpRawDevice &device, MtpFailure &why) override
    {
        LIBMTP_raw_device_t *raws = nullptr;
        int count = 0;
        why = MtpFailure::Gone;
        if (LIBMTP_Detect_Raw_Devices(&raws, &count) != LIBMTP_ERROR_NONE)
            return nullptr;
        std::unique_ptr<MtpConnection> connection;
        for (int i = 0; i < count; ++i) {
            if (QStringLiteral("%1:%2").arg(raws[i].bus_location).arg(raws[i].devnum) != device.key)
                continue;
            if (LIBMTP_mtpdevice_t *opened = LIBMTP_Open_Raw_Device_Uncached(&raws[i]))
                connection = std::make_unique<LibmtpConnection>(opened);
            else
                why = MtpFailure::Busy; // most often a file manager holds the phone
            break;
        }
        std::free(raws);
        return connection;
    }

    int hotplugFd() override { return m_inotify; }

    void drainHotplug() override
    {
        alignas(inotify_event) char buffer[4096];
        while (::read(m_inotify, buffer, sizeof buffer) > 0) {
        }
        watchBuses(); // a new bus folder
    }

private:
    bool watchBuses()
    {
        const QString root = QStringLiteral("/dev/bus/usb");
        if (inotify_add_watch(m_inotify, "/dev/bus/usb", IN_CREATE | IN_DELETE | IN_ONLYDIR) < 0)
            return false;
        const QStringList buses = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString &bus : buses)
            inotify_add_watch(m_inotify, QFile::encodeName(root + QLatin1Char('/') + bus).constData(),
                              IN_CREATE | IN_DELETE);
        return true;
    }

    int m_inotify = -1;
};

} // namespace

std::shared_ptr<MtpTransport> makeLibmtpTransport()
{
    return std::make_shared<LibmtpTransport>();
}

} // namespace kelvra
