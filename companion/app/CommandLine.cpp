#include "CommandLine.h"

#include "CompanionSettings.h"

#include <QCommandLineParser>

namespace {

const QStringList kChartNames = {QStringLiteral("time-users"),     QStringLiteral("time-providers"),
                                 QStringLiteral("time-monthly"),   QStringLiteral("cost-users"),
                                 QStringLiteral("cost-providers"), QStringLiteral("cost-monthly")};

const char* const kDescription =
    "Reads the monitor's connection logs into a connection list, usage tables, pie\n"
    "charts and a usage report: a window, or with --report no window and the report\n"
    "or its data on standard output.\n"
    "\n"
    "Switches, after \"/\" or \"-\" in any letter case:\n"
    "  REGSERVER, UNREGSERVER  end at once (nothing is registered)\n"
    "  AUTOMATION, EMBEDDING   change nothing";

const char* const kExitStatus =
    "\nExit status: 0 compiled and written; 1 a warning was raised (a log file that\n"
    "cannot be read, a report that ended early), or the output or the settings\n"
    "store could not be used; 2 the command line was not understood.\n";

const char* const kChartHelp = "With --report: the chart data lines of KIND instead of the "
                               "report: 0 time-users, 1 time-providers, 2 time-monthly, "
                               "3 cost-users, 4 cost-providers, 5 cost-monthly.";

CommandLine actionOnly(CommandLine::Action action) {
    CommandLine line;
    line.action = action;
    return line;
}

std::optional<CommandLine::Format> formatNamed(const QString& text) {
    const QString name = text.toLower();
    if (name == QLatin1String("text"))
        return CommandLine::Format::Text;
    if (name == QLatin1String("csv"))
        return CommandLine::Format::Csv;
    if (name == QLatin1String("json"))
        return CommandLine::Format::Json;
    return std::nullopt;
}

std::optional<ChartKind> chartKind(const QString& text) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        return ChartLines::kindFromNumber(number);
    const int named = int(kChartNames.indexOf(text.toLower()));
    return named < 0 ? std::nullopt : ChartLines::kindFromNumber(named);
}

// "/REGSERVER", "-unregserver": the old registration switches.
QString oldSwitch(const QString& argument) {
    if (argument.size() < 2 || (argument.at(0) != QLatin1Char('/') && argument.at(0) != '-'))
        return QString();
    return argument.mid(1).toUpper();
}

// "--name VALUE" or "--name=VALUE"; advances i past what it used.
std::optional<QString> optionValue(const QStringList& args, int& i, const QString& name) {
    const QString& a = args.at(i);
    if (a.startsWith(name + QLatin1Char('=')))
        return a.mid(name.size() + 1);
    if (a != name)
        return std::nullopt;
    if (i + 1 >= args.size())
        return QString();
    return args.at(++i);
}

// "--format", "--output" and "--chart" with their values; false for any
// other argument.
bool takeValueOption(const QStringList& args, int& i, CommandLine& line) {
    if (const auto format = optionValue(args, i, QStringLiteral("--format"))) {
        if (const auto named = formatNamed(*format))
            line.format = *named;
        else
            line.error = QStringLiteral("unknown format: %1 (text, csv or json)").arg(*format);
    } else if (const auto out = optionValue(args, i, QStringLiteral("--output"))) {
        line.output = *out;
        if (out->isEmpty())
            line.error = QStringLiteral("--output needs a file name");
    } else if (const auto kind = optionValue(args, i, QStringLiteral("--chart"))) {
        line.chart = chartKind(*kind);
        if (!line.chart)
            line.error = QStringLiteral("unknown chart kind: %1").arg(*kind);
    } else {
        return false;
    }
    return true;
}

// Why the options do not go together, the last mistake found; empty when
// they do.
QString combinationError(const CommandLine& line, qsizetype files) {
    QString error;
    if (line.format != CommandLine::Format::Text && line.chart)
        error = QStringLiteral("--chart writes chart lines; it does not go with --format");
    if (line.rows && line.format == CommandLine::Format::Text)
        error = QStringLiteral("--rows goes with --format csv or json");
    if (files > CompanionSettings::kCompiledSlots)
        error = QStringLiteral("at most %1 log files").arg(CompanionSettings::kCompiledSlots);
    return error;
}

} // namespace

CommandLine CommandLine::parse(const QStringList& args) {
    CommandLine line;
    QStringList files;
    bool report = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--")) {
            files += args.mid(i + 1); // a log named "-x.txt" or "--x" after it
            break;
        }
        const QString old = oldSwitch(a);
        if (old == QLatin1String("REGSERVER") || old == QLatin1String("UNREGSERVER"))
            return actionOnly(Action::EndAtOnce);
        if (old == QLatin1String("AUTOMATION") || old == QLatin1String("EMBEDDING"))
            continue;
        if (a == QLatin1String("--report")) {
            report = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            line.action = Action::Help;
            return line;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            line.action = Action::Version;
            return line;
        } else if (a == QLatin1String("--rows")) {
            line.rows = true;
        } else if (takeValueOption(args, i, line)) {
            continue;
        } else if (a.startsWith(QLatin1String("--"))) {
            line.error = QStringLiteral("unknown option: %1").arg(a);
        } else {
            files.append(a);
        }
    }
    if (const QString why = combinationError(line, files.size()); !why.isEmpty())
        line.error = why;
    if (!files.isEmpty())
        line.files = files;
    if (!report) {
        // The window ignores every argument it does not know.
        return actionOnly(Action::Window);
    }
    line.action = line.error.isEmpty() ? Action::Report : Action::Usage;
    return line;
}

QString companionHelpText() {
    // The parser only lays the text out: the options are read above, beside
    // the switches it does not know.
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    parser.addOptions({
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays this help.")},
        {{QStringLiteral("v"), QStringLiteral("version")},
         QStringLiteral("Displays version information.")},
        {QStringLiteral("registry"),
         QStringLiteral("The settings store (else $TOLLWATCH_REGISTRY, else "
                        "$XDG_CONFIG_HOME/varnholt/registry.sqlite)."),
         QStringLiteral("FILE")},
        {QStringLiteral("report"),
         QStringLiteral("Compiles the log files without a window and writes the usage report.")},
        {QStringLiteral("output"),
         QStringLiteral("With --report: write to FILE instead of standard output."),
         QStringLiteral("FILE")},
        {QStringLiteral("format"),
         QStringLiteral("With --report: text (the report as \"Save report\" writes it), csv or "
                        "json (the usage tables and the counters as data)."),
         QStringLiteral("FORMAT")},
        {QStringLiteral("rows"),
         QStringLiteral("With --format csv or json: every connection row as well.")},
        {QStringLiteral("chart"), QString::fromUtf8(kChartHelp), QStringLiteral("KIND")},
    });
    parser.addPositionalArgument(
        QStringLiteral("LOGFILE"),
        QStringLiteral("With --report: these files, as slots 1, 2, ... (at most 40), instead of "
                       "the stored slots. After --, every argument is a LOGFILE."),
        QStringLiteral("[LOGFILE...]"));
    QString text = parser.helpText();
    // The parser names the program by its path.
    return QStringLiteral("Usage: companion [options] [LOGFILE...]") +
           text.mid(text.indexOf(QLatin1Char('\n'))) + QString::fromUtf8(kExitStatus);
}
