#pragma once
// What `tollwatch --status` tells about a running monitor: offline, dialling
// or connected, the connection's time and cost so far, and the totals as the
// status window shows them. The monitor sends it as one JSON object a line;
// the asking side writes it as a line of text or as JSON for panels.

#include "FormatSettings.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

struct MonitorStatus {
    enum class State { Offline, Dialling, Connected };

    State state = State::Offline;
    // The connection that is up, or the one being set up; empty offline.
    QString connection;
    // While dialling: the text of the step the connection has reached.
    QString step;
    // The connection that is up: seconds so far, and its cost so far.
    qint64 seconds = 0;
    double cost = 0;
    // The totals, the connection that is up included (whole minutes).
    qint64 totalMinutes = 0;
    double totalCost = 0;
    // The monitor shows costs ("Show cost"); without, only times count.
    bool showCost = false;

    bool operator==(const MonitorStatus& other) const;
    bool operator!=(const MonitorStatus& other) const { return !(*this == other); }

    // The figures as they go over the channel: one compact JSON object, no
    // line end.
    QByteArray toJson() const;
    // nullopt when the text is not such an object.
    static std::optional<MonitorStatus> fromJson(const QByteArray& text);
};

namespace StatusText {

// "offline", "dialling", "connected".
QString stateName(MonitorStatus::State state);
// "1:05", or "2:01:05" from an hour on.
QString duration(qint64 seconds);
// The line of `tollwatch --status`, money in the form of fmt:
// "connected to Hometown Dial for 1:05, 0.35 kr; total 126 minutes, 12.85 kr".
QString line(const MonitorStatus& status, const FormatSettings& fmt);
// The same as a JSON object with the figures, the line as "text" and
// "tooltip", and the state as "class" and "alt" (what panels such as Waybar
// read).
QJsonObject json(const MonitorStatus& status, const FormatSettings& fmt);
// When no monitor runs on the store.
QString notRunningLine();
QJsonObject notRunningJson();

} // namespace StatusText
