#pragma once
// One monitor per settings store: the first start holds a lock on the store
// file itself (whatever path, link or runtime folder led to it) and listens on
// a local socket named after the file's identity, in a folder that is the
// user's alone; later starts ask it to show its window and end, and other
// questions (the status query) are handed on. Runs on different stores never
// meet.

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;
class SqliteRegistryStore;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // true when this is the only run on the store (its lock is held until
    // the store closes); it then listens for later starts.
    bool claim(SqliteRegistryStore& store);
    // Runs (on this thread) whenever a later start asks for the window.
    void setRequestHandler(std::function<void()> onRequest) { m_onRequest = std::move(onRequest); }
    // Runs (on this thread) for a request line other than the window's; the
    // handler takes the connection over. line comes without its line end.
    using OtherRequest = std::function<void(QLocalSocket* peer, const QByteArray& line)>;
    void setOtherRequestHandler(OtherRequest handler) { m_onOther = std::move(handler); }
    // Asks the monitor running on storeFile to show its window; false when
    // none answered.
    static bool askRunningToShow(const QString& storeFile);

    // Where a monitor running on storeFile listens: a socket named after the
    // file's device and inode, so every path to one store gives one address,
    // in the user's own folder (channelFolder). Empty when the file or a
    // folder of the user's alone is missing.
    static QString channelAddress(const QString& storeFile);
    // ~/.cache/tollwatch, mode 0700, made when missing; empty when it cannot
    // be made or is not the user's alone (another user must not be able to
    // place or remove a socket there).
    static QString channelFolder();

private:
    void acceptRequests();
    void readRequest(QLocalSocket* peer);

    QLocalServer* m_server = nullptr;
    std::function<void()> m_onRequest;
    OtherRequest m_onOther;
};
