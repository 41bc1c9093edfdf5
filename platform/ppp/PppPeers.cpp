#include "PppPeers.h"

#include "PppOptionsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

PppPeers::PppPeers(QString peersDir, QString secretsDir)
    : m_peersDir(std::move(peersDir)), m_secretsDir(std::move(secretsDir)) {}

QStringList PppPeers::names() const {
    // Hidden files are editor and package leftovers, not entries.
    return QDir(m_peersDir).entryList(QDir::Files, QDir::Name);
}

bool PppPeers::exists(const QString& name) const {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.startsWith(QLatin1Char('.')))
        return false;
    return QFileInfo(m_peersDir + QLatin1Char('/') + name).isFile();
}

QStringList PppPeers::options(const QString& name) const {
    if (!exists(name))
        return {};
    return PppOptionsFile::wordsOfFile(m_peersDir + QLatin1Char('/') + name);
}

QStringList PppPeers::globalOptions() const {
    return PppOptionsFile::wordsOfFile(m_secretsDir + QStringLiteral("/options"));
}

RasEntry PppPeers::entry(const QString& name) const {
    const QStringList words = options(name);
    RasEntry e;
    e.name = name;
    e.userName = PppOptionsFile::valueOf(words, QStringLiteral("user"));
    // Without a user pppd does not authenticate itself: nothing to ask for.
    e.passwordStored = e.userName.isEmpty() || words.contains(QStringLiteral("password")) ||
                       secretStored(e.userName);
    return e;
}

bool PppPeers::secretStored(const QString& user) const {
    // The secrets files are readable to root only; unreadable reads as "not
    // stored", so that the monitor asks.
    for (const char* name : {"pap-secrets", "chap-secrets"}) {
        QFile file(m_secretsDir + QLatin1Char('/') + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            const QStringList words = PppOptionsFile::words(line);
            // client server secret [addresses...]
            if (words.size() >= 3 && words.at(0) == user && !words.at(2).isEmpty())
                return true;
        }
    }
    return false;
}
