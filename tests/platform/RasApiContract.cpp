#include "RasApiContract.h"

#include "RasConstants.h"

#include <QThread>

namespace {

// Generous: a real modem dial takes well under this.
constexpr int kDialSeconds = 120;

struct Step {
    int state;
    int error;
};

struct DialRecorder {
    QList<Step> steps;
    bool wrongThread = false;

    RasApi::DialCallback callback() {
        QThread* const expected = QThread::currentThread();
        return [this, expected](int state, int error) {
            wrongThread = wrongThread || QThread::currentThread() != expected;
            steps.append(Step{state, error});
        };
    }
    bool over() const {
        return !steps.isEmpty() &&
               (steps.last().error != 0 || steps.last().state == RasState::Connected);
    }
};

void passUntilOver(RasApiTestBed& bed, const DialRecorder& recorder) {
    for (int i = 0; i < kDialSeconds && !recorder.over(); ++i)
        bed.passSecond();
}

} // namespace

void RasApiContract::SetUp() {
    m_bed = GetParam().makeBed();
    ASSERT_TRUE(m_bed);
    ASSERT_GE(m_bed->dialableEntries().size(), 2);
}

QList<RasConnection> RasApiContract::connections() {
    QList<RasConnection> out;
    EXPECT_EQ(api().enumConnections(out), 0);
    return out;
}

RasConnection RasApiContract::connectionOf(const QString& entry) {
    for (const RasConnection& c : connections()) {
        if (c.entryName == entry)
            return c;
    }
    ADD_FAILURE() << "no connection of " << entry.toStdString();
    return {};
}

std::string rasApiBackendName(const ::testing::TestParamInfo<RasApiBackend>& info) {
    return info.param.name;
}

TEST_P(RasApiContract, ListsConnectionsInOrderOfAppearanceWithStableHandles) {
    const QStringList entries = m_bed->dialableEntries();
    EXPECT_TRUE(connections().isEmpty());
    m_bed->connectOutside(entries[1]);
    m_bed->connectOutside(entries[0]);
    const QList<RasConnection> first = connections();
    ASSERT_EQ(first.size(), 2);
    EXPECT_EQ(first[0].entryName, entries[1]);
    EXPECT_EQ(first[1].entryName, entries[0]);
    EXPECT_NE(first[0].handle, 0u);
    EXPECT_NE(first[0].handle, first[1].handle);

    m_bed->passSecond();
    const QList<RasConnection> again = connections();
    ASSERT_EQ(again.size(), 2);
    EXPECT_EQ(again[0].handle, first[0].handle);
    EXPECT_EQ(again[1].handle, first[1].handle);
}

TEST_P(RasApiContract, ListedConnectionIsConnectedAndUnknownHandleLeavesStatusAlone) {
    const QString entry = m_bed->dialableEntries().first();
    m_bed->connectOutside(entry);
    RasConnStatus status;
    ASSERT_EQ(api().connectStatus(connectionOf(entry).handle, status), 0);
    EXPECT_EQ(status.state, RasState::Connected);
    EXPECT_EQ(status.error, 0);

    RasConnStatus untouched{4711, 42};
    const RasHandle stranger = connectionOf(entry).handle + 1000003;
    EXPECT_NE(api().connectStatus(stranger, untouched), 0);
    EXPECT_NE(api().connectStatus(0, untouched), 0);
    EXPECT_EQ(untouched.state, 4711);
    EXPECT_EQ(untouched.error, 42);
}

TEST_P(RasApiContract, HangUpAndOutsideDropRemoveOnlyThatConnection) {
    const QStringList entries = m_bed->dialableEntries();
    m_bed->connectOutside(entries[0]);
    m_bed->connectOutside(entries[1]);
    const RasHandle kept = connectionOf(entries[1]).handle;
    EXPECT_EQ(api().hangUp(connectionOf(entries[0]).handle), 0);
    m_bed->passSecond();
    QList<RasConnection> left = connections();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].entryName, entries[1]);
    EXPECT_EQ(left[0].handle, kept);

    m_bed->dropOutside(entries[1]);
    m_bed->passSecond();
    EXPECT_TRUE(connections().isEmpty());
}

TEST_P(RasApiContract, ByteCountersNeverGoDownAndKeepTheBytesOfEndedLinks) {
    // A bed that can add traffic is a machine whose links keep counters.
    EXPECT_TRUE(api().hasByteCounters());
    const QString entry = m_bed->dialableEntries().first();
    m_bed->connectOutside(entry);
    const ByteCounters before = api().byteCounters();
    m_bed->addTraffic(1000, 250000);
    const ByteCounters during = api().byteCounters();
    EXPECT_GE(during.sent, before.sent + 1000);
    EXPECT_GE(during.received, before.received + 250000);

    m_bed->dropOutside(entry);
    m_bed->passSecond();
    const ByteCounters after = api().byteCounters();
    EXPECT_GE(after.sent, during.sent);
    EXPECT_GE(after.received, during.received);
}

TEST_P(RasApiContract, DialReportsProgressOnTheCallersThreadAndEndsConnected) {
    const QString entry = m_bed->dialableEntries().first();
    DialRecorder recorder;
    RasHandle handle = 0;
    ASSERT_EQ(api().dial(entry, QStringLiteral("anna"), QStringLiteral("secret"),
                         recorder.callback(), handle),
              0);
    EXPECT_NE(handle, 0u);
    EXPECT_TRUE(recorder.steps.isEmpty()) << "progress must come after dial() returns";
    passUntilOver(*m_bed, recorder);

    ASSERT_TRUE(recorder.over());
    EXPECT_FALSE(recorder.wrongThread);
    for (int i = 0; i < recorder.steps.size(); ++i) {
        EXPECT_EQ(recorder.steps[i].error, 0) << "step " << i;
        if (i + 1 < recorder.steps.size()) {
            EXPECT_NE(recorder.steps[i].state, RasState::Connected) << "step " << i;
        }
    }
    EXPECT_EQ(connectionOf(entry).handle, handle);
    const int reported = recorder.steps.size();
    m_bed->passSecond();
    EXPECT_EQ(recorder.steps.size(), reported) << "nothing is reported after connected";
}

TEST_P(RasApiContract, FailedDialReportsAnErrorAndLeavesNoConnection) {
    const std::optional<QString> entry = m_bed->failingEntry();
    if (!entry)
        GTEST_SKIP() << "this bed cannot make a dial fail";
    DialRecorder recorder;
    RasHandle handle = 0;
    ASSERT_EQ(api().dial(*entry, QString(), QString(), recorder.callback(), handle), 0);
    passUntilOver(*m_bed, recorder);

    ASSERT_TRUE(recorder.over());
    EXPECT_GE(recorder.steps.last().error, int(RasError::FirstFailure));
    EXPECT_FALSE(api().errorString(recorder.steps.last().error).isEmpty());
    for (const RasConnection& c : connections())
        EXPECT_NE(c.entryName, *entry);
    EXPECT_EQ(api().hangUp(handle), 0) << "hanging up a failed call is harmless";
}

TEST_P(RasApiContract, HangUpDuringTheDialStopsIt) {
    const QString entry = m_bed->dialableEntries().first();
    DialRecorder recorder;
    RasHandle handle = 0;
    ASSERT_EQ(api().dial(entry, QString(), QString(), recorder.callback(), handle), 0);
    m_bed->passSecond();
    EXPECT_EQ(api().hangUp(handle), 0);
    for (int i = 0; i < 15; ++i)
        m_bed->passSecond();
    for (const Step& step : recorder.steps)
        EXPECT_NE(step.state, RasState::Connected);
    EXPECT_TRUE(connections().isEmpty());
}

TEST_P(RasApiContract, DialOfAnUnknownEntryFailsAndStartsNothing) {
    DialRecorder recorder;
    RasHandle handle = 0;
    EXPECT_NE(api().dial(QStringLiteral("No such entry \"here\""), QString(), QString(),
                         recorder.callback(), handle),
              0);
    for (int i = 0; i < 10; ++i)
        m_bed->passSecond();
    EXPECT_TRUE(recorder.steps.isEmpty());
    EXPECT_TRUE(connections().isEmpty());
}

TEST_P(RasApiContract, PhoneBookListsTheEntriesAndErrorsHaveTexts) {
    QList<RasEntry> entries;
    ASSERT_EQ(api().enumEntries(entries), 0);
    QStringList names;
    for (const RasEntry& e : entries)
        names.append(e.name);
    for (const QString& expected : m_bed->dialableEntries())
        EXPECT_TRUE(names.contains(expected)) << expected.toStdString();
    EXPECT_EQ(api().errorString(RasError::NoAnswer), QStringLiteral("There is no answer."));
    EXPECT_FALSE(api().errorString(5000).isEmpty());
}
