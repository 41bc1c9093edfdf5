#include "HeadlessFeatures.h"

#include "AutostartRunEntry.h"
#include "DesktopShell.h"
#include "DialModule.h"
#include "HeadlessMailView.h"
#include "HeadlessSettingsFrontEnd.h"
#include "HeadlessShell.h"
#include "HeadlessView.h"
#include "MailModule.h"
#include "ProgramFolders.h"
#include "SettingsModule.h"
#include "ShellModule.h"

#include <QCoreApplication>

struct HeadlessFeatures::Parts {
    Parts(HeadlessView& view, RegistryStore& store, bool virtualClock)
        : shell([&view](const QStringList& f) { view.record(QStringLiteral("shell"), f); },
                virtualClock ? nullptr : &desktop),
          shellModule({shell, nullptr, QCoreApplication::applicationFilePath(),
                       ProgramFolders::dataFolder(QStringLiteral("help"))}),
          runEntry(store, [this] { shellModule.syncAutostart(); }),
          settingsUi(view,
                     [&view](const QString& type, const QStringList& f) { view.record(type, f); }),
          settings(settingsUi, runEntry, QCoreApplication::applicationFilePath()), dial(shell),
          mailView(view), mail(shell, mailView) {}

    DesktopShell desktop;
    HeadlessShell shell;
    ShellModule shellModule;
    AutostartRunEntry runEntry;
    HeadlessSettingsFrontEnd settingsUi;
    SettingsModule settings;
    DialModule dial;
    HeadlessMailView mailView;
    MailModule mail;
};

HeadlessFeatures::HeadlessFeatures(HeadlessView& view, RegistryStore& store, bool virtualClock)
    : m_parts(std::make_unique<Parts>(view, store, virtualClock)) {}

HeadlessFeatures::~HeadlessFeatures() = default;

std::vector<FeatureModule*> HeadlessFeatures::modules() const {
    return {&m_parts->settings, &m_parts->dial, &m_parts->shellModule, &m_parts->mail};
}
