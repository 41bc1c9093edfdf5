#include "MonitorRunFixture.h"

#include "Settings.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QProcess>

QStringList MonitorRun::of(const QString& type) const {
    QStringList out;
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() > 2 && fields.at(1) == type)
            out << fields.mid(2).join(QLatin1Char('\t'));
    }
    return out;
}

QStringList MonitorRun::eventsStartingWith(const QString& prefix) const {
    QStringList out;
    for (const QString& e : events())
        if (e.section(QLatin1Char('\t'), 1).startsWith(prefix))
            out << e;
    return out;
}

MonitorRunFixture::MonitorRunFixture() = default;

void MonitorRunFixture::SeedUser(const QList<QPair<QString, QString>>& values) {
    SqliteRegistryStore store(storeFile());
    Settings settings(store);
    const QList<QPair<QString, QString>> base = {
        {"Skip intro", "true"},  {"Log Filename", logFile()}, {"Standard Rate", "0.50"},
        {"Cheap Rate", "0.10"},  {"Connection Fee", "0.35"},  {"Minimum cost", "0"},
        {"Last Reset", "20263"}, {"Connected", "100"},        {"Connection Cost", "10"},
        {"Show cost", "true"},   {"Monitor Xfer", "false"}};
    store.transaction([&] {
        for (const auto& v : base + values)
            settings.WriteText(kSettingsKey, v.first, v.second);
    });
}

void MonitorRunFixture::SetUser(const QString& name, const QString& text) {
    SqliteRegistryStore store(storeFile());
    Settings(store).WriteText(kSettingsKey, name, text);
}

void MonitorRunFixture::SetMachine(const QString& name, const QString& text) {
    SqliteRegistryStore store(storeFile());
    store.writeValue(RegRoot::LocalMachine, kMachineKey, name, RegValue::fromString(text));
}

QString MonitorRunFixture::User(const QString& name) const {
    SqliteRegistryStore store(storeFile());
    const auto v = store.readValue(RegRoot::CurrentUser, kSettingsKey, name);
    return v ? v->text : QStringLiteral("<missing>");
}

QString MonitorRunFixture::Machine(const QString& name) const {
    SqliteRegistryStore store(storeFile());
    const auto v = store.readValue(RegRoot::LocalMachine, kMachineKey, name);
    return v ? v->text : QStringLiteral("<missing>");
}

QByteArray MonitorRunFixture::Log() const {
    QFile f(logFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList MonitorRunFixture::Arguments(const QString& scenario, const QStringList& extra) {
    static int count = 0;
    const QString file = m_dir.path() + QStringLiteral("/run%1.scenario").arg(++count);
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(scenario.toUtf8());
    f.close();
    return QStringList{QStringLiteral("--headless"), QStringLiteral("--registry"), storeFile(),
                       QStringLiteral("--ras"), QStringLiteral("sim:") + file} +
           extra;
}

MonitorRun MonitorRunFixture::Run(const QString& scenario, const QStringList& extra,
                                  const QProcessEnvironment& env, int waitMs) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(TestEnvironment::binDir() + QStringLiteral("/tollwatch"), Arguments(scenario, extra));
    MonitorRun r;
    if (!p.waitForFinished(waitMs)) {
        p.kill();
        p.waitForFinished();
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.lines =
        QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.errors = QString::fromUtf8(p.readAllStandardError());
    if (p.error() == QProcess::FailedToStart)
        r.errors += p.errorString();
    return r;
}
