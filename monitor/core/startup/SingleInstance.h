#pragma once
// One monitor per settings store: the first start holds a lock named after
// the store file and listens for later starts, which ask it to show its
// window and end, and for other questions (the status query), which are
// handed on. Runs on different stores never meet.

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& storeFile, QObject* parent = nullptr);
    ~SingleInstance() override;

    // true when this is the only run on the store; it then listens for
    // later starts.
    bool claim();
    // Runs (on this thread) whenever a later start asks for the window.
    void setRequestHandler(std::function<void()> onRequest) { m_onRequest = std::move(onRequest); }
    // Runs (on this thread) for a request line other than the window's; the
    // handler takes the connection over. line comes without its line end.
    using OtherRequest = std::function<void(QLocalSocket* peer, const QByteArray& line)>;
    void setOtherRequestHandler(OtherRequest handler) { m_onOther = std::move(handler); }
    // Asks the running monitor to show its window; false when none answered.
    bool askRunningToShow();

    // The name both sides derive from the store file's canonical path.
    static QString keyFor(const QString& storeFile);
    // Where the monitor running on storeFile listens.
    static QString serverName(const QString& storeFile);

private:
    void acceptRequests();
    void readRequest(QLocalSocket* peer);

    QString m_key;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    std::function<void()> m_onRequest;
    OtherRequest m_onOther;
};
