#include "TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace TestEnvironment {

namespace {
QTemporaryDir& temp() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tollwatch-test-XXXXXX"));
    return dir;
}

void setEnv(const char* name, const QString& value) {
    ::setenv(name, value.toLocal8Bit().constData(), 1);
}
} // namespace

void pin() {
    const QString root = temp().path();
    QDir().mkpath(root + QStringLiteral("/home"));
    QDir().mkpath(root + QStringLiteral("/config"));
    QDir().mkpath(root + QStringLiteral("/data"));
    QDir().mkpath(root + QStringLiteral("/runtime"));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setEnv("HOME", root + QStringLiteral("/home"));
    setEnv("XDG_CONFIG_HOME", root + QStringLiteral("/config"));
    setEnv("XDG_DATA_HOME", root + QStringLiteral("/data"));
    setEnv("XDG_RUNTIME_DIR", root + QStringLiteral("/runtime"));
    setEnv("TOLLWATCH_REGISTRY", registryFile());
    if (!std::getenv("TZ"))
        setEnv("TZ", QStringLiteral("Europe/Stockholm"));
    if (!std::getenv("QT_QPA_PLATFORM"))
        setEnv("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
}

QString folder() {
    return temp().path();
}

QString registryFile() {
    return temp().path() + QStringLiteral("/registry.sqlite");
}

QString sourceDir() {
    return qEnvironmentVariable("TOLLWATCH_SOURCE_DIR");
}

QString binDir() {
    return qEnvironmentVariable("TOLLWATCH_BIN_DIR");
}

} // namespace TestEnvironment
