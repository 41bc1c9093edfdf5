#include "SettingsApply.h"

#include "ChimeTimer.h"
#include "Converters.h"
#include "DialdartIcon.h"
#include "IntlStrings.h"
#include "MachineValues.h"
#include "MonitorView.h"
#include "RunEntry.h"
#include "SessionState.h"
#include "Settings.h"
#include "ShiftedText.h"
#include "TRegistryEnhanced.h"

#include <cmath>

namespace {

const QString kTollwatch = QStringLiteral("Tollwatch");
const QString kChimeLabelKey = QStringLiteral("AppEvents\\Eventlabels\\Chime");

// A number read with the separator rules, truncated to a whole number.
qint64 truncated(const QString& text, const FormatSettings& fmt) {
    const double value = ParseDecimal(text, fmt);
    // Beyond this a whole number no longer fits; it is no limit anyone sets.
    constexpr double kLargest = 9.0e18;
    if (!std::isfinite(value) || std::fabs(value) >= kLargest)
        throw ConversionError(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return qint64(value);
}

} // namespace

void WriteChimeSound(Settings& settings, const QString& file) {
    settings.WriteText(kChimeLabelKey, QString(), QStringLiteral("Chime Sound"));
    settings.WriteText(kChimeSoundKey, QString(), file);
}

SettingsApply::SettingsApply(const SettingsDialogContext& context, const SettingsValues& values)
    : m_ctx(context), m_v(values), m_settings(context.tariff.settings) {}

void SettingsApply::write(const char* name, const QString& text) {
    m_settings.WriteText(kSettingsKey, QString::fromLatin1(name), text);
}

void SettingsApply::write(const char* name, bool flag) {
    m_settings.WriteFlag(kSettingsKey, QString::fromLatin1(name), flag);
}

SettingsApply::Result SettingsApply::run(const std::function<void()>& recaption) {
    try {
        machineValues();
        runEntry();
        mailAndDialdart();
        desktopIcon();
        choices();
        flags();
        write("Chime period", m_v.chimePeriod);
        // Without one rate the rates dialog owns the standard rate.
        if (m_v.oneRate)
            write("Standard Rate", m_v.rate);
        totals();
        chimeSound();
        warnings();
    } catch (const std::exception& e) {
        m_ctx.view.messageBox(kTollwatch, QString::fromUtf8(e.what()), BoxButtons::Ok,
                              BoxIcon::Error, BoxAnswer::Ok);
        return Result::Stopped;
    }
    if (recaption)
        recaption();
    return endForLoadOnDemand() ? Result::Exit : Result::Applied;
}

void SettingsApply::machineValues() {
    TRegistryEnhanced machine(m_settings.store());
    machine.RootKey = TRootKey::hkLocalMachine;
    machine.Key = kMachineKey;
    const QPair<QString, QString> values[] = {{kPcTotalTime, m_v.pcTime},
                                              {kPcTotalCost, m_v.pcCost},
                                              {QStringLiteral("Log Filename"), m_v.logFile}};
    for (const auto& [name, text] : values) {
        try {
            machine.WriteValue(name, text);
        } catch (const std::exception&) {
            // The machine-wide values may be read-only for this user.
        }
    }
}

void SettingsApply::runEntry() {
    if (m_v.autoload)
        m_ctx.runEntry.write(m_ctx.programPath);
    else
        m_ctx.runEntry.remove();
}

void SettingsApply::mailAndDialdart() {
    write("POP_Timeout", QString::number(m_v.popTimeout));
    write("Protect propwnd", m_v.protectSettings);
    write("Monitor e-mail", m_v.monitorMail);
    write("Protect exitcmd", m_v.protectExit);
    write("Dialdart Run", m_v.runProgram);
    write("Dialdart icon", m_v.dialdartIcon);
    write("POP host", m_v.popHost);
    write("POP username", m_v.popUser);
    write("POP Security", m_v.popSecurity);
    write("Mail client", m_v.mailClient);
}

void SettingsApply::desktopIcon() {
    try {
        m_ctx.dialdartIcon.setDialdartIcon(m_v.dialdartIcon);
    } catch (const std::exception&) {
        // Only a launcher that could not be made is reported; a stale one
        // left on the desktop does no harm.
        if (!m_v.dialdartIcon)
            return;
        const IntlStrings& intl = m_ctx.tariff.intl;
        m_ctx.view.messageBox(intl.IntlStr(2010), intl.IntlStr(140), BoxButtons::Ok, BoxIcon::Error,
                              BoxAnswer::Ok);
    }
}

void SettingsApply::choices() {
    write("Language", QString::number(m_v.language));
    write("POP PW", ShiftedText::shift(m_v.popPassword));
    // With no entry listed (the phone book could not be read) the stored
    // Dialdart entry stays as it is.
    if (m_v.entry >= 0 && m_v.entry < m_v.entries.size()) {
        write("Dialdart Using", QString::number(m_v.entry));
        write("Dialdart Using name", m_v.entries.at(m_v.entry));
    }
}

void SettingsApply::flags() {
    write("RemindBox", m_v.remindBox);
    write("Warning Daily", m_v.daily);
    write("Dialdart oneclick", m_v.oneClick);
    write("Warning", m_v.timeWarning);
    write("Cost Warning", m_v.costWarning);
    write("Dialdart Status", m_v.dialdartStatus);
    write("Chime", m_v.chime);
    write("Show cost", m_v.showCost);
    write("Monitor xfer", m_v.monitorXfer);
    write("One rate", m_v.oneRate);
    write("Reset each month", m_v.resetEachMonth);
}

void SettingsApply::totals() {
    // The connection in progress adds to these when it ends.
    if (m_ctx.session.Online)
        return;
    write("Connected", QString::number(StrToInt(m_v.userTime)));
    write("Connection cost", m_v.userCost);
}

void SettingsApply::chimeSound() {
    WriteChimeSound(m_settings, m_v.chimeFile);
}

void SettingsApply::warnings() {
    const FormatSettings& fmt = m_ctx.tariff.formats;
    write("Warning message", m_v.warningMessage);
    write("Warning time", QString::number(truncated(m_v.warningTime, fmt)));
    write("Warning cost", QString::number(truncated(m_v.warningCost, fmt)));
}

bool SettingsApply::endForLoadOnDemand() {
    if (!m_v.dialdartIcon)
        return false;
    const IntlStrings& intl = m_ctx.tariff.intl;
    if (m_ctx.view.messageBox(kTollwatch, intl.IntlStr(7010), BoxButtons::YesNo, BoxIcon::Warning,
                              BoxAnswer::No) != BoxAnswer::Yes)
        return false;
    m_ctx.view.messageBox(kTollwatch, intl.IntlStr(7020), BoxButtons::Ok, BoxIcon::Information,
                          BoxAnswer::Ok);
    if (m_ctx.endProgram)
        m_ctx.endProgram();
    return true;
}
