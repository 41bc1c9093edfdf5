#pragma once
// What the rates dialog edits: the cheap-hour bounds, the cheap days, the
// rates, the connection fee and the minimum cost, loaded with the dialog's
// own defaults and stored as typed, without any check.

#include <QString>

class Settings;

struct RatesValues {
    QString cheapBefore;
    QString cheapAfter;
    bool fridays = false;
    bool saturdays = false;
    bool sundays = false;
    QString standardRate;
    QString cheapRate;
    QString weekendRate;
    QString connectionFee;
    QString minimumCost;
};

class RatesEditor {
public:
    explicit RatesEditor(Settings& settings) : m_settings(settings) {}

    // The stored texts as they stand. The defaults of a fee of 0.00 and a
    // minimum of 0.20 are this dialog's, not the cost model's: OK on a fresh
    // installation stores them.
    RatesValues load() const;
    // OK: the three cheap days first, then the texts; a text that is no
    // number or time is stored and fails later where it is read.
    void save(const RatesValues& values);

private:
    Settings& m_settings;
};
