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
    const QString usage = QStringLiteral("usage: tamselctl COMMAND [ARGS]\n\ncommands:\n  help    show this text\n");
    if (args.isEmpty() || args.first() == QLatin1String("help") || args.first() == QLatin1String("--help")) {
        out << usage;
        return args.isEmpty() ? 2 : 0;
    }
    err << "tamselctl: unknown command '" << args.first() << "'\n" << usage;
    return 2;
}
