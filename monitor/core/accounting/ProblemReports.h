#pragma once
// Reports a problem with a stored value or with the settings file once while
// it lasts, instead of at every tick: the first time, again only when its
// text changed or after it was over. Names the value or file and what became
// of it, never blaming the connection source.

#include "CostModel.h"
#include "EventKind.h"

#include <QHash>
#include <QString>

class IntlStrings;
class RegistryError;

class ProblemReports : public AmountWatch {
public:
    ProblemReports(EventSink& events, const IntlStrings& intl) : m_events(events), m_intl(intl) {}

    // Posts text as an error event unless the problem of key was reported
    // with that text and has not been over since.
    void report(const QString& key, const QString& text);
    // The problem of key is over; true when it had been reported.
    bool clear(const QString& key);
    bool active(const QString& key) const { return m_active.contains(key); }

    // A rate, fee or minimum that cannot take part in a price; it counts as 0.
    void unusableAmount(const QString& name, const QString& text) override;
    void amountUsable(const QString& name) override;
    // A stored total that could not be added to: it starts again from the
    // connection being added. Posted every time it happens.
    void totalRestarted(const QString& name, const QString& text);
    // A pending value of an unfinished connection that cannot be read.
    void pendingUnreadable(const QString& name, const QString& text);

    // The settings file refused a write: its name and the reason, once.
    void storeFailed(const RegistryError& error);
    // A write went through; when the store had failed, that is reported too.
    void storeWritten();

private:
    EventSink& m_events;
    const IntlStrings& m_intl;
    QHash<QString, QString> m_active;
    QString m_failedStore;
};
