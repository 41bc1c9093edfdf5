#pragma once
// AppendLogLine: one line appended to the connection log, the file being
// opened and closed around it. The file is the machine-wide "Log filename",
// else the user's "Log Filename", else "c:\access.txt" (a DOS path mapped to
// a native one).

#include <QString>

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
};

class ConnectionLogAppender : public LogAppender {
public:
    ConnectionLogAppender(RegistryStore& store, const IntlStrings& intl, EventSink& events);

    void AppendLogLine(const QString& text) override;

    // The native path of the log file as configured now.
    QString logFilePath() const;
    // The stored (possibly DOS) form of that path.
    QString storedLogFileName() const { return storedLogFileName(m_store); }
    static QString storedLogFileName(RegistryStore& store);

private:
    RegistryStore& m_store;
    const IntlStrings& m_intl;
    EventSink& m_events;
};
