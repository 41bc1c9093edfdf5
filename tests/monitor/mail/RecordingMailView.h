#pragma once
// The recording fake of the mail check's own view: the mail log, the
// new-mail changes, and confirmations answered from a queue.

#include "MailView.h"

#include <QList>
#include <QPair>
#include <QStringList>

class RecordingMailView : public MailView {
public:
    void appendMailLog(const QString& line) override { log << line; }
    void setMailLogVisible(bool visible) override { logVisible = visible; }
    void newMailChanged(int count, const QString& caption) override {
        changes << qMakePair(count, caption);
    }
    Confirmation confirmMailClient(const ConfirmTexts& texts) override {
        confirmations << texts;
        return answers.isEmpty() ? Confirmation{true, false} : answers.takeFirst();
    }

    QStringList log;
    bool logVisible = false;
    QList<QPair<int, QString>> changes;
    QList<ConfirmTexts> confirmations;
    // The next confirmations' answers; OK without the tick when none is left.
    QList<Confirmation> answers;
};
