#include "downloadcommand.h"

#include "interrupt.h"

#include "catalogue.h"
#include "downloadfinish.h"
#include "downloaditem.h"
#include "downloadmanager.h"
#include "downloadstates.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "taskitem.h"
#include "taskmanager.h"
#include "taskstates.h"

#include <QEventLoop>
#include <QTextStream>

namespace DownloadCommand {

namespace {

// Makes the phone with serial the catalogue's current phone, as selecting
// it in the window does, so that the copy task finds it.
bool selectPhone(const QString &serial, QTextStream &err)
{
    Orvak_API::PhoneManagement management;
    Orvak_API::PhonesInfo phones;
    management.getPhones(phones);
    Orvak_API::PhoneInfo *phone = phones.findBySerial(serial);
    if (!phone) {
        err << "tamselctl: no phone with the serial number " << serial << " is attached\n";
        return false;
    }
    Catalogue::instance().setCurrentPhone(phone);
    return true;
}

} // namespace

int download(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString link;
    QString serial;
    bool wrong = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--to-phone") && i + 1 < args.size() && serial.isEmpty())
            serial = args.at(++i);
        else if (link.isEmpty() && !arg.startsWith(QLatin1String("--")))
            link = arg;
        else
            wrong = true;
    }
    if (wrong || link.isEmpty()) {
        err << "usage: tamselctl download LINK [--to-phone SERIAL]\n";
        return 2;
    }
    if (!link.startsWith(QLatin1String("tmk://"), Qt::CaseInsensitive)) {
        err << "tamselctl: not a tmk:// link: " << link << "\n";
        return 2;
    }
    if (!serial.isEmpty() && !selectPhone(serial, err))
        return 1;

    QEventLoop loop;
    CTaskManager tasks;
    CDownloadManager manager;
    bool failed = false;
    bool cancelled = false;
    QString finalPath;
    CTaskItem *copy = nullptr;

    manager.setErrorReceiver(&loop, [&](const QString &, const QString &technical, const QString &friendly) {
        err << "\n" << friendly << "\n(" << technical << ")\n";
        err.flush();
        failed = true;
    });
    manager.setViewReceiver(&loop, [&](FileItem *item, bool final) {
        const int state = item->downloadState();
        if (!final) {
            const int percent = item->download->downloadPercent();
            err << "\rDownloading " << item->name() << ": "
                << (state == DownloadState::Downloading && percent >= 0 ? QString::number(percent) + QStringLiteral(" %")
                                                                         : item->download->downloadStateText());
            err.flush();
            return;
        }
        err << "\n";
        err.flush();
        if (state != DownloadState::Completed) {
            loop.quit();
            return;
        }
        // As the Downloads view does when it hears the end.
        const FinishedDownload finished = Downloads::finishDownload(item, &tasks);
        if (!finished.collectionItem) {
            loop.quit();
            return;
        }
        finalPath = finished.collectionItem->pc.path;
        if (!finished.copyQueued) {
            loop.quit();
            return;
        }
        copy = tasks.tasks().value(0);
        err << "Copying to the phone\n";
        err.flush();
    });
    tasks.setStateReceiver(&loop, [&] {
        if (copy && TaskState::isFinal(copy->state()))
            loop.quit();
    });

    Interrupt interrupt;
    QObject::connect(&interrupt, &Interrupt::requested, &loop, [&] {
        err << "\ncancelling\n";
        err.flush();
        cancelled = true;
        manager.cancelAll();
        tasks.cancelAll();
        loop.quit();
    });

    CDownloadItem *download = manager.add(link);
    download->setCopyToPhone(!serial.isEmpty());
    if (!TaskState::isFinal(download->state()) || (copy && !TaskState::isFinal(copy->state())))
        loop.exec();

    if (cancelled) {
        err << "tamselctl: download cancelled; nothing was kept\n";
        return 1;
    }
    if (failed || finalPath.isEmpty())
        return 1;
    out << finalPath << "\n";
    out.flush();
    if (copy && copy->state() != TaskState::CopyToPhoneDone) {
        err << "tamselctl: the copy to the phone failed\n";
        return 1;
    }
    return 0;
}

} // namespace DownloadCommand
