#include "DialModule.h"

#include "AfterConnectProgram.h"
#include "CommandTable.h"
#include "ConnectionMenus.h"
#include "DialdartDialler.h"
#include "MonitorParts.h"
#include "ViewCredentialsPrompt.h"

DialModule::DialModule(Shell& shell, CredentialsPrompt* prompt)
    : m_shell(shell), m_prompt(prompt) {}

DialModule::~DialModule() = default;

void DialModule::attach(MonitorParts& parts, CommandTable& commands) {
    parts.features.dial = this;
    if (!m_prompt) {
        m_viewPrompt = std::make_unique<ViewCredentialsPrompt>(parts.view);
        m_prompt = m_viewPrompt.get();
    }
    m_dialler = std::make_unique<DialdartDialler>(parts, *m_prompt);
    m_program = std::make_unique<AfterConnectProgram>(parts, m_shell);
    DialdartDialler* dialler = m_dialler.get();
    m_menus = std::make_unique<ConnectionMenus>(
        parts, commands, [dialler](const QString& entry) { dialler->RunOnlyClick(entry); });
    commands.add({"Disconnect1"},
                 [dialler] { dialler->Disconnect1Click(DialdartDialler::Sender::Disconnect1); });
    commands.add({"Disconnect2"},
                 [dialler] { dialler->Disconnect1Click(DialdartDialler::Sender::Disconnect2); });
}

void DialModule::DialdartMenu() {
    m_dialler->DialdartMenu();
}

void DialModule::SetDialMenus(bool dialling) {
    m_dialler->SetDialMenus(dialling);
}

void DialModule::ClearDialHandle() {
    m_dialler->ClearDialHandle();
}

void DialModule::RunAfterConnectProgram() {
    m_program->RunAfterConnectProgram();
}

void DialModule::PopulateConnections() {
    m_menus->PopulateConnections();
}
