#include "GuiSession.h"

#include "Clock.h"
#include "ConnectionSourceChoice.h"
#include "FormatSettings.h"
#include "MonitorApplication.h"
#include "MonitorCore.h"
#include "ProgramFolders.h"
#include "QtSoundPlayer.h"
#include "QtTranslations.h"
#include "RasApiFactory.h"
#include "RealTimeRunner.h"
#include "Settings.h"
#include "SimRasApi.h"
#include "SingleInstance.h"
#include "SqliteRegistryStore.h"
#include "StatusServer.h"
#include "StoreOpening.h"
#include "StringTable.h"
#include "TerminationSignals.h"
#include "TfrmTAPIMon.h"
#include "WindowFeatures.h"

#include <QMessageBox>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void fail(const QString& message) {
    const QByteArray bytes = ("tollwatch: " + message + '\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// The connection source of the run: a simulated one plays its scenario on
// the real clock from now on; a real one is made by the factory.
bool openSource(const CommandLine& cl, const Settings& settings, const Clock& clock,
                Scenario& scenario, std::unique_ptr<RasApi>& realSource) {
    try {
        const auto choice = ConnectionSourceChoice::choose(cl, settings);
        if (!choice.scenarioFile.isEmpty()) {
            scenario = Scenario::load(choice.scenarioFile).rebased(clock.now());
            return true;
        }
        QString error;
        realSource = createRasApi(choice.source, settings, &error);
        if (!realSource)
            fail(error);
        return realSource != nullptr;
    } catch (const ScenarioError& e) {
        fail(e.text());
    } catch (const CommandLineError& e) {
        fail(QString::fromUtf8(e.what()));
    }
    return false;
}

int secondStart(const CommandLine& cl, const QString& storeFile) {
    if (cl.explainSecondStart)
        QMessageBox::critical(
            nullptr, QStringLiteral("Tollwatch"),
            QStringLiteral("Please exit any running copies of Tollwatch and then try again."));
    SingleInstance::askRunningToShow(storeFile);
    return 0;
}

// The run's store; nullptr, with the exit status, when the run ends here.
std::unique_ptr<SqliteRegistryStore> openStore(const CommandLine& cl, const QString& storeFile,
                                               int& status) {
    try {
        return StoreOpening::open(storeFile, cl.freshStore, fail);
    } catch (const StoreInUseError&) {
        status = secondStart(cl, storeFile);
    } catch (const std::exception& e) {
        // Started from a menu, the program has no terminal to say it on.
        fail(QString::fromUtf8(e.what()));
        QMessageBox::critical(nullptr, QStringLiteral("Tollwatch"), QString::fromUtf8(e.what()));
        status = 2;
    }
    return nullptr;
}

} // namespace

namespace GuiSession {

int run(MonitorApplication& app, const CommandLine& cl, const QString& storeFile) {
    SystemClock clock;
    Scenario scenario;
    int endStatus = 0;
    const std::unique_ptr<SqliteRegistryStore> store = openStore(cl, storeFile, endStatus);
    if (!store)
        return endStatus;
    const Settings settings(*store);
    std::unique_ptr<RasApi> realSource;
    if (!openSource(cl, settings, clock, scenario, realSource))
        return 2;
    SingleInstance instance;
    if (!instance.claim(*store))
        return secondStart(cl, storeFile);
    StoreOpening::backUp(*store, fail);

    QApplication::setQuitOnLastWindowClosed(false);
    const FormatSettings formats = FormatSettings::system();
    QtSoundPlayer sound;
    MonitorCore* core = nullptr;
    TfrmTAPIMon window([&core](const QString& name) { core->click(name); },
                       [&core](int delta) { core->window().appmessage(delta); }, sound);
    SimRasApi sim(scenario, clock);
    RasApi& ras = realSource ? *realSource : static_cast<RasApi&>(sim);
    TimerChime chime;
    EventLoopControl control;
    const StringTable& table = StringTable::resource(QStringLiteral(":/strings/monitor.tsv"));
    QtTranslations translations(table);
    window.setLanguageHandler([&translations](int k) { translations.apply(k); });
    WindowFeatures features(window, *store);
    MonitorCore monitor({*store, formats, clock, window, window, ras, chime, MonitorFeatures{},
                         control, cl, nullptr, ProgramFolders::soundFolder(), features.modules()});
    core = &monitor;
    app.setExceptionHandler([&monitor](const QString& message) { monitor.AppException(message); });
    instance.setRequestHandler([&monitor] { monitor.SecondStartRequest(); });
    StatusServer statusServer(instance, monitor.statusBoard());
    TerminationSignals onSignal([&control] { control.requestTerminate(); });
    const RunHooks hooks{[] {}, [](const QString& text) { fail(text); },
                         [] {
                             ::_exit(Scenario::CrashExitStatus);
                         }};
    RealTimeRunner runner(monitor, realSource ? nullptr : &sim, clock, chime, control,
                          scenario.directives, hooks);
    runner.start();
    QApplication::exec();
    monitor.FormDestroy();
    app.setExceptionHandler({});
    return monitor.exitStatus();
}

} // namespace GuiSession
