#include "GuiSession.h"

#include "Clock.h"
#include "FormatSettings.h"
#include "MonitorApplication.h"
#include "MonitorCore.h"
#include "QtSoundPlayer.h"
#include "RealTimeRunner.h"
#include "SimRasApi.h"
#include "SingleInstance.h"
#include "SqliteRegistryStore.h"
#include "TerminationSignals.h"
#include "TfrmTAPIMon.h"

#include <QMessageBox>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void fail(const QString& message) {
    const QByteArray bytes = ("tollwatch: " + message + '\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// The scenario of a simulated source, on the real clock from now on.
bool loadScenario(const CommandLine& cl, const Clock& clock, Scenario& scenario) {
    const QString file = cl.simulationFile();
    if (file.isEmpty())
        return true;
    try {
        scenario = Scenario::load(file).rebased(clock.now());
        return true;
    } catch (const ScenarioError& e) {
        fail(e.text());
        return false;
    }
}

int secondStart(const CommandLine& cl, SingleInstance& instance) {
    if (cl.explainSecondStart)
        QMessageBox::critical(
            nullptr, QStringLiteral("Tollwatch"),
            QStringLiteral("Please exit any running copies of Tollwatch and then try again."));
    instance.askRunningToShow();
    return 0;
}

} // namespace

namespace GuiSession {

int run(MonitorApplication& app, const CommandLine& cl, const QString& storeFile) {
    SystemClock clock;
    Scenario scenario;
    std::unique_ptr<SqliteRegistryStore> store;
    try {
        store = std::make_unique<SqliteRegistryStore>(storeFile);
    } catch (const std::exception& e) {
        fail(QString::fromUtf8(e.what()));
        return 2;
    }
    if (!loadScenario(cl, clock, scenario))
        return 2;
    SingleInstance instance(storeFile);
    if (!instance.claim())
        return secondStart(cl, instance);

    QApplication::setQuitOnLastWindowClosed(false);
    const FormatSettings formats = FormatSettings::system();
    QtSoundPlayer sound;
    MonitorCore* core = nullptr;
    TfrmTAPIMon window([&core](const QString& name) { core->click(name); },
                       [&core](int delta) { core->window().appmessage(delta); }, sound);
    SimRasApi ras(scenario, clock);
    UnbuiltFeatures features;
    UnbuiltFeatures::disableCommands(window);
    TimerChime chime;
    EventLoopControl control;
    MonitorCore monitor({*store, formats, clock, window, window, ras, chime,
                         MonitorFeatures::allFrom(features), control, cl, nullptr,
                         QCoreApplication::applicationDirPath()});
    core = &monitor;
    app.setExceptionHandler([&monitor](const QString& message) { monitor.AppException(message); });
    instance.setRequestHandler([&monitor] { monitor.SecondStartRequest(); });
    TerminationSignals onSignal([&control] { control.requestTerminate(); });
    const RunHooks hooks{[] {}, [](const QString& text) { fail(text); },
                         [] {
                             ::_exit(Scenario::CrashExitStatus);
                         }};
    RealTimeRunner runner(monitor, &ras, clock, chime, control, scenario.directives, hooks);
    runner.start();
    QApplication::exec();
    monitor.FormDestroy();
    app.setExceptionHandler({});
    return 0;
}

} // namespace GuiSession
