// The write-back when the database will not take its writes: a lock that another program
// holds, a disk that is full.
#include <array>
#include <chrono>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "fakes/FailingVfs.h"
#include "fakes/LogCapture.h"
#include "platform/Format.h"
#include "store/WriteBackFixture.h"

namespace corvane::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using namespace std::chrono_literals;

// The file system comes first, so that the fixture's store opens on it.
struct OnFailingDisk {
    FailingVfs disk;
};

// How the database refuses writes.
enum class Refusal { kLockOfAnotherProgram, kFullDisk };

class WriteBackFailureTest : public OnFailingDisk, public WriteBackTest {
protected:
    // One tick while every write fails, as on a full disk: its passes roll back.
    void TickOnFullDisk() {
        disk.FailWrites(true);
        Tick();
        disk.FailWrites(false);
    }
    void Refuse(Refusal refusal) {
        if (refusal == Refusal::kLockOfAnotherProgram) {
            raw.Exec("BEGIN IMMEDIATE");  // as an operator's sqlite3 session holds it
        } else {
            disk.FailWrites(true);
        }
    }
    void Accept(Refusal refusal) {
        if (refusal == Refusal::kLockOfAnotherProgram) {
            raw.Exec("COMMIT");
        } else {
            disk.FailWrites(false);
        }
    }
    // The clock's time as the database's date columns hold it.
    std::string Stamp() const {
        const LocalTime t = ToLocalTime(clock.Now());
        return StrFormat("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                         t.second);
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

TEST_F(WriteBackFailureTest, ALastingFailureIsReportedOncePerOutageAndLoggedOnceAMinute) {
    disk.FailWrites(true);
    doc->AddAlpha(2, 0, 1, "DESK", alphaop::kStore, true);
    // Two minutes of ticks, each with its failing alpha pass.
    for (int i = 0; i < 1201; ++i) {
        clock.Advance(100ms);
        Tick();
    }
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(LogCount("The database refuses writes"), 1u) << log.Text();
    EXPECT_EQ(LogCount("The database still refuses writes"), 2u) << log.Text();
    EXPECT_EQ(LogCount("; 600 writes failed in the last 60 s"), 2u) << log.Text();
    disk.FailWrites(false);
    doc->AddAlpha(2, 0, 1, "DOOR", alphaop::kStore, true);
    Tick();
    EXPECT_EQ(raw.One("SELECT Alpha FROM Alphas"), "DOOR");
    EXPECT_EQ(LogCount("The database takes writes again after 1201 failed writes"), 1u)
        << log.Text();

    // The next outage is a new one.
    disk.FailWrites(true);
    doc->AddAlpha(2, 0, 2, "GATE", alphaop::kStore, true);
    Tick();
    EXPECT_EQ(ui.DatabaseErrors().size(), 2u);
}

// Each change of an intercom's status while the database refuses writes has its alarm, with
// the time the tick saw it, once the database takes writes again.
TEST_F(WriteBackFailureTest, AnIntercomLostAndRegainedInsideAnOutageKeepsItsAlarmsAndTheirTimes) {
    constexpr const char* kOk = "OK MX4600";
    constexpr const char* kLost = "Bad MX4600";
    struct Case {
        const char* name;
        Refusal refusal;
        std::vector<const char*> before;  // written before the outage, ten seconds apart
        std::vector<const char*> during;  // one a tick, ten seconds apart
        // Description, State, AlarmTime, ResolvedTime; times as stamps of the statuses.
        std::vector<std::array<std::string, 4>> alarms;
    };
    const Case cases[] = {
        {"lost and back under a lock",
         Refusal::kLockOfAnotherProgram,
         {kOk},
         {kLost, kOk},
         {{"Lost contact with intercom", "Resolved", "during 0", "during 1"}}},
        {"lost and back on a full disk",
         Refusal::kFullDisk,
         {kOk},
         {kLost, kOk},
         {{"Lost contact with intercom", "Resolved", "during 0", "during 1"}}},
        {"lost for good",
         Refusal::kLockOfAnotherProgram,
         {kOk},
         {kLost},
         {{"Lost contact with intercom", "Active", "during 0", "NULL"}}},
        {"back and lost again",
         Refusal::kFullDisk,
         {kOk, kLost},
         {kOk, kLost},
         {{"Lost contact with intercom", "Resolved", "before 1", "during 0"},
          {"Lost contact with intercom", "Active", "during 1", "NULL"}}},
    };
    int intercom = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ++intercom;
        std::map<std::string, std::string> stamps{{"NULL", "NULL"}};
        for (size_t i = 0; i < c.before.size(); ++i) {
            clock.Advance(10s);
            stamps["before " + std::to_string(i)] = Stamp();
            doc->SetIntercomCommStatus(intercom, c.before[i], true);
            Tick();
        }
        Refuse(c.refusal);
        for (size_t i = 0; i < c.during.size(); ++i) {
            clock.Advance(10s);
            stamps["during " + std::to_string(i)] = Stamp();
            doc->SetIntercomCommStatus(intercom, c.during[i], true);
            Tick();
        }
        EXPECT_EQ(raw.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = " +
                          std::to_string(intercom)),
                  c.before.back());
        Accept(c.refusal);
        clock.Advance(10s);
        Tick();
        Rows want;
        for (const auto& a : c.alarms) {
            want.push_back({a[0], a[1], stamps.at(a[2]), stamps.at(a[3])});
        }
        EXPECT_EQ(raw.Query("SELECT Description, State, AlarmTime, ResolvedTime FROM Alarms "
                            "WHERE DeviceType = 'Intercom' AND DeviceInstance = " +
                            std::to_string(intercom) + " ORDER BY AlarmID"),
                  want);
        EXPECT_EQ(raw.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = " +
                          std::to_string(intercom)),
                  c.during.back());
        EXPECT_TRUE(doc->AlarmQueue().empty());
    }
}

// A request queued and ended while the database refuses writes gets its row once it takes
// them again, and its busy alarm the times of the two events, not the time of the recovery.
TEST_F(WriteBackFailureTest, ARequestInsideAnOutageKeepsTheTimesOfItsBusyAlarm) {
    doc->SetIntercomCommStatus(4, "OK", true);
    doc->SetIntercomCommStatus(2, "OK", true);
    Tick();
    Refuse(Refusal::kLockOfAnotherProgram);
    clock.Advance(10s);
    const std::string queued = Stamp();
    doc->SetQueuedRequest(Port(4, 0, 5, true, false), Port(2, 1, 6, false, false), true);
    doc->PurgeStaleQueuedRequests(4, true);
    Tick();
    clock.Advance(10s);
    const std::string ended = Stamp();
    doc->PurgeStaleQueuedRequests(4, true);  // the next reply no longer holds it
    Tick();
    clock.Advance(10s);
    Accept(Refusal::kLockOfAnotherProgram);
    Tick();
    EXPECT_EQ(raw.Query("SELECT State, RequestTime, FinishedTime FROM Requests"),
              (Rows{{"Finished", queued, ended}}));
    EXPECT_EQ(raw.Query("SELECT DeviceType, State, AlarmTime, ResolvedTime FROM Alarms"),
              (Rows{{"Request", "Unresolved", queued, ended}}));
}

// A test result the database does not take waits with its time; the last of each trunk is
// written once the database takes writes again, and the outage is told once.
TEST_F(WriteBackFailureTest, TestResultsInsideAnOutageWaitForTheDatabase) {
    DefineTrunks(3);
    const CDiagLogSource trunkTestLog("TrunkTest", "Trunk Test log", 0);
    for (const Refusal refusal : {Refusal::kLockOfAnotherProgram, Refusal::kFullDisk}) {
        SCOPED_TRACE(static_cast<int>(refusal));
        const size_t reports = ui.DatabaseErrors().size();
        const std::string before =
            raw.One("SELECT group_concat(TestResult || '/' || IFNULL(TestTime, '-')) FROM Trunks");
        Refuse(refusal);
        uint32_t hint = 0;
        clock.Advance(10s);
        store->CopyTrunkTestResultsToDatabase(2, 4, "", hint, trunkTestLog);  // Testing
        clock.Advance(10s);
        const std::string passed = Stamp();
        store->CopyTrunkTestResultsToDatabase(3, 0, "Loss 1.0 dB", hint, trunkTestLog);
        clock.Advance(10s);
        const std::string failed = Stamp();
        store->CopyTrunkTestResultsToDatabase(2, 1, "Loss 12.0 dB", hint, trunkTestLog);
        Tick();
        EXPECT_EQ(hint, 0u);
        EXPECT_EQ(raw.One("SELECT group_concat(TestResult || '/' || IFNULL(TestTime, '-')) FROM "
                          "Trunks"),
                  before);
        EXPECT_EQ(store->PendingTestResults(), 2u);
        EXPECT_EQ(ui.DatabaseErrors().size(), reports + 1);

        Accept(refusal);
        clock.Advance(10s);
        store->WritePendingTestResults(hint, trunkTestLog);
        EXPECT_NE(hint & 0x40u, 0u);
        EXPECT_EQ(
            raw.Query("SELECT TrunkIndex, TestResult, TestData, TestTime FROM Trunks "
                      "WHERE TrunkIndex > 1 ORDER BY TrunkIndex"),
            (Rows{{"2", "Fail", "Loss 12.0 dB", failed}, {"3", "Pass", "Loss 1.0 dB", passed}}));
        EXPECT_EQ(store->PendingTestResults(), 0u);
        EXPECT_EQ(ui.DatabaseErrors().size(), reports + 1);
    }
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
    void PostQuestion(const std::string&, const std::string&, unsigned,
                      std::function<void(int)>) override {}
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
    // The lost contact is raised when the tick sees it; the request's alarm waits for its row.
    ASSERT_EQ(doc->AlarmQueue().size(), 1u);
    EXPECT_EQ(doc->AlarmQueue()[0].description, "Lost contact with intercom");

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
