#pragma once
// The companion's texts in its language: the monitor's "Language" picks
// English, Swedish, German or Danish. A missing text is never replaced by
// the English one.

#include "Settings.h"
#include "StringTable.h"

// Base ids of the companion's string table (text k of a base is base + k).
namespace StringId {
enum : int {
    MonthBase = 10, // January; month m is m * 10
    ReportCompiled = 400,
    TotalConnections = 410,
    Total = 420,
    Hours = 430,
    MinutesAvg = 440,
    MinutesAvgEnd = 450,
    MinutesShare = 460,
    Average = 470,
    TransfersSend = 500,
    Receive = 510,
    Highest = 520,
    Lowest = 540,
    UserEntries = 550,
    UserEntriesNode = 560,
    ProviderEntries = 600,
    MonthlyFrom = 610,
    MonthlyNode = 620,
    ProvidersNode = 630,
    MonthlyTo = 650,
    InvalidEntries = 700,
    NoValidEntries = 1000,
    InvalidLogEntries = 1010,
    UnableToProcess = 1020,
    PathUnavailable = 1030,
    PrintFailed = 1040,
    Opening = 1100,
    Entries = 1110,
    CompilingReport = 1120,
    UsageReportName = 1230,
    ConnectionTime = 2000,
    Users = 2010,
    Providers = 2020,
    Monthly = 2030,
    ConnectionCost = 2040,
    ChartKindFirst = 3050, // the six chart kinds' menu captions, 3050 to 3100
    CompileComplete = 4220,
    AbnormalExit = 7030,
    AbnormalTerminations = 7040,
    Comments = 8000,
};
}

class CompanionStrings {
public:
    // The companion's compiled table unless another is given.
    explicit CompanionStrings(const Settings& settings, const StringTable* table = nullptr);

    // The text of base + the language index, else "Undefined IntlStr #" + base.
    QString IntlStr(int base) const;
    // 0 English, 1 Swedish, 2 German, 3 Danish, from the monitor's "Language".
    int languageIndex() const;
    // The monitor's language codes: 4 German, 5 Swedish, 9 Danish, others English.
    static int indexForCode(qint64 code);

private:
    const Settings& m_settings;
    const StringTable& m_table;
};
