#pragma once
// The machine-wide values of the monitor (HKEY_LOCAL_MACHINE): the computer's
// totals and the pending minutes and cost of the connection in progress.

#include "RegistryStore.h"

#include <QString>

class FormatSettings;

inline const QString kPendingTime = QStringLiteral("pending time");
inline const QString kPendingCost = QStringLiteral("pending cost");
inline const QString kPcTotalTime = QStringLiteral("PC Total time");
inline const QString kPcTotalCost = QStringLiteral("PC Total cost");
// Log lines of connections already in the totals but not yet known to be in
// the log, one per CR LF: a start after a crash writes those still missing.
inline const QString kPendingLogLines = QStringLiteral("pending log lines");

class MachineValues {
public:
    MachineValues(RegistryStore& store, const FormatSettings& fmt) : m_store(store), m_fmt(fmt) {}

    // A missing value, or one that is no number, reads as 0.
    double ReadNumber(const QString& name) const;
    // The stored text; empty when missing or not text.
    QString ReadText(const QString& name) const;
    // Throws RegistryError when the store cannot write.
    void WriteText(const QString& name, const QString& text);
    void Delete(const QString& name);

private:
    RegistryStore& m_store;
    const FormatSettings& m_fmt;
};
