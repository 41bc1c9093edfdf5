// The sim backend beyond the contract: scenario directives, dial scripts and
// their timing, callbacks that hang up or dial again.

#include "SimRasApi.h"
#include "Clock.h"
#include "RasConstants.h"

#include <gtest/gtest.h>

namespace {

using Steps = QList<QPair<int, int>>;

class SimRasApiTest : public ::testing::Test {
protected:
    SimRasApiTest()
        : m_scenario(Scenario::parse(QStringLiteral(R"(
clock 2024-05-01 10:00:00
entry "Home" user "anna" password "pw"
entry "Work" user "bo"
entry "Busy"
dial "Home" 0 3 8192
dial "Busy" 0 2 error 676
)"),
                                     QStringLiteral("t"))),
          m_clock(*m_scenario.clockStart), m_sim(m_scenario, m_clock) {}

    void apply(const QString& line) {
        const Scenario s = Scenario::parse(QStringLiteral("clock 2024-05-01 10:00:00\n") + line,
                                           QStringLiteral("t"));
        m_sim.apply(s.directives.first());
    }
    RasApi::DialCallback record() {
        return [this](int state, int error) {
            m_steps.append({state, error});
        };
    }
    QStringList listedNames() {
        QList<RasConnection> out;
        m_sim.enumConnections(out);
        QStringList names;
        for (const RasConnection& c : out)
            names.append(c.entryName);
        return names;
    }
    RasConnStatus statusOf(const QString& entry) {
        QList<RasConnection> out;
        m_sim.enumConnections(out);
        RasConnStatus status{-1, -1};
        for (const RasConnection& c : out) {
            if (c.entryName == entry)
                m_sim.connectStatus(c.handle, status);
        }
        return status;
    }
    // Second by second, as the scenario runner drives it.
    void advance(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            m_clock.advance(1);
            m_sim.deliverDialProgress(m_clock.now());
        }
    }

    Scenario m_scenario;
    ManualClock m_clock;
    SimRasApi m_sim;
    Steps m_steps;
};

TEST_F(SimRasApiTest, TimedDirectivesChangeStateErrorAndListing) {
    apply(QStringLiteral(R"(at +0 "Work" state 2)"));
    apply(QStringLiteral(R"(at +0 "Home" state 8192)"));
    apply(QStringLiteral(R"(at +0 "Work" error 678)"));
    EXPECT_EQ(statusOf(QStringLiteral("Work")).state, 2);
    EXPECT_EQ(statusOf(QStringLiteral("Work")).error, 678);
    apply(QStringLiteral(R"(at +0 "Work" state 8193)"));
    EXPECT_EQ(statusOf(QStringLiteral("Work")).error, 0) << "a state line sets the error too";
    EXPECT_EQ(listedNames(), QStringList({"Work", "Home"}));

    apply(QStringLiteral(R"(at +0 "Work" gone)"));
    apply(QStringLiteral(R"(at +0 "Nowhere" error 629)"));
    apply(QStringLiteral(R"(at +0 "Work" state 8192)"));
    EXPECT_EQ(listedNames(), QStringList({"Home", "Work"})) << "relisted goes last";
}

TEST_F(SimRasApiTest, EnumErrorEmptiesTheListUntilCleared) {
    apply(QStringLiteral(R"(at +0 "Home" state 8192)"));
    apply(QStringLiteral("at +0 enum-error 711"));
    QList<RasConnection> out{RasConnection{1, QStringLiteral("stale")}};
    EXPECT_EQ(m_sim.enumConnections(out), 711);
    EXPECT_TRUE(out.isEmpty());
    apply(QStringLiteral("at +0 enum-error 0"));
    EXPECT_EQ(listedNames(), QStringList({"Home"}));
}

TEST_F(SimRasApiTest, ByteCountersTakeTheLargestValueSeen) {
    apply(QStringLiteral("at +0 bytes 18446744073709551615 10"));
    TimedDirective lower;
    lower.kind = TimedDirective::Kind::Bytes;
    lower.sent = 5;
    lower.received = 20;
    m_sim.apply(lower);
    EXPECT_EQ(m_sim.byteCounters().sent, 18446744073709551615ull);
    EXPECT_EQ(m_sim.byteCounters().received, 20u);
}

TEST_F(SimRasApiTest, ScriptedDialStepsOncePerSecondFromOneSecondAfterTheStart) {
    RasHandle handle = 0;
    ASSERT_EQ(m_sim.dial(QStringLiteral("Home"), QStringLiteral("x"), QStringLiteral("y"), record(),
                         handle),
              0);
    RasConnStatus status;
    ASSERT_EQ(m_sim.connectStatus(handle, status), 0);
    EXPECT_EQ(status.state, RasState::OpenPort);
    m_sim.deliverDialProgress(m_clock.now().addMSecs(999));
    EXPECT_TRUE(m_steps.isEmpty());
    EXPECT_TRUE(listedNames().isEmpty());

    advance(1);
    EXPECT_EQ(m_steps, Steps({{0, 0}}));
    EXPECT_EQ(listedNames(), QStringList({"Home"}));
    m_clock.advance(5); // a late delivery still reports every step, in order
    m_sim.deliverDialProgress(m_clock.now());
    EXPECT_EQ(m_steps, Steps({{0, 0}, {3, 0}, {8192, 0}}));
    EXPECT_FALSE(m_sim.dialInProgress(handle));
    EXPECT_EQ(statusOf(QStringLiteral("Home")).state, RasState::Connected);
}

TEST_F(SimRasApiTest, FailingDialReportsTheErrorWithTheLastStateAndUnlists) {
    RasHandle handle = 0;
    ASSERT_EQ(m_sim.dial(QStringLiteral("Busy"), {}, {}, record(), handle), 0);
    advance(2);
    EXPECT_EQ(listedNames(), QStringList({"Busy"}));
    advance(1);
    EXPECT_EQ(m_steps, Steps({{0, 0}, {2, 0}, {2, 676}}));
    EXPECT_TRUE(listedNames().isEmpty());
}

TEST_F(SimRasApiTest, UnscriptedDialUsesTheDefaultStatesAndRecordsCredentials) {
    RasHandle handle = 0;
    ASSERT_EQ(m_sim.dial(QStringLiteral("Work"), QStringLiteral("bo"), QStringLiteral("typed"),
                         record(), handle),
              0);
    advance(30);
    QList<int> states;
    for (const auto& step : m_steps)
        states.append(step.first);
    EXPECT_EQ(states, SimRasApi::defaultDialStates());
    ASSERT_EQ(m_sim.dials().size(), 1);
    EXPECT_EQ(m_sim.dials()[0].password, QStringLiteral("typed"));
    EXPECT_EQ(m_sim.dials()[0].handle, handle);
}

TEST_F(SimRasApiTest, EntryAlreadyListedOrBeingDialledCannotBeDialledAgain) {
    RasHandle first = 0;
    RasHandle second = 0;
    ASSERT_EQ(m_sim.dial(QStringLiteral("Home"), {}, {}, record(), first), 0);
    EXPECT_EQ(m_sim.dial(QStringLiteral("Home"), {}, {}, record(), second),
              int(RasError::PortAlreadyOpen));
    apply(QStringLiteral(R"(at +0 "Work" state 8192)"));
    EXPECT_EQ(m_sim.dial(QStringLiteral("Work"), {}, {}, record(), second),
              int(RasError::PortAlreadyOpen));
    EXPECT_EQ(second, 0u);
}

TEST_F(SimRasApiTest, CallbackMayHangUpOrDialAgain) {
    RasHandle busy = 0;
    RasHandle home = 0;
    const auto onBusy = [&](int state, int error) {
        m_steps.append({state, error});
        if (error != 0) {
            EXPECT_EQ(m_sim.hangUp(busy), 0);
            EXPECT_EQ(m_sim.dial(QStringLiteral("Home"), {}, {}, record(), home), 0);
        }
    };
    ASSERT_EQ(m_sim.dial(QStringLiteral("Busy"), {}, {}, onBusy, busy), 0);
    RasHandle work = 0;
    const auto onWork = [&](int state, int error) {
        m_steps.append({state, error});
        m_sim.hangUp(work); // stops at the first step
    };
    ASSERT_EQ(m_sim.dial(QStringLiteral("Work"), {}, {}, onWork, work), 0);
    advance(10);
    EXPECT_EQ(m_steps, Steps({{0, 0}, {0, 0}, {2, 0}, {2, 676}, {0, 0}, {3, 0}, {8192, 0}}));
    EXPECT_EQ(listedNames(), QStringList({"Home"}));
}

TEST_F(SimRasApiTest, HandlesEntriesAndEditsAreChecked) {
    EXPECT_EQ(m_sim.hangUp(0), int(RasError::InvalidPortHandle));
    RasHandle handle = 0;
    ASSERT_EQ(m_sim.dial(QStringLiteral("Home"), {}, {}, record(), handle), 0);
    EXPECT_EQ(m_sim.hangUp(handle + 1), int(RasError::InvalidPortHandle));
    EXPECT_EQ(m_sim.hangUp(handle), 0);
    EXPECT_EQ(m_sim.hangUp(handle), 0);

    EXPECT_EQ(m_sim.editEntry(QStringLiteral("Work")), 0);
    EXPECT_EQ(m_sim.editEntry(QStringLiteral("work")), int(RasError::CannotFindPhonebookEntry));
    EXPECT_EQ(m_sim.editedEntries(), QStringList({"Work"}));

    QList<RasEntry> entries;
    ASSERT_EQ(m_sim.enumEntries(entries), 0);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_TRUE(entries[0].passwordStored);
    EXPECT_EQ(entries[1].userName, QStringLiteral("bo"));
    EXPECT_FALSE(entries[1].passwordStored);
    EXPECT_EQ(m_sim.backendName(), QStringLiteral("sim"));
}

} // namespace
