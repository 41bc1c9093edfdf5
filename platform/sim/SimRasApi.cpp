#include "SimRasApi.h"

#include "Clock.h"
#include "RasConstants.h"

#include <algorithm>

namespace {
// Handles start well away from 0, which callers use as "no connection".
constexpr RasHandle kHandleBase = 0x5100;
} // namespace

QList<int> SimRasApi::defaultDialStates() {
    return {RasState::OpenPort,
            RasState::PortOpened,
            RasState::ConnectDevice,
            RasState::DeviceConnected,
            RasState::AllDevicesConnected,
            RasState::Authenticate,
            RasState::Authenticated,
            RasState::Connected};
}

SimRasApi::SimRasApi(const Scenario& scenario, Clock& clock)
    : m_clock(clock), m_entries(scenario.entries), m_dialScripts(scenario.dialScripts),
      m_lastHandle(kHandleBase) {}

void SimRasApi::apply(const TimedDirective& directive) {
    switch (directive.kind) {
    case TimedDirective::Kind::ConnectionState:
        list(directive.entryName, directive.state, directive.error, 0);
        break;
    case TimedDirective::Kind::ConnectionError: {
        const int index = listedIndex(directive.entryName);
        if (index >= 0)
            m_listed[index].status.error = directive.error;
        break;
    }
    case TimedDirective::Kind::Gone:
        unlist(directive.entryName);
        break;
    case TimedDirective::Kind::Bytes:
        // Counters of a real adapter never go back; neither do these.
        m_bytes.sent = std::max(m_bytes.sent, directive.sent);
        m_bytes.received = std::max(m_bytes.received, directive.received);
        break;
    case TimedDirective::Kind::EnumError:
        m_enumError = directive.error;
        break;
    case TimedDirective::Kind::Click:
    case TimedDirective::Kind::Exit:
    case TimedDirective::Kind::Crash:
    case TimedDirective::Kind::AwaitStatus:
        break;
    }
}

void SimRasApi::deliverDialProgress(const QDateTime& now) {
    // One step at a time and looked up afresh each time: a callback may hang
    // up or start another dial.
    for (int index = nextDueDial(now); index >= 0; index = nextDueDial(now))
        takeStep(index);
}

bool SimRasApi::dialInProgress(RasHandle handle) const {
    return dialIndexOf(handle) >= 0;
}

QString SimRasApi::backendName() const {
    return QStringLiteral("sim");
}

int SimRasApi::enumConnections(QList<RasConnection>& out) {
    out.clear();
    if (m_enumError != 0)
        return m_enumError;
    for (const Listed& listed : m_listed)
        out.append(RasConnection{listed.handle, listed.entryName});
    return 0;
}

int SimRasApi::connectStatus(RasHandle handle, RasConnStatus& status) {
    const int index = listedIndexOf(handle);
    if (index >= 0) {
        status = m_listed[index].status;
        return 0;
    }
    if (dialInProgress(handle)) {
        // Dialled but nothing reported yet: the port is being opened.
        status = RasConnStatus{RasState::OpenPort, 0};
        return 0;
    }
    return RasError::InvalidPortHandle;
}

int SimRasApi::enumEntries(QList<RasEntry>& out) {
    out = m_entries;
    return 0;
}

int SimRasApi::dial(const QString& entry, const QString& userName, const QString& password,
                    DialCallback callback, RasHandle& handle) {
    if (!knownEntry(entry))
        return RasError::CannotFindPhonebookEntry;
    const bool busy = listedIndex(entry) >= 0 ||
                      std::any_of(m_activeDials.cbegin(), m_activeDials.cend(),
                                  [&](const ActiveDial& d) { return d.entryName == entry; });
    if (busy)
        return RasError::PortAlreadyOpen;

    ActiveDial active;
    active.handle = newHandle();
    active.entryName = entry;
    active.started = m_clock.now();
    const auto script = m_dialScripts.constFind(entry);
    active.states = script != m_dialScripts.cend() ? script->states : defaultDialStates();
    active.error = script != m_dialScripts.cend() ? script->error : 0;
    active.callback = std::move(callback);
    m_activeDials.append(active);
    m_dialRecords.append(DialRecord{entry, userName, password, active.started, active.handle});
    handle = active.handle;
    return 0;
}

int SimRasApi::hangUp(RasHandle handle) {
    if (handle <= kHandleBase || handle > m_lastHandle)
        return RasError::InvalidPortHandle;
    // Hanging up a call that has already ended is harmless, as with RAS.
    const int dialIndex = dialIndexOf(handle);
    if (dialIndex >= 0)
        m_activeDials.removeAt(dialIndex);
    const int index = listedIndexOf(handle);
    if (index >= 0)
        m_listed.removeAt(index);
    return 0;
}

int SimRasApi::editEntry(const QString& entry) {
    if (!knownEntry(entry))
        return RasError::CannotFindPhonebookEntry;
    m_editedEntries.append(entry);
    return 0;
}

ByteCounters SimRasApi::byteCounters() {
    return m_bytes;
}

int SimRasApi::listedIndex(const QString& entryName) const {
    for (int i = 0; i < m_listed.size(); ++i) {
        if (m_listed[i].entryName == entryName)
            return i;
    }
    return -1;
}

int SimRasApi::listedIndexOf(RasHandle handle) const {
    for (int i = 0; i < m_listed.size(); ++i) {
        if (m_listed[i].handle == handle)
            return i;
    }
    return -1;
}

int SimRasApi::dialIndexOf(RasHandle handle) const {
    for (int i = 0; i < m_activeDials.size(); ++i) {
        if (m_activeDials[i].handle == handle)
            return i;
    }
    return -1;
}

bool SimRasApi::knownEntry(const QString& entryName) const {
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [&](const RasEntry& e) { return e.name == entryName; });
}

void SimRasApi::list(const QString& entryName, int state, int error, RasHandle handle) {
    const int index = listedIndex(entryName);
    if (index >= 0) {
        // A listed connection keeps its handle and its place in the list.
        m_listed[index].status = RasConnStatus{state, error};
        return;
    }
    m_listed.append(Listed{handle != 0 ? handle : newHandle(), entryName, {state, error}});
}

void SimRasApi::unlist(const QString& entryName) {
    const int index = listedIndex(entryName);
    if (index >= 0)
        m_listed.removeAt(index);
}

RasHandle SimRasApi::newHandle() {
    return ++m_lastHandle;
}

int SimRasApi::nextDueDial(const QDateTime& now) const {
    int best = -1;
    QDateTime bestDue;
    for (int i = 0; i < m_activeDials.size(); ++i) {
        const ActiveDial& d = m_activeDials[i];
        const QDateTime due = d.started.addSecs(d.stepsDone + 1);
        if (due <= now && (best < 0 || due < bestDue)) {
            best = i;
            bestDue = due;
        }
    }
    return best;
}

void SimRasApi::takeStep(int dialIndex) {
    ActiveDial& d = m_activeDials[dialIndex];
    const int step = d.stepsDone++;
    int state = 0;
    int error = 0;
    bool finished = false;
    if (step < d.states.size()) {
        state = d.states[step];
        list(d.entryName, state, 0, d.handle);
        finished = step + 1 == d.states.size() && d.error == 0;
    } else {
        state = d.states.isEmpty() ? int(RasState::OpenPort) : d.states.last();
        error = d.error;
        unlist(d.entryName);
        finished = true;
    }
    const DialCallback callback = d.callback;
    if (finished)
        m_activeDials.removeAt(dialIndex);
    if (callback)
        callback(state, error);
}
