#pragma once
// Keeps one companion per settings store: the first start listens on a local
// socket named after the store file; a second start tells it to show itself
// and ends. Programs on different stores (tests) never meet.

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& storeFile, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket name for a store file.
    static QString serverName(const QString& storeFile);
    // Asks a running instance to show itself; true when one answered.
    bool notifyRunning(int timeoutMs = 1000) const;
    // Starts listening; false when another instance already does.
    bool listen();

signals:
    // Another start asked this one to show its window.
    void activationRequested();

private:
    void onNewConnection();

    QString m_name;
    QLocalServer* m_server = nullptr;
};
