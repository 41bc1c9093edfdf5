#include "ConnectionLogLine.h"

#include "DayTime.h"

#include <QTime>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kLogonKey = QStringLiteral("Network\\Logon");

} // namespace

ConnectionLogLine::ConnectionLogLine(const RegistryStore& store, const FormatSettings& fmt,
                                     LoginNameSource loginName)
    : m_store(store), m_fmt(fmt), m_loginName(std::move(loginName)) {}

QString ConnectionLogLine::SystemLoginName() {
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
}

QString ConnectionLogLine::UserName(bool showCost) const {
    try {
        const auto value =
            m_store.readValue(RegRoot::LocalMachine, kLogonKey, QStringLiteral("Username"));
        // A name that reads as empty text is the name: only a value that cannot
        // be read as text falls back.
        if (value && value->type == RegType::String)
            return value->text;
    } catch (const RegistryError&) {
        // An unreadable store is one more way of not knowing the name.
    }
    const QString login = m_loginName ? m_loginName() : QString();
    if (!login.isEmpty())
        return login;
    return showCost ? QStringLiteral("Default") : QString();
}

QString ConnectionLogLine::Build(const ConnectionRecord& record, bool showCost) const {
    const QTime start = QTime::fromMSecsSinceStartOfDay(
        int(DayTime::TimeOfDay(record.startTime) * 86400.0 + 0.5) * 1000);
    // One connection is one line: a line break in the name would split it.
    QString name = record.connectionName;
    name.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QStringList fields{
        UserName(showCost),
        m_fmt.formatDate(record.endDate),
        m_fmt.formatTime(start),
        QString::number(record.minutes),
        m_fmt.formatFixed(record.cost, m_fmt.currencyDecimals),
        m_fmt.formatGrouped(record.sendRate, 2),
        m_fmt.formatGrouped(record.receiveRate, 2),
        name,
    };
    return fields.join(QLatin1Char(';'));
}
