#pragma once
// A headless monitor run on a scenario written by the test, on a store and
// log of its own: seeding the store, running the program (with extra
// arguments and environment), and reading back the store and the log.

#include "SqliteRegistryStore.h"

#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QString& text, std::ostream* os);

// Texts in failure messages.
inline std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << text.toStdString();
}

struct MonitorRun {
    int exitCode = -1;
    QStringList lines;
    QString errors;

    // The fields after the time stamp and type of the lines of one type.
    QStringList of(const QString& type) const;
    // "kind<TAB>text" of every event.
    QStringList events() const { return of(QStringLiteral("event")); }
    // Events whose text starts with prefix.
    QStringList eventsStartingWith(const QString& prefix) const;
    QString all() const { return lines.join(QLatin1Char('\n')); }
};

class MonitorRunFixture : public ::testing::Test {
protected:
    MonitorRunFixture();

    QString dir() const { return m_dir.path(); }
    QString storeFile() const { return m_dir.path() + QStringLiteral("/registry.sqlite"); }
    QString logFile() const { return m_dir.path() + QStringLiteral("/access.txt"); }

    // A user who skipped the wizard, logs to logFile(), with a plain tariff.
    void SeedUser(const QList<QPair<QString, QString>>& values = {});
    void SetUser(const QString& name, const QString& text);
    void SetMachine(const QString& name, const QString& text);
    QString User(const QString& name) const;
    QString Machine(const QString& name) const;
    QByteArray Log() const;

    // Writes scenario to a file and runs the monitor on it; waitMs bounds a
    // run that hangs (it is then killed, exit code -1).
    MonitorRun Run(const QString& scenario, const QStringList& extra = {},
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                   int waitMs = 60000);
    // The program and arguments of such a run, without starting it.
    QStringList Arguments(const QString& scenario, const QStringList& extra = {});

private:
    QTemporaryDir m_dir;
};
