#pragma once
// The connection line of the log: user;date;start;minutes;cost;send;receive;
// name, in the locale's formats, with the user name looked up as it is built.

#include "FormatSettings.h"
#include "RegistryStore.h"

#include <QDate>
#include <QString>

#include <functional>

// What one finished connection contributes to its line.
struct ConnectionRecord {
    QDate endDate;        // the day the line is written
    double startTime = 0; // time of day the connection started
    qint64 minutes = 0;   // as counted in the totals (whole minutes + 1)
    double cost = 0;
    double sendRate = 0;    // kB/s
    double receiveRate = 0; // kB/s
    QString connectionName;
};

class ConnectionLogLine {
public:
    // The operating system's login name of the user; empty when unknown.
    using LoginNameSource = std::function<QString()>;

    ConnectionLogLine(const RegistryStore& store, const FormatSettings& fmt,
                      LoginNameSource loginName = SystemLoginName);

    // "Username" of HKEY_LOCAL_MACHINE "Network\Logon", else the login name;
    // when both fail "Default" in cost mode and empty in time mode.
    QString UserName(bool showCost) const;
    QString Build(const ConnectionRecord& record, bool showCost) const;

    // The login name of the user running this process.
    static QString SystemLoginName();

private:
    const RegistryStore& m_store;
    const FormatSettings& m_fmt;
    LoginNameSource m_loginName;
};
