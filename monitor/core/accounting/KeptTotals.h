#pragma once
// Connections that ended while the settings file could not be written:
// their minutes and cost wait in memory to be added to the totals, before
// anything newer, as soon as the file takes writes again.

#include <QtGlobal>

struct KeptTotals {
    int connections = 0;
    qint64 minutes = 0;    // as counted in the totals (whole minutes + 1 each)
    double cost = 0;       // of every kept connection
    bool costMode = false; // one of them ended in cost mode: "PC Total cost" grows
    double pcCost = 0;     // the cost of those that did

    bool empty() const { return connections == 0; }
    void add(qint64 addMinutes, double addCost, bool inCostMode) {
        ++connections;
        minutes += addMinutes;
        cost += addCost;
        if (inCostMode) {
            costMode = true;
            pcCost += addCost;
        }
    }
};
