#include "SettingsDialog.h"

#include "ChimeTimer.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "RasApi.h"
#include "RunEntry.h"
#include "SessionState.h"
#include "SetPasswordSequence.h"
#include "Settings.h"
#include "SettingsLoader.h"
#include "SoundPlayer.h"

namespace {
const QString kEnumerationFailed =
    QStringLiteral("Failed to enumerate Remote Access entries, possibly due to a "
                   "misconfiguration in the Remote Access software.");
const QString kEditFailed = QStringLiteral("Failed to edit this Remote Access entry, possibly due "
                                           "to a misconfiguration in the Remote Access software.");
const QString kChimeFailed = QStringLiteral("Unable to play your computers chime sound.\rClick the "
                                            "browse button to select another sound file");
} // namespace

SettingsDialog::SettingsDialog(const SettingsDialogContext& context) : m_ctx(context) {}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::Show() {
    Settings& settings = m_ctx.tariff.settings;
    if (!SettingsLoader::loadEntries(m_ctx.ras, settings, m_values))
        m_ctx.view.messageBox(intl().IntlStr(240), kEnumerationFailed, BoxButtons::Ok,
                              BoxIcon::Warning, BoxAnswer::Ok);
    SettingsLoader::loadMailClients(settings, m_values);
    SettingsLoader::loadValues(settings, intl(), m_ctx.tariff.formats, m_values);
    m_byteCounters = m_ctx.ras.hasByteCounters();
    if (!m_byteCounters) {
        // Nothing to show: the line stays off until counters can be read.
        settings.WriteFlag(kSettingsKey, QStringLiteral("Monitor xfer"), false);
        m_values.monitorXfer = false;
    }
    m_values.autoload = !m_ctx.runEntry.read().isEmpty();
}

SettingsEnabling SettingsDialog::enabling() const {
    return SettingsEnabling::of(m_values, m_ctx.session.Online, m_byteCounters);
}

SettingsDialog::ApplyResult SettingsDialog::Apply(const std::function<void()>& recaption) {
    return SettingsApply(m_ctx, m_values).run(recaption);
}

void SettingsDialog::RatesStored() {
    m_values.rate = m_ctx.tariff.settings.ReadText(kSettingsKey, QStringLiteral("Standard Rate"),
                                                   m_values.rate);
}

bool SettingsDialog::ResetToZero() {
    if (m_ctx.view.messageBox(intl().IntlStr(240), intl().IntlStr(300), BoxButtons::YesNo,
                              BoxIcon::Warning, BoxAnswer::No) != BoxAnswer::Yes)
        return false;
    Settings& settings = m_ctx.tariff.settings;
    settings.WriteText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("0"));
    settings.WriteText(kSettingsKey, QStringLiteral("Connection Cost"), QStringLiteral("0"));
    m_values.userTime = QStringLiteral("0");
    m_values.userCost = QStringLiteral("0");
    return true;
}

void SettingsDialog::EditEntry() {
    const int i = m_values.entry;
    const QString entry =
        i >= 0 && i < m_values.entries.size() ? m_values.entries.at(i) : QString();
    if (m_ctx.ras.editEntry(entry) != 0)
        m_ctx.view.messageBox(intl().IntlStr(240), kEditFailed, BoxButtons::Ok, BoxIcon::Warning,
                              BoxAnswer::Ok);
}

void SettingsDialog::ChimeFileChosen(const QString& file) {
    m_values.chimeFile = file;
    WriteChimeSound(m_ctx.tariff.settings, file);
}

void SettingsDialog::PlayChime(SoundPlayer& player) {
    player.play(ChimeSoundPath(m_ctx.tariff.settings, m_ctx.soundFolder), [this](bool played) {
        if (!played)
            m_ctx.view.messageBox(QStringLiteral("Tollwatch"), kChimeFailed, BoxButtons::Ok,
                                  BoxIcon::Warning, BoxAnswer::Ok);
    });
}

void SettingsDialog::ProtectionTicked(bool checked) {
    if (checked && m_ctx.tariff.settings.ReadText(kSettingsKey, QStringLiteral("PW"), {}).isEmpty())
        SetPassword();
}

void SettingsDialog::SetPassword() {
    SetPasswordSequence(m_ctx.tariff.settings, intl(), m_ctx.password).run();
}

void SettingsDialog::ViewLog() {
    if (m_ctx.viewLog)
        m_ctx.viewLog();
}
