#include "DialdartDialler.h"

#include "DialStateText.h"
#include "EventKind.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "RasConstants.h"
#include "SessionState.h"
#include "Settings.h"
#include "WindowFrame.h"

namespace {

const QString kCollectFailure = QStringLiteral("Unable to collect the dialing parameters");

// Marks a dial as being prepared for as long as it lives.
class Preparing {
public:
    explicit Preparing(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Preparing() { m_flag = false; }
    Preparing(const Preparing&) = delete;
    Preparing& operator=(const Preparing&) = delete;

private:
    bool& m_flag;
};

// A failure code that ends the call: every one except 600 and 601, which only
// report. Codes below 600 are the connection sources' own and end a dial too.
bool endsTheCall(int error) {
    return error >= RasError::PortAlreadyOpen || error < RasError::First;
}

} // namespace

DialdartDialler::DialdartDialler(const MonitorParts& parts, CredentialsPrompt& prompt)
    : m_parts(parts), m_prompt(prompt) {}

void DialdartDialler::post(const QString& text, EventKind kind) {
    m_parts.events.PostEvent(text, kind);
}

void DialdartDialler::DialdartMenu() {
    if (m_handle != 0 || m_preparing)
        return;
    try {
        Dialdart(m_parts.settings.ReadText(kSettingsKey, QStringLiteral("Dialdart Using name"),
                                           QString()));
    } catch (const std::exception&) {
        post(m_parts.intl.IntlStr(4000), EventKind::Error);
    }
    m_parts.session.DialStarted = true;
}

void DialdartDialler::RunOnlyClick(const QString& entryName) {
    if (m_handle != 0 || m_preparing)
        return;
    Dialdart(entryName);
}

void DialdartDialler::Dialdart(const QString& entryName) {
    const Preparing preparing(m_preparing);
    m_parts.session.DialStarted = true;
    post(m_parts.intl.IntlStr(4010) + QLatin1Char('"') + entryName + QLatin1Char('"'),
         EventKind::Progress);
    DialCredentials credentials;
    if (const auto entry = entryNamed(entryName)) {
        credentials.userName = entry->userName;
        if (entry->passwordStored) {
            credentials.password = entry->password;
        } else {
            const auto typed = askCredentials(entryName, entry->userName);
            if (!typed) {
                post(m_parts.intl.IntlStr(4050), EventKind::Information);
                return;
            }
            credentials = *typed;
        }
    } else {
        post(kCollectFailure, EventKind::Error);
    }
    startDial(entryName, credentials);
}

std::optional<RasEntry> DialdartDialler::entryNamed(const QString& entryName) {
    QList<RasEntry> entries;
    if (m_parts.ras.enumEntries(entries) != 0)
        return std::nullopt;
    for (const RasEntry& entry : entries) {
        if (entry.name == entryName)
            return entry;
    }
    return std::nullopt;
}

std::optional<DialCredentials> DialdartDialler::askCredentials(const QString& entryName,
                                                               const QString& userName) {
    const IntlStrings& intl = m_parts.intl;
    const CredentialsPromptTexts texts{entryName, intl.IntlStr(4060), intl.IntlStr(4070),
                                       intl.IntlStr(1000), intl.IntlStr(1010)};
    return m_prompt.ask(texts, userName);
}

void DialdartDialler::startDial(const QString& entryName, const DialCredentials& credentials) {
    m_handle = 0;
    m_parts.frame.processPendingEvents();
    SetDialMenus(true);
    const std::uint64_t call = ++m_call;
    RasHandle handle = 0;
    const int error = m_parts.ras.dial(
        entryName, credentials.userName, credentials.password,
        [this, call](int state, int stepError) { DialCallback(call, state, stepError); }, handle);
    if (error != 0) {
        dialFailed(error);
        return;
    }
    m_handle = handle;
}

void DialdartDialler::dialFailed(int error) {
    // Nothing was started, so there is nothing to hang up and no report will
    // follow: the user hears of it here, and may dial again.
    if (error != RasError::UserDisconnection)
        post(DialStateText(RasState::OpenPort, error, m_parts.intl, m_parts.ras),
             EventKind::Warning);
    ++m_call;
    SetDialMenus(false);
}

void DialdartDialler::DialCallback(std::uint64_t call, int state, int error) {
    if (call != m_call)
        return;
    if (error == 0) {
        post(DialStateText(state, 0, m_parts.intl, m_parts.ras), EventKind::Progress);
        return;
    }
    // 631 is the user's own hang-up: nothing to tell.
    if (error != RasError::UserDisconnection)
        post(DialStateText(state, error, m_parts.intl, m_parts.ras), EventKind::Warning);
    if (endsTheCall(error))
        Disconnect1Click(Sender::Dialdart1);
}

void DialdartDialler::Disconnect1Click(Sender sender) {
    if (m_handle == 0)
        return;
    m_parts.ras.hangUp(m_handle);
    if (sender == Sender::Disconnect1)
        post(m_parts.intl.IntlStr(7000), EventKind::Information);
    m_handle = 0;
    ++m_call;
    SetDialMenus(false);
}

void DialdartDialler::SetDialMenus(bool dialling) {
    MonitorView& view = m_parts.view;
    for (const char* name : {"Disconnect1", "Disconnect2"})
        view.setCommandEnabled(QString::fromLatin1(name), dialling);
    for (const char* name : {"Dialdart1", "Connect2", "Dialdart2", "Connectusing1"})
        view.setCommandEnabled(QString::fromLatin1(name), !dialling);
}
