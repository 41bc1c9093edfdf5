#include "HeadlessRun.h"

#include "TestEnvironment.h"

QStringList HeadlessResult::of(const QString& type) const {
    QStringList out;
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() >= 2 && fields.at(1) == type)
            out << fields.mid(2).join(QLatin1Char('\t'));
    }
    return out;
}

namespace {

// The folders of this build, compiled in: a test run by hand or by a plain
// ctest finds the program without the environment that the presets set.
QString orBuilt(const QString& fromEnvironment, const char* built) {
    return fromEnvironment.isEmpty() ? QString::fromLocal8Bit(built) : fromEnvironment;
}

} // namespace

namespace HeadlessRun {

QString program() {
    return orBuilt(TestEnvironment::binDir(), HEADLESS_RUN_BIN_DIR) + QStringLiteral("/tollwatch");
}

QString scenario(const QString& name) {
    return orBuilt(TestEnvironment::sourceDir(), HEADLESS_RUN_SOURCE_DIR) +
           QStringLiteral("/tests/integration/scenarios/") + name;
}

QProcessEnvironment environment(const QString& locale) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LANG"), locale);
    env.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Stockholm"));
    return env;
}

HeadlessResult run(const QStringList& arguments, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program(), QStringList{QStringLiteral("--headless")} + arguments);
    HeadlessResult result;
    // A virtual run ends in moments; the bound only keeps a broken run from
    // hanging the suite.
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.lines = QString::fromUtf8(process.readAllStandardOutput())
                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace HeadlessRun
