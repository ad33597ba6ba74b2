#include "downloadcommand.h"
#include "mediacommands.h"
#include "phonecommands.h"
#include "scancommand.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

// Every subcommand: its name, its arguments as the usage shows them, what it
// does, and the function that runs it (returning 0 done, 1 failed, 2 usage).
struct Command
{
    const char *name;
    const char *arguments;
    const char *summary;
    int (*run)(const QStringList &args, QTextStream &out, QTextStream &err);
};

const Command kCommands[] = {
    {"devices", "", "list the attached phones and their memories", PhoneCommands::devices},
    {"demo-phone", "[DIR]", "create a demo phone in the devices folder (or DIR)", PhoneCommands::demoPhone},
    {"probe", "FILE...", "length, size, frame rate and audio of videos, as a scan sees them", MediaCommands::probe},
    {"convert", "FILE [--quality low|medium|high] [--caps WxH@KBPS] [--out DIR]",
     "convert a video for the phone", MediaCommands::convert},
    {"scan", "DIR", "scan DIR for videos as the program does, one line per video found", ScanCommand::scan},
    {"ls", "SERIAL [MEMORY]", "list a phone memory's videos with size and date (0 phone memory, 1 to 21 cards)",
     PhoneCommands::ls},
    {"push", "SERIAL FILE [--memory N]", "copy a file into the phone's video folder of that memory", PhoneCommands::push},
    {"pull", "SERIAL PHONEPATH DIR", "copy a phone file (\\\\C:\\Data\\Videos\\clip.mp4) into a PC folder",
     PhoneCommands::pull},
    {"rm", "SERIAL PHONEPATH", "delete a phone file", PhoneCommands::rm},
    {"download", "LINK [--to-phone SERIAL]",
     "download a tmk:// link into My collection (and copy it to the phone)", DownloadCommand::download},
    {"info", "SERIAL", "the phone's video limits, the quality a new phone gets, its pictures", PhoneCommands::info},
};

QString usage()
{
    QString text = QStringLiteral("usage: tamselctl COMMAND [ARGS]\n\ncommands:\n  help\n      show this text\n");
    for (const Command &command : kCommands) {
        text += QStringLiteral("  %1 %2\n      %3\n")
                    .arg(QLatin1String(command.name), QLatin1String(command.arguments),
                         QLatin1String(command.summary));
    }
    return text;
}

} // namespace

// The command-line companion of the program: its subcommands drive the same
// code the program runs, for scripts and for checking things by hand.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tamselctl"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("help") || args.first() == QLatin1String("--help")) {
        out << usage();
        return args.isEmpty() ? 2 : 0;
    }
    for (const Command &command : kCommands) {
        if (args.first() == QLatin1String(command.name))
            return command.run(args.mid(1), out, err);
    }
    err << "tamselctl: unknown command '" << args.first() << "'\n" << usage();
    return 2;
}
