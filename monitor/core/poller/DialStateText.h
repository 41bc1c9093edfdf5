#pragma once
// The display text of a connection state or dial error, shared by the poller
// and the Dialdart dialler.

#include <QString>

class IntlStrings;
class RasApi;

// The base id of the localised "Connected", against which the poller
// recognises a connection start.
constexpr int kConnectedTextId = 8090;

// error != 0: the connection source's text of the error, at most 99
// characters. Otherwise the state's text; empty for an unknown state.
QString DialStateText(int state, int error, const IntlStrings& intl, const RasApi& ras);
