#pragma once
// What every connection source must do, as one test suite. A backend joins by
// giving a test bed factory to INSTANTIATE_TEST_SUITE_P(..., RasApiContract, ...).

#include "RasApi.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

// A backend under test with the means to make things happen around it.
class RasApiTestBed {
public:
    virtual ~RasApiTestBed() = default;

    virtual RasApi& api() = 0;
    // At least two phone-book entries, in the backend's order, whose dials succeed.
    virtual QStringList dialableEntries() = 0;
    // An entry whose dial fails with an error of 630 or more, when the bed can arrange one.
    virtual std::optional<QString> failingEntry() = 0;
    // A connection of entry comes up outside the monitor (another program dialled).
    virtual void connectOutside(const QString& entry) = 0;
    // That connection ends outside the monitor.
    virtual void dropOutside(const QString& entry) = 0;
    // Traffic on the dial-up links, on top of what the counters show now.
    virtual void addTraffic(std::uint64_t sent, std::uint64_t received) = 0;
    // One second of the backend's time passes, its events delivered.
    virtual void passSecond() = 0;
};

struct RasApiBackend {
    std::string name;
    std::function<std::unique_ptr<RasApiTestBed>()> makeBed;
};

inline void PrintTo(const RasApiBackend& backend, std::ostream* os) {
    *os << backend.name;
}

class RasApiContract : public ::testing::TestWithParam<RasApiBackend> {
protected:
    void SetUp() override;

    RasApi& api() { return m_bed->api(); }
    QList<RasConnection> connections();
    // The enumerated connection of entry; fails the test when there is none.
    RasConnection connectionOf(const QString& entry);

    std::unique_ptr<RasApiTestBed> m_bed;
};

// Names the instantiated tests after the backend.
std::string rasApiBackendName(const ::testing::TestParamInfo<RasApiBackend>& info);
