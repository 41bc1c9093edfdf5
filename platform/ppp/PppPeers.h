#pragma once
// pppd's phone book: the files of /etc/ppp/peers, each one entry, and whether
// the secrets files hold a password for the entry's user.

#include "RasApi.h"

#include <QString>
#include <QStringList>

class PppPeers {
public:
    PppPeers(QString peersDir, QString secretsDir);

    // The entries, sorted by name.
    QStringList names() const;
    bool exists(const QString& name) const;
    // The options of an entry's file, as words.
    QStringList options(const QString& name) const;
    // The options every pppd reads first (/etc/ppp/options), as words.
    QStringList globalOptions() const;
    // The entry with its user and whether pppd will find a password for it.
    RasEntry entry(const QString& name) const;

private:
    bool secretStored(const QString& user) const;

    QString m_peersDir;
    QString m_secretsDir;
};
