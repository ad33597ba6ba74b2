#include "phonecommands.h"

#include <QCoreApplication>
#include <QTextStream>

// The command-line companion of the program: its subcommands drive the same
// code the program runs, for scripts and for checking things by hand.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tamselctl"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString usage = QStringLiteral("usage: tamselctl COMMAND [ARGS]\n\ncommands:\n"
                                         "  help              show this text\n"
                                         "  devices           list the attached phones and their memories\n"
                                         "  demo-phone [DIR]  create a demo phone in the devices folder (or DIR)\n");
    if (args.isEmpty() || args.first() == QLatin1String("help") || args.first() == QLatin1String("--help")) {
        out << usage;
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.first();
    if (command == QLatin1String("devices"))
        return PhoneCommands::devices(args.mid(1), out, err);
    if (command == QLatin1String("demo-phone"))
        return PhoneCommands::demoPhone(args.mid(1), out, err);
    err << "tamselctl: unknown command '" << args.first() << "'\n" << usage;
    return 2;
}
