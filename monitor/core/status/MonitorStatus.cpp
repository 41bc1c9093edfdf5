#include "MonitorStatus.h"

#include <QJsonDocument>

namespace {

const QString kStopped = QStringLiteral("stopped");
const QString kNotRunning = QStringLiteral("not running");

std::optional<MonitorStatus::State> stateNamed(const QString& name) {
    for (auto state : {MonitorStatus::State::Offline, MonitorStatus::State::Dialling,
                       MonitorStatus::State::Connected})
        if (StatusText::stateName(state) == name)
            return state;
    return std::nullopt;
}

QString totals(const MonitorStatus& s, const FormatSettings& fmt) {
    QString text = s.totalMinutes == 1 ? QStringLiteral("total 1 minute")
                                       : QStringLiteral("total %1 minutes").arg(s.totalMinutes);
    if (s.showCost)
        text += QStringLiteral(", ") + fmt.formatCurrency(s.totalCost);
    return text;
}

// Money as a plain decimal number with the currency's decimals.
double plainMoney(double value, const FormatSettings& fmt) {
    return QString::number(value, 'f', fmt.currencyDecimals).toDouble();
}

} // namespace

bool MonitorStatus::operator==(const MonitorStatus& o) const {
    return state == o.state && connection == o.connection && step == o.step &&
           seconds == o.seconds && cost == o.cost && totalMinutes == o.totalMinutes &&
           totalCost == o.totalCost && showCost == o.showCost;
}

QByteArray MonitorStatus::toJson() const {
    const QJsonObject object{{QStringLiteral("state"), StatusText::stateName(state)},
                             {QStringLiteral("connection"), connection},
                             {QStringLiteral("step"), step},
                             {QStringLiteral("seconds"), seconds},
                             {QStringLiteral("cost"), cost},
                             {QStringLiteral("total_minutes"), totalMinutes},
                             {QStringLiteral("total_cost"), totalCost},
                             {QStringLiteral("show_cost"), showCost}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<MonitorStatus> MonitorStatus::fromJson(const QByteArray& text) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    const auto state = stateNamed(o.value(QStringLiteral("state")).toString());
    if (!state)
        return std::nullopt;
    MonitorStatus s;
    s.state = *state;
    s.connection = o.value(QStringLiteral("connection")).toString();
    s.step = o.value(QStringLiteral("step")).toString();
    s.seconds = qint64(o.value(QStringLiteral("seconds")).toDouble());
    s.cost = o.value(QStringLiteral("cost")).toDouble();
    s.totalMinutes = qint64(o.value(QStringLiteral("total_minutes")).toDouble());
    s.totalCost = o.value(QStringLiteral("total_cost")).toDouble();
    s.showCost = o.value(QStringLiteral("show_cost")).toBool();
    return s;
}

namespace StatusText {

QString stateName(MonitorStatus::State state) {
    switch (state) {
    case MonitorStatus::State::Dialling:
        return QStringLiteral("dialling");
    case MonitorStatus::State::Connected:
        return QStringLiteral("connected");
    case MonitorStatus::State::Offline:
        break;
    }
    return QStringLiteral("offline");
}

QString duration(qint64 seconds) {
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const QString ss = QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (h == 0)
        return QStringLiteral("%1:%2").arg(m).arg(ss);
    return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(ss);
}

QString line(const MonitorStatus& s, const FormatSettings& fmt) {
    switch (s.state) {
    case MonitorStatus::State::Offline:
        return QStringLiteral("offline; ") + totals(s, fmt);
    case MonitorStatus::State::Dialling:
        return QStringLiteral("dialling %1; ").arg(s.connection) + totals(s, fmt);
    case MonitorStatus::State::Connected:
        break;
    }
    QString text = QStringLiteral("connected to %1 for %2").arg(s.connection, duration(s.seconds));
    if (s.showCost)
        text += QStringLiteral(", ") + fmt.formatCurrency(s.cost);
    return text + QStringLiteral("; ") + totals(s, fmt);
}

QJsonObject json(const MonitorStatus& s, const FormatSettings& fmt) {
    const bool connected = s.state == MonitorStatus::State::Connected;
    const QString state = stateName(s.state);
    const QString text = line(s, fmt);
    return QJsonObject{
        {QStringLiteral("state"), state},
        {QStringLiteral("connection"),
         s.connection.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(s.connection)},
        {QStringLiteral("step"), s.step.isEmpty() ? QJsonValue(QJsonValue::Null) : s.step},
        {QStringLiteral("seconds"), connected ? s.seconds : 0},
        {QStringLiteral("duration"), connected ? QJsonValue(duration(s.seconds)) : QJsonValue()},
        {QStringLiteral("cost"), connected ? QJsonValue(plainMoney(s.cost, fmt)) : QJsonValue()},
        {QStringLiteral("total_minutes"), s.totalMinutes},
        {QStringLiteral("total_cost"), plainMoney(s.totalCost, fmt)},
        {QStringLiteral("show_cost"), s.showCost},
        {QStringLiteral("text"), text},
        {QStringLiteral("tooltip"), text},
        {QStringLiteral("class"), state},
        {QStringLiteral("alt"), state}};
}

QString notRunningLine() {
    return kNotRunning;
}

QJsonObject notRunningJson() {
    const QJsonValue none(QJsonValue::Null);
    return QJsonObject{{QStringLiteral("state"), kStopped},
                       {QStringLiteral("connection"), none},
                       {QStringLiteral("step"), none},
                       {QStringLiteral("seconds"), 0},
                       {QStringLiteral("duration"), none},
                       {QStringLiteral("cost"), none},
                       {QStringLiteral("total_minutes"), none},
                       {QStringLiteral("total_cost"), none},
                       {QStringLiteral("show_cost"), none},
                       {QStringLiteral("text"), kNotRunning},
                       {QStringLiteral("tooltip"), QStringLiteral("Tollwatch is not running")},
                       {QStringLiteral("class"), kStopped},
                       {QStringLiteral("alt"), kStopped}};
}

} // namespace StatusText
