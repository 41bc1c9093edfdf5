#include "SettingsLoader.h"

#include "ChimeTimer.h"
#include "ConnectionLogAppender.h"
#include "Converters.h"
#include "IntlStrings.h"
#include "MachineValues.h"
#include "MailPrograms.h"
#include "PopSecurity.h"
#include "RasApi.h"
#include "Settings.h"
#include "ShiftedText.h"

#include <cmath>

namespace {

constexpr int kLanguages = 10;
constexpr int kDefaultLanguage = 2;
constexpr int kShortestTimeout = 1;
constexpr int kLongestTimeout = 10;
constexpr int kDefaultTimeout = 3;
// Where the old system kept the provider's mail server; the default host.
const QString kInternetClientKey = QStringLiteral("Software\\Microsoft\\Internet ClientX");

QString text(const Settings& s, const char* name, const QString& def = QString()) {
    return s.ReadText(kSettingsKey, QString::fromLatin1(name), def);
}

bool flag(const Settings& s, const char* name, bool def) {
    return s.ReadFlag(kSettingsKey, QString::fromLatin1(name), def);
}

int integer(const Settings& s, const char* name, int def) {
    try {
        return int(StrToInt(text(s, name, QString::number(def))));
    } catch (const ConversionError&) {
        return def;
    }
}

// The stored text in fixed notation with the currency's decimals; a text
// that is no number is shown as it stands, for the user to mend.
QString money(const QString& stored, const FormatSettings& fmt) {
    try {
        return fmt.formatFixed(ParseDecimal(stored, fmt), fmt.currencyDecimals);
    } catch (const ConversionError&) {
        return stored;
    }
}

// More minutes than any computer has been on line: a value mangled by hand
// or by another program.
constexpr double kImplausibleMinutes = 1e15;

// This computer's time in whole minutes; a number too large to be a count
// of minutes is shown as stored, so that Apply does not write hundreds of
// digits back in its place.
QString pcTime(const Settings& s, double minutes) {
    if (std::abs(minutes) < kImplausibleMinutes)
        return QString::number(std::trunc(minutes), 'f', 0);
    const auto stored = s.store().readValue(RegRoot::LocalMachine, kMachineKey, kPcTotalTime);
    return stored ? stored->text : QString();
}

QString security(const QString& stored) {
    const auto parsed = PopSecurityText::parse(stored);
    return parsed ? PopSecurityText::name(*parsed) : stored;
}

void loadTariffAndDialdart(const Settings& s, SettingsValues& v) {
    v.showCost = flag(s, "Show cost", false);
    v.oneRate = flag(s, "One rate", true);
    v.rate = text(s, "Standard Rate", QStringLiteral("0.20"));
    v.resetEachMonth = flag(s, "Reset each month", false);
    v.runProgram = text(s, "Dialdart Run");
    v.dialdartIcon = flag(s, "Dialdart icon", false);
    v.oneClick = flag(s, "Dialdart oneclick", false);
    v.dialdartStatus = flag(s, "Dialdart Status", true);
}

void loadMail(const Settings& s, SettingsValues& v) {
    v.monitorMail = flag(s, "Monitor e-mail", false);
    v.popHost =
        text(s, "POP host", s.ReadText(kInternetClientKey, QStringLiteral("POP_server"), {}));
    v.popUser = text(s, "POP username");
    v.popPassword = ShiftedText::unshift(text(s, "POP PW"));
    v.popSecurity = security(text(s, "POP Security"));
    v.popTimeout =
        qBound(kShortestTimeout, integer(s, "POP_Timeout", kDefaultTimeout), kLongestTimeout);
}

void loadWarningsAndChimes(const Settings& s, const IntlStrings& intl, SettingsValues& v) {
    v.timeWarning = flag(s, "Warning", false);
    v.warningTime = text(s, "Warning Time", QStringLiteral("10"));
    v.costWarning = flag(s, "Cost Warning", false);
    v.warningCost = text(s, "Warning Cost", QStringLiteral("0.00"));
    v.daily = flag(s, "Warning Daily", false);
    v.warningMessage = text(s, "Warning Message", intl.IntlStr(6200));
    v.chime = flag(s, "Chime", false);
    v.chimePeriod = text(s, "Chime period", QStringLiteral("10"));
    v.remindBox = flag(s, "Remindbox", false);
    v.chimeFile = s.ReadText(kChimeSoundKey, QString(), QStringLiteral("ding.wav"));
}

void loadAdministration(const Settings& s, const FormatSettings& fmt, SettingsValues& v) {
    const MachineValues machine(s.store(), fmt);
    v.pcTime = pcTime(s, machine.ReadNumber(kPcTotalTime));
    v.pcCost = fmt.formatFixed(machine.ReadNumber(kPcTotalCost), fmt.currencyDecimals);
    v.userTime = text(s, "Connected", QStringLiteral("0"));
    v.userCost = money(text(s, "Connection Cost", QStringLiteral("0")), fmt);
    v.protectSettings = flag(s, "Protect propwnd", false);
    v.protectExit = flag(s, "Protect exitcmd", false);
}

} // namespace

namespace SettingsLoader {

bool loadEntries(RasApi& ras, const Settings& settings, SettingsValues& values) {
    values.entries.clear();
    values.entry = -1;
    QList<RasEntry> entries;
    if (ras.enumEntries(entries) != 0 || entries.size() > kMaxEntries)
        return false;
    for (const RasEntry& e : entries)
        values.entries << e.name;
    const int named = values.entries.indexOf(text(settings, "Dialdart Using name"));
    const int index = integer(settings, "Dialdart Using", 0);
    if (named >= 0)
        values.entry = named;
    else if (index >= 0 && index < values.entries.size())
        values.entry = index;
    return true;
}

void loadMailClients(const Settings& settings, SettingsValues& values) {
    try {
        values.mailClients = MailPrograms::names(settings.store());
        values.mailClient = text(settings, "Mail client");
        if (values.mailClient.isEmpty())
            values.mailClient = MailPrograms::defaultName(settings.store());
    } catch (const std::exception&) {
        // No list of programs is no reason to keep the dialog shut.
    }
    if (!values.mailClient.isEmpty() && !values.mailClients.contains(values.mailClient))
        values.mailClients << values.mailClient;
}

void loadValues(const Settings& settings, const IntlStrings& intl, const FormatSettings& formats,
                SettingsValues& values) {
    loadTariffAndDialdart(settings, values);
    loadMail(settings, values);
    loadWarningsAndChimes(settings, intl, values);
    loadAdministration(settings, formats, values);
    values.logFile = ConnectionLogAppender::storedLogFileName(settings.store());
    values.monitorXfer = flag(settings, "Monitor xfer", true);
    const int language = integer(settings, "Language", kDefaultLanguage);
    values.language = language >= 0 && language < kLanguages ? language : kDefaultLanguage;
}

} // namespace SettingsLoader
