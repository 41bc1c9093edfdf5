#include "CommandLine.h"

#include "SqliteRegistryStore.h"

#include <QCommandLineParser>

namespace {

const char* const kDescription =
    "Times and prices the connection that is up, keeps totals, writes one line per\n"
    "connection to its log and warns at limits: a status window and tray icon, or\n"
    "with --headless one line per occurrence on standard output.\n"
    "\n"
    "Switches, each a whole argument:\n"
    "  /I      first start after installation: application-menu entry and the\n"
    "          Monitor Wizard\n"
    "  /c, /C  dial the Dialdart entry at once and end when that call is over\n"
    "  /U      a start while the monitor runs also says why it ends";

const char* const kExitStatus =
    "\nExit status: 0 after an orderly end; 2 when the command line, the settings\n"
    "store or the connection source cannot be used; 3 when a connection's time or\n"
    "cost could not be stored before the end, or when --status finds no monitor\n"
    "running on the store.\n";

// The options of our own, in the order --help lists them.
struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Displays this help.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Displays version information.")};
    QCommandLineOption registry{QStringLiteral("registry"),
                                QStringLiteral("The settings store (else $TOLLWATCH_REGISTRY, else "
                                               "$XDG_CONFIG_HOME/varnholt/registry.sqlite)."),
                                QStringLiteral("FILE")};
    QCommandLineOption ras{QStringLiteral("ras"),
                           QStringLiteral("The connection source: auto, networkmanager, ppp or "
                                          "sim:FILE (a scenario file)."),
                           QStringLiteral("SOURCE")};
    QCommandLineOption headless{
        QStringLiteral("headless"),
        QStringLiteral("No window and no tray icon: one line per occurrence on standard output.")};
    QCommandLineOption trace{
        QStringLiteral("trace"),
        QStringLiteral("With --headless: also every text shown, beep and sound.")};
    QCommandLineOption freshStore{
        QString::fromLatin1(SqliteRegistryStore::kFreshStoreOption).mid(2),
        QStringLiteral("A settings store refused as damaged is kept as FILE.damaged and a new, "
                       "empty one takes its place.")};
    QCommandLineOption status{
        QStringLiteral("status"),
        QStringLiteral("Prints the state of the monitor running on the store: offline, dialling "
                       "or connected, this connection's time and cost, and the totals.")};
    QCommandLineOption json{QStringLiteral("json"),
                            QStringLiteral("With --status: one JSON object instead of the line.")};
    QCommandLineOption follow{
        QStringLiteral("follow"),
        QStringLiteral("With --status: a new line at every change, until interrupted.")};

    void addTo(QCommandLineParser& parser) const {
        parser.addOptions(
            {help, version, registry, ras, freshStore, headless, trace, status, json, follow});
    }
};

void describe(QCommandLineParser& parser, const Options& options) {
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    options.addTo(parser);
}

// What goes to the parser: "--" options with their values, "-h" and "-v".
// The switches are taken out, and any other argument is ignored, as the
// program always did.
QStringList optionArguments(const QStringList& arguments, CommandLine& cl) {
    QStringList forParser{QStringLiteral("tollwatch")};
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("/I"))
            cl.install = true;
        else if (a == QLatin1String("/c") || a == QLatin1String("/C"))
            cl.dialAndExit = true;
        else if (a == QLatin1String("/U"))
            cl.explainSecondStart = true;
        else if (a == QLatin1String("-h") || a == QLatin1String("-v"))
            forParser << a;
        else if (a.startsWith(QLatin1String("--"))) {
            forParser << a;
            // A value option's value goes along, whatever it looks like.
            if ((a == QLatin1String("--registry") || a == QLatin1String("--ras")) &&
                i + 1 < arguments.size())
                forParser << arguments.at(++i);
        }
    }
    return forParser;
}

void checkCombination(const CommandLine& cl) {
    if ((cl.json || cl.follow) && !cl.status)
        throw CommandLineError("--json and --follow go with --status");
    if (cl.status && cl.headless)
        throw CommandLineError("--status asks the running monitor; it does not go with "
                               "--headless");
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine cl;
    QCommandLineParser parser;
    const Options options;
    describe(parser, options);
    if (!parser.parse(optionArguments(arguments, cl))) {
        const QStringList unknown = parser.unknownOptionNames();
        const QString message = unknown.isEmpty()
                                    ? parser.errorText()
                                    : QStringLiteral("unknown option --") + unknown.first();
        throw CommandLineError(message.toStdString());
    }
    cl.help = parser.isSet(options.help);
    cl.version = parser.isSet(options.version);
    cl.headless = parser.isSet(options.headless);
    cl.trace = parser.isSet(options.trace);
    cl.registryFile = parser.value(options.registry);
    cl.connectionSource = parser.value(options.ras);
    cl.freshStore = parser.isSet(options.freshStore);
    cl.status = parser.isSet(options.status);
    cl.json = parser.isSet(options.json);
    cl.follow = parser.isSet(options.follow);
    if (!cl.help && !cl.version)
        checkCombination(cl);
    return cl;
}

QString CommandLine::helpText() {
    QCommandLineParser parser;
    const Options options;
    describe(parser, options);
    QString text = parser.helpText();
    // The parser names the program by its path; the switches are not options.
    const qsizetype firstLineEnd = text.indexOf(QLatin1Char('\n'));
    return QStringLiteral("Usage: tollwatch [options] [/I] [/c | /C] [/U]") +
           text.mid(firstLineEnd) + QString::fromUtf8(kExitStatus);
}
