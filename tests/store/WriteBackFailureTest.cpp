// The write-back when the database will not take its writes: a lock that another program
// holds, a disk that is full.
#include <chrono>
#include <future>
#include <string>

#include "fakes/FailingVfs.h"
#include "fakes/LogCapture.h"
#include "store/WriteBackFixture.h"

namespace corvane::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The file system comes first, so that the fixture's store opens on it.
struct OnFailingDisk {
    FailingVfs disk;
};

class WriteBackFailureTest : public OnFailingDisk, public WriteBackTest {
protected:
    // One tick while every write fails, as on a full disk: its passes roll back.
    void TickOnFullDisk() {
        disk.FailWrites(true);
        Tick();
        disk.FailWrites(false);
    }
    size_t LogCount(const std::string& text) const {
        const std::string all = log.Text();
        size_t count = 0;
        for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) {
            ++count;
        }
        return count;
    }

    LogCapture log{"Dbase", 1};
};

TEST_F(WriteBackFailureTest, ALockHeldByAnotherProgramKeepsEveryChangeUntilItIsFree) {
    DefineTrunks(2);
    raw.Exec("BEGIN IMMEDIATE");  // as an operator's sqlite3 session holds it
    doc->SetTrunkState(1, 2, true);
    EXPECT_NO_THROW(Tick());
    doc->SetIntercomCommStatus(3, "OK", true);
    EXPECT_NO_THROW(Tick());
    doc->AddAlpha(3, 0, 1, "DESK", alphaop::kStore, true);
    doc->AddAlarm(devicetype::kRequest, 9, alarmcat::kBusy, alarmresolve::kRaise, "held", {}, 0);
    EXPECT_NO_THROW(Tick());
    for (const ModelCollection c : {ModelCollection::Intercoms, ModelCollection::Trunks,
                                    ModelCollection::Alphas, ModelCollection::Alarms}) {
        EXPECT_TRUE(doc->IsDirty(c)) << static_cast<int>(c);
    }
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_NE(ui.DatabaseErrors()[0].find("database is locked"), std::string::npos);

    raw.Exec("COMMIT");
    Tick();
    EXPECT_EQ(TrunkState(1), "In Use");
    EXPECT_EQ(raw.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = 3"), "OK");
    EXPECT_EQ(raw.One("SELECT Alpha FROM Alphas"), "DESK");
    EXPECT_EQ(raw.One("SELECT Description FROM Alarms"), "held");
    EXPECT_TRUE(doc->AlphaQueue().empty());
    EXPECT_TRUE(doc->AlarmQueue().empty());
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(LogCount("The database refuses writes"), 1u) << log.Text();
    EXPECT_EQ(LogCount("still refuses"), 0u) << log.Text();
    EXPECT_EQ(LogCount("The database takes writes again"), 1u) << log.Text();
}

TEST_F(WriteBackFailureTest, ALastingFailureIsReportedOncePerOutageAndLoggedEachTime) {
    disk.FailWrites(true);
    for (const char* text : {"DESK", "HALL", "DOOR"}) {
        doc->AddAlpha(2, 0, 1, text, alphaop::kStore, true);
        Tick();  // one pass, the alpha pass
    }
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(LogCount("The database refuses writes"), 1u) << log.Text();
    EXPECT_EQ(LogCount("The database still refuses writes"), 2u) << log.Text();
    disk.FailWrites(false);
    Tick();
    EXPECT_EQ(raw.One("SELECT Alpha FROM Alphas"), "DOOR");
    EXPECT_EQ(LogCount("The database takes writes again after 3 failed writes"), 1u) << log.Text();

    // The next outage is a new one.
    disk.FailWrites(true);
    doc->AddAlpha(2, 0, 2, "GATE", alphaop::kStore, true);
    Tick();
    EXPECT_EQ(ui.DatabaseErrors().size(), 2u);
}

// A user interface whose database error box, while it is up, looks whether the poll thread
// could go on setting trunk states.
class LockProbeBridge final : public UiBridge {
public:
    explicit LockProbeBridge(CVorlinDoc& doc) : doc_(doc), previous_(&Ui()) { SetUiBridge(this); }
    ~LockProbeBridge() override { SetUiBridge(previous_); }

    void PostUpdateHint(uint32_t) override {}
    void PostCompatibilityChange() override {}
    int MessageBox(const std::string&, const std::string&, unsigned style) override {
        return DefaultAnswer(style);
    }
    void PostMessageBox(const std::string&, const std::string&, unsigned) override {}
    int Ask(const TimedQuestion& q) override { return DefaultAnswer(q.style); }
    void ReportDatabaseError(const std::string&, const std::string&) override {
        ++reports;
        setter = std::async(std::launch::async, [this] { doc_.SetTrunkState(2, 3, true); });
        // A bound against a hang only: the setter takes microseconds when nothing holds it.
        setterRan = setter.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    }

    int reports = 0;
    bool setterRan = false;
    std::future<void> setter;  // kept, so that a setter that waits does not hold the box

private:
    CVorlinDoc& doc_;
    UiBridge* previous_;
};

TEST_F(WriteBackFailureTest, TheErrorBoxHoldsNoLockOfTheModel) {
    DefineTrunks(2);
    doc->SetTrunkState(1, 2, true);
    LockProbeBridge probe(*doc);
    TickOnFullDisk();
    EXPECT_EQ(probe.reports, 1);
    EXPECT_TRUE(probe.setterRan);
}

TEST_F(WriteBackFailureTest, AFailedCommitOfTheIntercomPassLosesAndRepeatsNothing) {
    doc->SetIntercomCommStatus(4, "OK", true);
    Tick();
    doc->SetIntercomCommStatus(4, "No reply", true);
    doc->SetQueuedRequest(Port(4, 0, 5, true, false), Port(2, 1, 6, false, false), true);
    TickOnFullDisk();
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_TRUE(doc->IsDirty(ModelCollection::Intercoms));
    EXPECT_TRUE(doc->AlarmQueue().empty());  // raised only with the rows that cause them

    Tick();
    EXPECT_EQ(raw.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = 4"), "No reply");
    const std::string id = raw.One("SELECT RequestID FROM Requests WHERE State = 'Queued'");
    EXPECT_EQ(std::to_string(doc->Intercoms()[4].QueuedRequests()[0].requestNumber), id);
    EXPECT_EQ(raw.Query("SELECT DeviceType, Description LIKE 'Lost%' FROM Alarms ORDER BY AlarmID"),
              (Rows{{"Intercom", "1"}, {"Request", "0"}}));
}

TEST_F(WriteBackFailureTest, AFailedCommitOfTheTrunkPassLosesNoRequest) {
    DefineTrunks(3);
    doc->SetTrunkUsage(3, kNone, Port(1, 0, 4, true, false), Port(2, 2, 8, false, false), true);
    Tick();
    const std::string ended = raw.One("SELECT RequestID FROM Requests");
    doc->PurgeStaleTrunkUsage(3, true);  // the usage was seen in this reply
    doc->PurgeStaleTrunkUsage(3, true);  // and not in the next
    doc->SetTrunkUsage(2, kNone, Port(1, 0, 7, true, false), Port(2, 2, 9, false, false), true);
    doc->SetTrunkState(1, 3, true);
    TickOnFullDisk();
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_TRUE(doc->IsDirty(ModelCollection::Trunks));

    Tick();
    EXPECT_EQ(TrunkState(1), "Maint");
    const Rows requests = raw.Query(
        "SELECT RequestID, State, Trunk1Index, FinishedTime IS NOT NULL FROM Requests "
        "ORDER BY RequestID");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], (std::vector<std::string>{ended, "Finished", "3", "1"}));
    EXPECT_EQ(requests[1][1], "Active");
    EXPECT_EQ(requests[1][2], "2");
    EXPECT_EQ(std::to_string(doc->Trunks()[2].Usage()[0].requestNumber), requests[1][0]);
}

TEST_F(WriteBackFailureTest, AFailedCommitOfTheAlphaPassKeepsTheQueueAndItsHint) {
    // 600 alphas: 500 go in the first tick, and the hint waits for the rest.
    for (int n = 1; n <= 600; ++n) {
        doc->AddAlpha(2, 0, n, "A" + std::to_string(n), alphaop::kStore, true);
    }
    EXPECT_EQ(Tick(), 0u);
    TickOnFullDisk();
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(doc->AlphaQueue().size(), 100u);
    EXPECT_EQ(doc->AlphaQueue().front().text, "A501");
    EXPECT_TRUE(doc->IsDirty(ModelCollection::Alphas));

    EXPECT_EQ(Tick(), hint::kAlphasChanged);
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM Alphas"), "600");
    EXPECT_TRUE(doc->AlphaQueue().empty());
}

TEST_F(WriteBackFailureTest, AFailedCommitOfTheAlarmPassKeepsEveryOperationInOrder) {
    for (const char* text : {"first", "second", "third"}) {
        doc->AddAlarm(devicetype::kRequest, 9, alarmcat::kBusy, alarmresolve::kRaise, text, {}, 0);
    }
    TickOnFullDisk();
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    ASSERT_EQ(doc->AlarmQueue().size(), 3u);
    EXPECT_EQ(doc->AlarmQueue()[0].description, "first");
    EXPECT_EQ(doc->AlarmQueue()[2].description, "third");
    EXPECT_TRUE(doc->IsDirty(ModelCollection::Alarms));
    EXPECT_FALSE(writeBack.UnseenAlarms());

    EXPECT_EQ(Tick(), hint::kAlarmsNew | hint::kNewUnseenAlarm);
    EXPECT_EQ(raw.Query("SELECT Description FROM Alarms ORDER BY AlarmID"),
              (Rows{{"first"}, {"second"}, {"third"}}));
    EXPECT_TRUE(doc->AlarmQueue().empty());
}

}  // namespace
}  // namespace corvane::testing
