#include "phonecommands.h"
#include "demophone.h"
#include "failures.h"

#include "apibase.h"
#include "errorcontexts.h"
#include "kelvra.h"
#include "kelvrapaths.h"

#include <QTextStream>

using namespace Orvak_API;

namespace {

// Checks library results the way the program does and prints a failure's
// two messages.
class Checker : public API_Base
{
public:
    explicit Checker(QTextStream &err) : m_err(err)
    {
        setErrorTable(connectivityErrorTable);
        connect(this, &API_Base::SignalErrorMessage, this,
                [this](const QString &, const QString &technical, const QString &friendly) {
                    printFailure(m_err, technical, friendly);
                });
    }

private:
    QTextStream &m_err;
};

QString mediaName(uint32_t media)
{
    switch (media) {
    case KELV_MEDIA_USB:
        return QStringLiteral("USB");
    case KELV_MEDIA_BLUETOOTH:
        return QStringLiteral("Bluetooth");
    case KELV_MEDIA_SERIAL:
    case KELV_MEDIA_IRDA:
        return QStringLiteral("serial");
    default:
        return QStringLiteral("media %1").arg(media);
    }
}

// The modules a command needs, terminated in reverse order.
class Modules
{
public:
    explicit Modules(Checker &check)
    {
        if (!check.checkResult(KelvLoader::initialize(KelvModule::Devices), QLatin1String(Context::DevicesInit), true))
            return;
        m_devices = true;
        if (!check.checkResult(KelvLoader::initialize(KelvModule::Files), QLatin1String(Context::FilesInit), true))
            return;
        m_files = true;
        m_common = check.checkResult(KelvLoader::initialize(KelvModule::Common),
                                     QStringLiteral("Orvak Common API: Initialization fault"), true);
    }
    ~Modules()
    {
        if (m_common)
            KelvLoader::terminate(KelvModule::Common);
        if (m_files)
            KelvLoader::terminate(KelvModule::Files);
        if (m_devices)
            KelvLoader::terminate(KelvModule::Devices);
    }
    bool ok() const { return m_devices && m_files && m_common; }

private:
    bool m_devices = false, m_files = false, m_common = false;
};

void printMemories(Checker &check, KELVHANDLE fs, QTextStream &out)
{
    // Drive names in memory order, from the phone's root.
    QStringList drives;
    KELVHANDLE find = nullptr;
    if (Kelv::FindBegin(fs, 0, &find, L"\\\\") == 0) {
        KELV_FOLDER_INFO folder{};
        while (Kelv::FindNextFolder(find, &folder) == 0) {
            drives << QString::fromWCharArray(folder.pstrName);
            Kelv::FreeFolderInfoStructure(&folder);
        }
        Kelv::FindEnd(find);
    }
    wchar_t *types = nullptr;
    check.checkResult(Kelv::RefreshDeviceMemoryValues(fs), QLatin1String(Context::RefreshMemory), true);
    if (!check.checkResult(Kelv::GetMemoryTypes(fs, &types), QLatin1String(Context::MemoryTypes), true))
        return;
    const QStringList list = QString::fromWCharArray(types).split(QLatin1Char(','));
    Kelv::FreeString(types);
    for (int i = 0; i < list.size(); ++i) {
        int64_t free = 0, total = 0, used = 0;
        if (!check.checkResult(Kelv::GetMemoryValues(fs, list.at(i).toStdWString().c_str(), &free, &total, &used),
                               QLatin1String(Context::MemoryValues), true))
            continue;
        out << "    " << drives.value(i, QStringLiteral("?")) << "  " << list.at(i) << ", " << free << " bytes free\n";
    }
}

} // namespace

namespace PhoneCommands {

int devices(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (!args.isEmpty()) {
        err << "usage: tamselctl devices\n";
        return 2;
    }
    Checker check(err);
    Modules modules(check);
    if (!modules.ok())
        return 1;
    KELVHANDLE dm = nullptr;
    if (!check.checkResult(Kelv::OpenDM(&dm), QLatin1String(Context::OpenDM), true))
        return 1;
    KELV_DEVICE_INFO records[32] = {};
    uint32_t count = 32;
    const bool listed = check.checkResult(Kelv::GetDevices(dm, &count, records), QLatin1String(Context::GetDevices));
    Kelv::CloseDM(dm);
    if (!listed)
        return 1;
    if (count == 0)
        out << "No phones attached.\n";
    int failures = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const KELV_DEVICE_INFO &d = records[i];
        uint32_t best = 0;
        for (uint32_t c = 0; c < d.dwNumberOfItems; ++c)
            best = std::max(best, d.pItems[c].dwMedia);
        out << QString::fromWCharArray(d.pstrSerialNumber) << "  " << QString::fromWCharArray(d.pstrFriendlyName)
            << "  (" << mediaName(best) << ")\n";
        KELVHANDLE fs = nullptr;
        uint32_t media = KELV_MEDIA_ANY, id = 0;
        if (!check.checkResult(Kelv::OpenFS(d.pstrSerialNumber, &media, &fs, &id), QLatin1String(Context::OpenFS), true)) {
            ++failures;
            continue;
        }
        printMemories(check, fs, out);
        failures += check.errorFlag();
        check.setErrorFlag(false);
        Kelv::CloseFS(fs);
    }
    Kelv::FreeDeviceStructure(count, records);
    return failures ? 1 : 0;
}

int demoPhone(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() > 1 || (!args.isEmpty() && args.first().startsWith(QLatin1Char('-')))) {
        err << "usage: tamselctl demo-phone [DIR]\n";
        return 2;
    }
    const QString devices = args.isEmpty() ? KelvraPaths::devicesFolder() : args.first();
    QString error;
    const QString folder = DemoPhone::create(devices, &error, err);
    if (folder.isEmpty()) {
        err << "The demo phone could not be created.\n(" << error << ")\n";
        return 1;
    }
    out << "Created the demo phone in " << folder << "\n";
    return 0;
}

} // namespace PhoneCommands
