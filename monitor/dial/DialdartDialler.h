#pragma once
// Dialdart: dials a phone-book entry through the connection source with the
// stored credentials or those typed into the credentials form, reports every
// step of the dial, hangs up a failed call, and holds the call it dialled
// until it is hung up or its session has ended.

#include "CredentialsPrompt.h"
#include "EventKind.h"
#include "MonitorParts.h"
#include "RasApi.h"

#include <QString>

#include <cstdint>
#include <optional>

class DialdartDialler {
public:
    // Who asks for a hang-up: the main menu's Disconnect item (which reports
    // it), the tray's, or a failed dial.
    enum class Sender { Disconnect1, Disconnect2, Dialdart1 };

    // parts and prompt outlive the dialler.
    DialdartDialler(const MonitorParts& parts, CredentialsPrompt& prompt);

    // Dials the entry named by "Dialdart Using name" unless a call is held.
    void DialdartMenu();
    // Dials entryName.
    void Dialdart(const QString& entryName);
    // An entry of the Connect or Connect using submenu; those are disabled
    // while a call is held, and so is this.
    void RunOnlyClick(const QString& entryName);
    // Hangs up the call Dialdart dialled; nothing when there is none.
    void Disconnect1Click(Sender sender);
    // true: the Disconnect items on, the dial items off; false the reverse.
    void SetDialMenus(bool dialling);
    // Forgets the call once its session has ended (however it ended).
    void ClearDialHandle() { m_handle = 0; }

    // The call held; 0 when none.
    RasHandle dialHandle() const { return m_handle; }

private:
    void DialCallback(std::uint64_t call, int state, int error);
    std::optional<RasEntry> entryNamed(const QString& entryName);
    std::optional<DialCredentials> askCredentials(const QString& entryName,
                                                  const QString& userName);
    void startDial(const QString& entryName, const DialCredentials& credentials);
    void dialFailed(int error);
    void post(const QString& text, EventKind kind);

    MonitorParts m_parts;
    CredentialsPrompt& m_prompt;
    RasHandle m_handle = 0;
    // Numbers the calls, so that the reports of a call hung up or replaced
    // since are not taken for those of the call held now.
    std::uint64_t m_call = 0;
    // A dial is being prepared (the credentials form may be open): a second
    // one waits for it to be over.
    bool m_preparing = false;
};
