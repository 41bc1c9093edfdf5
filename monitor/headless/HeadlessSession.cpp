#include "HeadlessSession.h"

#include "ApplicationControl.h"
#include "Clock.h"
#include "ConnectionSourceChoice.h"
#include "FormatSettings.h"
#include "HeadlessFeatures.h"
#include "HeadlessView.h"
#include "MonitorCore.h"
#include "ProgramFolders.h"
#include "RasApiFactory.h"
#include "RealTimeRunner.h"
#include "Settings.h"
#include "SimRasApi.h"
#include "SingleInstance.h"
#include "SqliteRegistryStore.h"
#include "StatusServer.h"
#include "StoreOpening.h"
#include "TerminationSignals.h"
#include "VirtualRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// The real time a wait on the virtual clock gives a real server per second
// of the wait: as long as a wait on the real clock would.
constexpr int kVirtualWaitPatienceMs = 1000;

void writeLine(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void fail(const QString& message) {
    const QByteArray bytes = ("tollwatch: " + message + '\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

[[noreturn]] void crash() {
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(Scenario::CrashExitStatus);
}

// Everything one headless run is made of, in the order it is built.
struct HeadlessRun {
    std::unique_ptr<SqliteRegistryStore> store;
    // Declared after the store: a real source reads its settings until the end.
    std::unique_ptr<Settings> settings;
    Scenario scenario;
    // A real source (NetworkManager, ppp); without one the scenario's sim runs.
    std::unique_ptr<RasApi> realSource;
    QString connectionSource;
    std::unique_ptr<ManualClock> virtualClock;
    SystemClock systemClock;
    FormatSettings formats = FormatSettings::system();
    // Another run holds the store: this start only asks it for its window.
    bool storeInUse = false;

    Clock& clock() { return virtualClock ? static_cast<Clock&>(*virtualClock) : systemClock; }
};

bool openRealSource(const QString& source, HeadlessRun& run) {
    QString error;
    run.realSource = createRasApi(source, *run.settings, &error);
    if (!run.realSource) {
        fail(error);
        return false;
    }
    run.connectionSource =
        QStringLiteral("Connection source: %1").arg(run.realSource->backendName());
    if (source == QLatin1String("auto"))
        run.connectionSource += QStringLiteral(" (chosen automatically)");
    return true;
}

bool prepare(const CommandLine& cl, const QString& storeFile, HeadlessRun& run) {
    try {
        try {
            run.store = StoreOpening::open(storeFile, cl.freshStore, fail);
        } catch (const StoreInUseError&) {
            run.storeInUse = true;
            return true;
        }
        run.settings = std::make_unique<Settings>(*run.store);
        const auto choice = ConnectionSourceChoice::choose(cl, *run.settings);
        if (!choice.scenarioFile.isEmpty()) {
            run.scenario = Scenario::load(choice.scenarioFile);
            run.connectionSource =
                QStringLiteral("Connection source: sim (%1)").arg(choice.scenarioFile);
        } else if (!openRealSource(choice.source, run)) {
            return false;
        }
    } catch (const ScenarioError& e) {
        fail(e.text());
        return false;
    } catch (const std::exception& e) {
        fail(QString::fromUtf8(e.what()));
        return false;
    }
    if (run.scenario.clockStart) {
        run.virtualClock = std::make_unique<ManualClock>(*run.scenario.clockStart);
        run.virtualClock->setWaitPatience(kVirtualWaitPatienceMs);
    } else {
        run.scenario = run.scenario.rebased(run.systemClock.now());
    }
    return true;
}

int secondStart(const CommandLine& cl, HeadlessView& view, const QString& storeFile) {
    if (cl.explainSecondStart)
        view.messageBox(
            QStringLiteral("Tollwatch"),
            QStringLiteral("Please exit any running copies of Tollwatch and then try again."),
            BoxButtons::Ok, BoxIcon::Error, BoxAnswer::Ok);
    if (!SingleInstance::askRunningToShow(storeFile))
        view.info(QStringLiteral("the running monitor did not answer"));
    return 0;
}

// What the virtual and the real-time runs share: the services of the run.
struct HeadlessServices {
    const CommandLine& cl;
    HeadlessRun& run;
    HeadlessView& view;
    SingleInstance& instance;
    RasApi& ras;
    StatusServer* status = nullptr; // while the core runs
};

// An "await-status" line: the virtual clock stands still until a status
// request was answered, so that what it saw is known to the second.
void awaitStatus(HeadlessServices& s, const ApplicationControl& control) {
    bool answered = false;
    const auto connection =
        QObject::connect(s.status, &StatusServer::answered, [&answered] { answered = true; });
    s.view.info(QStringLiteral("waiting for a status request"));
    while (!answered && !control.terminateRequested())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QObject::disconnect(connection);
}

// Runs body with the monitor core on the given chime and control, answering a
// second start and ending in order on SIGTERM or SIGINT.
template <typename Body>
int withCore(HeadlessServices& s, ChimeSwitch& chime, ApplicationControl& control, Body body) {
    HeadlessFeatures features(s.view, *s.run.store, s.run.virtualClock != nullptr);
    MonitorCore core({*s.run.store, s.run.formats, s.run.clock(), s.view, s.view, s.ras, chime,
                      MonitorFeatures{}, control, s.cl, &s.view, ProgramFolders::soundFolder(),
                      features.modules()});
    s.instance.setRequestHandler([&core, &s] {
        s.view.info(QStringLiteral("another start asked for the window"));
        core.SecondStartRequest();
    });
    StatusServer statusServer(s.instance, core.statusBoard());
    s.status = &statusServer;
    TerminationSignals onSignal([&control] { control.requestTerminate(); });
    // The first line goes out only now, so whoever waits for it may stop the
    // run in order from then on.
    s.view.info(s.run.connectionSource);
    return body(core);
}

int monitor(const CommandLine& cl, HeadlessRun& run, HeadlessView& view, SingleInstance& instance) {
    SimRasApi sim(run.scenario, run.clock());
    HeadlessServices services{cl, run, view, instance,
                              run.realSource ? *run.realSource : static_cast<RasApi&>(sim)};
    const RunHooks hooks{[] { QCoreApplication::processEvents(); },
                         [&view](const QString& text) { view.info(text); },
                         [] {
                             crash();
                         }};
    if (run.virtualClock) {
        VirtualChime chime(*run.virtualClock);
        TerminateFlag control;
        RunHooks virtualHooks = hooks;
        virtualHooks.awaitStatus = [&services, &control] {
            awaitStatus(services, control);
        };
        return withCore(services, chime, control, [&](MonitorCore& core) {
            VirtualRunner runner(core, sim, *run.virtualClock, chime, control,
                                 run.scenario.directives, virtualHooks);
            view.setBoxWait([&runner](int seconds) { runner.waitInsideBox(seconds); });
            return runner.run();
        });
    }
    TimerChime chime;
    EventLoopControl control;
    return withCore(services, chime, control, [&](MonitorCore& core) {
        RealTimeRunner runner(core, run.realSource ? nullptr : &sim, run.clock(), chime, control,
                              run.scenario.directives, hooks);
        view.setBoxWait([](int seconds) {
            QEventLoop open;
            QTimer::singleShot(seconds * 1000, &open, &QEventLoop::quit);
            open.exec();
        });
        runner.start();
        QCoreApplication::exec();
        core.FormDestroy();
        return core.exitStatus();
    });
}

} // namespace

namespace HeadlessSession {

int run(const CommandLine& cl, const QString& storeFile) {
    HeadlessRun run;
    if (!prepare(cl, storeFile, run))
        return 2;
    HeadlessView view(run.clock(), cl.trace, writeLine);
    view.setAnswers(run.scenario.answers);
    SingleInstance instance;
    if (run.storeInUse || !instance.claim(*run.store))
        return secondStart(cl, view, storeFile);
    StoreOpening::backUp(*run.store, [&view](const QString& text) { view.info(text); });
    return monitor(cl, run, view, instance);
}

} // namespace HeadlessSession
