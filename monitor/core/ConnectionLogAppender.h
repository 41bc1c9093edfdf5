#pragma once
// AppendLogLine: one line appended to the connection log, the file being
// opened and closed around it. The file is the machine-wide "Log filename",
// else the user's "Log Filename", else "c:\access.txt" (a DOS path mapped to
// a native one).

#include <QString>
#include <QStringList>

class EventSink;
class IntlStrings;
class RegistryStore;

// How the session end and the start-up write to the connection log.
class LogAppender {
public:
    virtual ~LogAppender() = default;
    // A file that cannot be opened is reported as an error event and nothing
    // is written; a failed write throws LogFileError.
    virtual void AppendLogLine(const QString& text) = 0;
    // Writes the lines that had to wait (the file was locked by another
    // program for too long); true when none is left waiting.
    virtual bool RetryUnwritten() { return true; }
    // The last retry, at the end: each line still waiting is reported.
    virtual bool RetryUnwrittenAtExit() { return true; }
    // At start-up: the lines of connections a crash cut off between their
    // totals and their log line are written, unless they already are.
    virtual void AppendPendingLines() {}
};

class ConnectionLogAppender : public LogAppender {
public:
    ConnectionLogAppender(RegistryStore& store, const IntlStrings& intl, EventSink& events);

    // A line that finds the file locked too long waits, reported once, and
    // goes in first at the next line or retry; later lines wait behind it.
    void AppendLogLine(const QString& text) override;
    bool RetryUnwritten() override;
    bool RetryUnwrittenAtExit() override;
    void AppendPendingLines() override;
    const QStringList& waitingLines() const { return m_waiting; }

    // The native path of the log file as configured now.
    QString logFilePath() const;
    // The stored (possibly DOS) form of that path.
    QString storedLogFileName() const { return storedLogFileName(m_store); }
    static QString storedLogFileName(RegistryStore& store);

private:
    void writeWaiting(bool reportEach);
    // The line is in the log (or refused for good): it is no longer pending.
    void forgetPending(const QString& line);
    QStringList pendingLines() const;
    void reportOpenError(const QString& path, int error);

    RegistryStore& m_store;
    const IntlStrings& m_intl;
    EventSink& m_events;
    QStringList m_waiting;
    bool m_lockReported = false;
};
