#pragma once
// `tollwatch --status`: asks the monitor running on a settings store for its
// state over its single-instance channel and prints it as a line of text or
// as JSON, once, or with --follow at every change (a monitor that ends, or is
// not there yet, is looked for again).

#include "FormatSettings.h"
#include "MonitorStatus.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QLocalSocket;

class StatusQuery : public QObject {
    Q_OBJECT
public:
    // Exit statuses of --status.
    static constexpr int kAnswered = 0;
    static constexpr int kNoAnswer = 1;
    static constexpr int kNotRunning = 3;

    enum class Form { Line, Json };
    // Writes one line (without its end); false when it could not.
    using Printer = std::function<bool(const QString& line)>;

    StatusQuery(const QString& serverName, Form form, const FormatSettings& formats, Printer print,
                QObject* parent = nullptr);
    ~StatusQuery() override;

    // One answer, waiting at most timeoutMs for it.
    int askOnce(int timeoutMs);
    // Every change until the process is ended (or the output is closed); a
    // missing monitor is looked for every retryMs. Needs a QCoreApplication.
    int follow(int retryMs);

private:
    void connectToMonitor();
    void readAnswers();
    void lost();
    bool show(const MonitorStatus& status);
    bool showNotRunning();

    QString m_serverName;
    Form m_form;
    FormatSettings m_formats;
    Printer m_print;
    std::unique_ptr<QLocalSocket> m_socket;
    QTimer m_retry;
    bool m_notRunningShown = false;
};
