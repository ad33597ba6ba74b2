// tamselctl's commands on one phone's files: they drive the program's own
// phone classes, so what they show and do is what the program shows and does.
#include "phonecommands.h"

#include "failures.h"
#include "interrupt.h"

#include "apibase.h"
#include "confserver.h"
#include "formats.h"
#include "phoneicon.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "videocapabilities.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>

#include <functional>
#include <memory>

using namespace Orvak_API;

namespace {

const wchar_t *const s_videoExtensions = L"3gp|3g2|mp4";

// The attached phone with one serial number, with its file system open, and
// what it took to get there. Failures have been printed when phone() is null.
class AttachedPhone
{
public:
    AttachedPhone(const QString &serial, QTextStream &err) : m_err(err)
    {
        if (m_management.lastResult() < 0) {
            // Start-up failures are recorded, not signalled: print them here.
            const ErrorRow *row = findErrorRow(connectivityErrorTable, m_management.lastCode());
            printFailure(err,
                         m_management.lastMessage() + QStringLiteral(": ")
                             + (row ? QString::fromUtf8(row->technicalText) : QStringLiteral("Unknown reason")),
                         row ? friendlyText(connectivityErrorTable, *row) : unknownErrorText());
            return;
        }
        watch(&m_management);
        if (!m_management.getPhones(m_phones) && m_management.lastResult() >= 0) {
            err << "tamselctl: no phone is attached\n";
            return;
        }
        PhoneInfo *phone = m_phones.findBySerial(serial);
        if (!phone) {
            if (m_management.lastResult() >= 0)
                err << "tamselctl: no phone with the serial number " << serial << " is attached\n";
            return;
        }
        if (!phone->fileSystem()) {
            printFailure(err, phone->lastMessage(), QStringLiteral("The phone's files cannot be reached."));
            return;
        }
        watch(phone);
        m_phone = phone;
    }

    PhoneInfo *phone() const { return m_phone; }
    int failures() const { return m_failures; }

private:
    void watch(API_Base *object)
    {
        QObject::connect(object, &API_Base::SignalErrorMessage, &m_context,
                         [this](const QString &, const QString &technical, const QString &friendly) {
                             ++m_failures;
                             printFailure(m_err, technical, friendly);
                         });
    }

    QTextStream &m_err;
    QObject m_context;
    PhoneManagement m_management;
    PhonesInfo m_phones;
    PhoneInfo *m_phone = nullptr;
    int m_failures = 0;
};

// Runs a copy on a worker thread, as the program does, with its progress on
// err and Ctrl+C as cancel.
bool runCopy(PhoneInfo *phone, const QString &what, QTextStream &err, const std::function<bool()> &copy)
{
    bool ok = false;
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&] { ok = copy(); }));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(phone, &PhoneInfo::copyProgressChanged, &loop, [&](int value) {
        err << "\r" << what << ": " << value << " %";
        err.flush();
    });

    // Ctrl+C cancels the copy, which leaves nothing half-copied behind.
    Interrupt interrupt;
    QObject::connect(&interrupt, &Interrupt::requested, &loop, [&] {
        err << "\ncancelling\n";
        err.flush();
        phone->cancel();
    });
    worker->start();
    loop.exec();
    worker->wait();
    // Progress and errors queued by the worker.
    QCoreApplication::sendPostedEvents();
    if (phone->lastProgress() > 0 || ok)
        err << "\n";
    err.flush();
    return ok;
}

bool parseMemory(const QString &text, int &memory)
{
    bool ok = false;
    memory = text.toInt(&ok);
    return ok && memory >= 0 && memory <= 21;
}

// "\\C:\Data\Videos\clip.mp4" into its folder and its name.
bool splitPhonePath(const QString &path, QString &folder, QString &name)
{
    const int cut = path.lastIndexOf(QLatin1Char('\\'));
    if (!path.startsWith(QLatin1String("\\\\")) || cut < 2)
        return false;
    folder = path.left(cut);
    name = path.mid(cut + 1);
    return !name.isEmpty() && folder.size() > 2;
}

QString qualityName(int quality)
{
    switch (quality) {
    case Phone_VideoCapabilities::Low:
        return QStringLiteral("Low");
    case Phone_VideoCapabilities::High:
        return QStringLiteral("High");
    default:
        return QStringLiteral("Medium");
    }
}

} // namespace

namespace PhoneCommands {

int ls(const QStringList &args, QTextStream &out, QTextStream &err)
{
    int memory = 0;
    if (args.isEmpty() || args.size() > 2 || (args.size() == 2 && !parseMemory(args.at(1), memory))) {
        err << "usage: tamselctl ls SERIAL [MEMORY]   (MEMORY 0 is the phone memory, 1 to 21 the cards)\n";
        return 2;
    }
    AttachedPhone attached(args.first(), err);
    if (!attached.phone())
        return 1;
    QList<PhoneFileEntry *> entries;
    attached.phone()->listMemoryFiles(entries, memory, s_videoExtensions);
    for (const PhoneFileEntry *e : std::as_const(entries))
        out << e->folder << "\\" << e->name << "  " << Formats::sizeText(e->size) << "  " << Formats::dateText(e->modified)
            << "\n";
    if (entries.isEmpty() && attached.failures() == 0)
        out << "No videos.\n";
    qDeleteAll(entries);
    return attached.failures() ? 1 : 0;
}

int push(const QStringList &args, QTextStream &out, QTextStream &err)
{
    int memory = 0;
    QStringList rest = args;
    const int option = rest.indexOf(QStringLiteral("--memory"));
    bool usable = option < 0 || (option + 1 < rest.size() && parseMemory(rest.at(option + 1), memory));
    if (option >= 0 && usable)
        rest.remove(option, 2);
    usable = usable && rest.size() == 2 && !rest.at(1).startsWith(QLatin1Char('-'));
    if (!usable) {
        err << "usage: tamselctl push SERIAL FILE [--memory N]\n";
        return 2;
    }
    const QFileInfo file(rest.at(1));
    if (!file.isFile()) {
        err << "tamselctl: " << rest.at(1) << " is not a file\n";
        return 1;
    }
    AttachedPhone attached(rest.first(), err);
    PhoneInfo *phone = attached.phone();
    if (!phone)
        return 1;
    const QString folder = phoneVideoFolder(memory);
    const bool ok = runCopy(phone, QStringLiteral("Copying ") + file.fileName(), err, [&] {
        return phone->copyFileToPhone(file.fileName(), file.absolutePath(), folder);
    });
    if (!ok)
        return 1;
    out << "Copied " << file.fileName() << " to " << folder << "\n";
    return 0;
}

int pull(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString folder, name;
    if (args.size() != 3 || !splitPhonePath(args.at(1), folder, name)) {
        err << "usage: tamselctl pull SERIAL PHONEPATH DIR   (PHONEPATH like \\\\C:\\Data\\Videos\\clip.mp4)\n";
        return 2;
    }
    const QFileInfo target(args.at(2));
    if (!target.isDir()) {
        err << "tamselctl: " << args.at(2) << " is not a folder\n";
        return 1;
    }
    AttachedPhone attached(args.first(), err);
    PhoneInfo *phone = attached.phone();
    if (!phone)
        return 1;
    const bool ok = runCopy(phone, QStringLiteral("Copying ") + name, err, [&] {
        return phone->copyFileToPC(name, folder, target.absoluteFilePath());
    });
    if (!ok)
        return 1;
    out << "Copied " << name << " to " << target.absoluteFilePath() << "\n";
    return 0;
}

int rm(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString folder, name;
    if (args.size() != 2 || !splitPhonePath(args.at(1), folder, name)) {
        err << "usage: tamselctl rm SERIAL PHONEPATH   (PHONEPATH like \\\\C:\\Data\\Videos\\clip.mp4)\n";
        return 2;
    }
    AttachedPhone attached(args.first(), err);
    if (!attached.phone() || !attached.phone()->deleteFile(name, folder))
        return 1;
    out << "Deleted " << args.at(1) << "\n";
    return 0;
}

int info(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: tamselctl info SERIAL\n";
        return 2;
    }
    AttachedPhone attached(args.first(), err);
    PhoneInfo *phone = attached.phone();
    if (!phone)
        return 1;
    const API_ConfServer conf(phone->serialNumber());
    Phone_VideoCapabilities caps;
    const bool complete = conf.readVideoCapabilities(caps);
    out << "Phone: " << phone->friendlyName() << " (" << phone->serialNumber() << ")\n";
    if (!conf.isLoaded())
        out << "Configuration files: not found, defaults shown\n";
    out << "Largest picture: " << caps.width << " x " << caps.height << (complete ? "" : " (default)") << "\n";
    out << "Maximum bit rate: " << caps.maxBitrate << " kbit/s\n";
    const QString folder = conf.phonePictureFolder();
    out << "Picture file: "
        << (caps.imageFile.isEmpty() ? QStringLiteral("none")
                                     : (folder.isEmpty() ? caps.imageFile : folder + QLatin1Char('\\') + caps.imageFile))
        << "\n";
    out << "Quality for a new phone: " << qualityName(newPhoneQuality(phone->serialNumber())) << "\n";
    const API_PhoneIcon icon(phone);
    QStringList sizes;
    for (const QImage &image : icon.images())
        sizes << QStringLiteral("%1x%2").arg(image.width()).arg(image.height());
    out << "Pictures: " << (sizes.isEmpty() ? QStringLiteral("none") : sizes.join(QStringLiteral(", "))) << "\n";
    return 0;
}

} // namespace PhoneCommands
