#include "WindowFeatures.h"

#include "AutostartRunEntry.h"
#include "DesktopShell.h"
#include "DialModule.h"
#include "MailModule.h"
#include "ProgramFolders.h"
#include "SettingsModule.h"
#include "ShellModule.h"
#include "TfrmAbout.h"
#include "TfrmCredentialsPrompt.h"
#include "TfrmTAPIMon.h"
#include "WaitIndicator.h"
#include "WidgetSettingsFrontEnd.h"
#include "WindowMailView.h"

#include <QCoreApplication>

struct WindowFeatures::Parts {
    Parts(TfrmTAPIMon& window, RegistryStore& store)
        : about(&window), shellModule({desktop, &about, QCoreApplication::applicationFilePath(),
                                       ProgramFolders::dataFolder(QStringLiteral("help"))}),
          runEntry(store, [this] { shellModule.syncAutostart(); }), settingsUi(&window),
          settings(settingsUi, runEntry, QCoreApplication::applicationFilePath()),
          credentials(&window), dial(desktop, &credentials), wait1(window.centralWidget()),
          mailView(*window.mailLog(), &window), mail(desktop, mailView, &wait1) {}

    DesktopShell desktop;
    DialogAbout about;
    ShellModule shellModule;
    AutostartRunEntry runEntry;
    WidgetSettingsFrontEnd settingsUi;
    SettingsModule settings;
    TfrmCredentialsPrompt credentials;
    DialModule dial;
    WaitIndicator wait1;
    WindowMailView mailView;
    MailModule mail;
};

WindowFeatures::WindowFeatures(TfrmTAPIMon& window, RegistryStore& store)
    : m_parts(std::make_unique<Parts>(window, store)) {}

WindowFeatures::~WindowFeatures() = default;

std::vector<FeatureModule*> WindowFeatures::modules() const {
    return {&m_parts->settings, &m_parts->dial, &m_parts->shellModule, &m_parts->mail};
}
