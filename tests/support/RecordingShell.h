#pragma once
// The test fake of the shell: notes every request and answers as told.

#include "Shell.h"

#include <QStringList>
#include <QUrl>

class RecordingShell : public Shell {
public:
    struct Start {
        QString program;
        QStringList arguments;
        QString workingDir;
    };

    ShellResult startProgram(const QString& program, const QStringList& arguments,
                             const QString& workingDir = QString()) override;
    ShellResult openUrl(const QUrl& url) override;

    QList<Start> started;
    QList<QUrl> opened;
    // When set, every request fails with this message.
    QString failWith;
};
