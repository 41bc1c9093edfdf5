#pragma once
// Runs build/bin/tollwatch --headless on a scenario and a store of the test's
// own, and reads its lines back.

#include <QProcess>
#include <QString>
#include <QStringList>

struct HeadlessResult {
    int exitCode = -1;
    QStringList lines;
    QString errors;

    // Lines of one type ("event", "box", "info"), without their time stamps.
    QStringList of(const QString& type) const;
};

namespace HeadlessRun {

QString program();
QString scenario(const QString& name);
QProcessEnvironment environment(const QString& locale = QStringLiteral("en_US.UTF-8"));

HeadlessResult run(const QStringList& arguments, const QProcessEnvironment& env = environment());

} // namespace HeadlessRun
