#include "CommandLine.h"

#include "CompanionSettings.h"

const char* const kCompanionUsage =
    "usage: companion --report [--registry FILE] [--output FILE] [--chart KIND]\n"
    "                          [--] [LOGFILE...]\n"
    "  --report        compile the log files of the stored slots (or the LOGFILEs, as\n"
    "                  slots 1, 2, ...) and write the usage report\n"
    "  --output FILE   write to FILE instead of standard output\n"
    "  --chart KIND    write the chart data lines of KIND instead of the report:\n"
    "                  0 time-users, 1 time-providers, 2 time-monthly,\n"
    "                  3 cost-users, 4 cost-providers, 5 cost-monthly\n"
    "  --              ends the options: every argument after it is a LOGFILE\n"
    "Message boxes become messages on standard error; the exit status is 1 when one\n"
    "of them reported a failure. Without --report the companion opens its window.\n";

namespace {

const QStringList kChartNames = {QStringLiteral("time-users"),     QStringLiteral("time-providers"),
                                 QStringLiteral("time-monthly"),   QStringLiteral("cost-users"),
                                 QStringLiteral("cost-providers"), QStringLiteral("cost-monthly")};

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
            return {Action::EndAtOnce, {}, {}, {}, {}};
        if (old == QLatin1String("AUTOMATION") || old == QLatin1String("EMBEDDING"))
            continue;
        if (a == QLatin1String("--report")) {
            report = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            line.action = Action::Help;
            return line;
        } else if (const auto out = optionValue(args, i, QStringLiteral("--output"))) {
            line.output = *out;
            if (out->isEmpty())
                line.error = QStringLiteral("--output needs a file name");
        } else if (const auto kind = optionValue(args, i, QStringLiteral("--chart"))) {
            line.chart = chartKind(*kind);
            if (!line.chart)
                line.error = QStringLiteral("unknown chart kind: %1").arg(*kind);
        } else if (a.startsWith(QLatin1String("--"))) {
            line.error = QStringLiteral("unknown option: %1").arg(a);
        } else {
            files.append(a);
        }
    }
    if (files.size() > CompanionSettings::kCompiledSlots)
        line.error = QStringLiteral("at most %1 log files").arg(CompanionSettings::kCompiledSlots);
    if (!files.isEmpty())
        line.files = files;
    if (!report) {
        // The window ignores every argument it does not know.
        return {Action::Window, {}, {}, {}, {}};
    }
    line.action = line.error.isEmpty() ? Action::Report : Action::Usage;
    return line;
}
