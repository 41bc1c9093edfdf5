#include "MailModule.h"

#include "CommandTable.h"
#include "MailCheck.h"
#include "MailClientStarter.h"
#include "MailLogToggle.h"
#include "MonitorParts.h"
#include "TWait.h"

namespace {
// The monitor's client talks to port 110 and waits 3 seconds until the
// store says otherwise.
const QString kDesignPort = QStringLiteral("110");
constexpr int kDesignTimeout = 3;
} // namespace

MailModule::MailModule(Shell& shell, MailView& view, WaitDisplay* display)
    : m_shell(shell), m_view(view), m_display(display) {}

MailModule::~MailModule() = default;

void MailModule::attach(MonitorParts& parts, CommandTable& commands) {
    m_wait = std::make_unique<TWait>(parts.clock, m_display);
    m_pop3.setWait(m_wait.get());
    m_pop3.setPort(kDesignPort);
    m_pop3.setTimeOut(kDesignTimeout);
    m_check = std::make_unique<MailCheck>(parts, m_pop3, m_view);
    parts.features.mail = m_check.get();
    m_starter = std::make_unique<MailClientStarter>(parts, m_view, m_shell);
    commands.add({"Readmail", "mnuReadMail", "toolMailClient"},
                 [this] { m_starter->mnuReadMailClick(); });
    m_logToggle = std::make_unique<MailLogToggle>(parts.frame, m_view);
    commands.add({"Maillog1"}, [this] { m_logToggle->Maillog1Click(); });
}
