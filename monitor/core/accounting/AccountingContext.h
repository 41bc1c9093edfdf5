#pragma once
// What the per-second accounting, the session end, the limit checks and the
// chime share: the settings store, locale, clock, texts, the view and the
// event routine, and the transfer rates. Every reference outlives its user.

#include "Clock.h"
#include "CostModel.h"
#include "EventKind.h"
#include "FormatSettings.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "ProblemReports.h"
#include "Settings.h"
#include "TotalTexts.h"
#include "TransferRates.h"

struct AccountingContext {
    Settings& settings;
    const FormatSettings& fmt;
    const Clock& clock;
    const IntlStrings& intl;
    MonitorView& view;
    EventSink& events;
    TransferRates& xfer;
    ProblemReports& problems;

    // Unusable rates count as 0 and are reported through problems.
    CostModel costModel() const { return CostModel(settings, fmt, clock, &problems); }
    TotalTexts totalTexts() const { return TotalTexts(settings, intl, fmt); }
    // The clock's time of day, cut to whole seconds.
    double nowInSeconds() const;
    // "Connected": the user's total minutes (default "0"); 0 when it cannot
    // serve as a total (the session end reports and restarts it).
    qint64 connectedMinutes() const;
};
