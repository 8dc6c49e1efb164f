#include "store/WriteBackFixture.h"

namespace corvane::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST_F(WriteBackTest, FirstStatusIsWrittenWithoutAlarm) {
    doc->SetIntercomCommStatus(3, "OK", true);
    doc->SetIntercomBaudRate(3, 9600, true);
    EXPECT_EQ(Tick(), hint::kIntercomsNew);
    EXPECT_EQ(raw.Query("SELECT ComState, BaudRate, Alarms FROM Intercoms WHERE IntercomIndex = 3"),
              (Rows{{"OK", "9600", "-1"}}));
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM Alarms"), "0");
    EXPECT_TRUE(doc->Intercoms()[3].AlarmsEnabled());
}

TEST_F(WriteBackTest, NameChangeGivesTheNameBit) {
    doc->SetIntercomCommStatus(3, "OK", true);
    Tick();
    doc->AddAlpha(3, kIntercomFunctionType, 0, "STUDIO", alphaop::kStore, true);
    EXPECT_EQ(Tick(), hint::kIntercomsEdited | hint::kIntercomNames);
    EXPECT_EQ(raw.One("SELECT IntercomName FROM Intercoms WHERE IntercomIndex = 3"), "STUDIO");
}

struct StatusCase {
    const char* name;
    std::vector<const char*> statuses;  // written one tick each
    Rows alarms;                        // State, Description of the Alarms rows by AlarmID
};

class IntercomStatusTest : public WriteBackTest,
                           public ::testing::WithParamInterface<StatusCase> {};

TEST_P(IntercomStatusTest, StatusChangesRaiseAndResolve) {
    for (const char* status : GetParam().statuses) {
        doc->SetIntercomCommStatus(4, status, true);
        Tick();
    }
    EXPECT_EQ(raw.Query("SELECT State, Description, DeviceType, DeviceInstance FROM Alarms "
                        "ORDER BY AlarmID"),
              GetParam().alarms);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntercomStatusTest,
    ::testing::Values(StatusCase{"Lost",
                                 {"OK", "No reply"},
                                 {{"Active", "Lost contact with intercom", "Intercom", "4"}}},
                      StatusCase{"LostAndBack",
                                 {"OK", "No reply", "OK"},
                                 {{"Resolved", "Lost contact with intercom", "Intercom", "4"}}},
                      // From a failure to OK without an open alarm: the alarm is added resolved.
                      StatusCase{"BackWithoutAlarm",
                                 {"No reply", "OK"},
                                 {{"Resolved", "Intercom connected", "Intercom", "4"}}},
                      // Between two OK texts only an open alarm would be resolved.
                      StatusCase{"OkToOk", {"OK", "OK 2"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteBackTest, AlarmIsWrittenInTheTickThatRaisesIt) {
    doc->SetIntercomCommStatus(4, "OK", true);
    Tick();
    doc->SetIntercomCommStatus(4, "Down", true);
    EXPECT_EQ(Tick(), hint::kIntercomsEdited | hint::kAlarmsNew | hint::kNewUnseenAlarm);
    EXPECT_TRUE(writeBack.UnseenAlarms());
}

TEST_F(WriteBackTest, SummaryRowFollowsTheCounts) {
    DefineTrunks(2);
    EXPECT_EQ(raw.One("SELECT NumTrunks FROM TrunkSummary WHERE FromIntercomIndex = 1 AND "
                      "ToIntercomIndex = 2"),
              "2");
    doc->UndefineTrunk(0);
    doc->UndefineTrunk(1);
    EXPECT_EQ(Tick() & hint::kSummaryNew, hint::kSummaryNew);
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM TrunkSummary WHERE FromIntercomIndex = 1"), "0");
}

TEST_F(WriteBackTest, QueuedRequestRaisesBusyAlarmOnlyOnceActive) {
    doc->SetIntercomCommStatus(1, "OK", true);
    doc->SetIntercomCommStatus(2, "OK", true);
    Tick();
    doc->SetQueuedRequest(Port(1, 0, 5, true, true), Port(2, 1, 6, false, false), true);
    EXPECT_EQ(Tick() & hint::kRequestsNew, hint::kRequestsNew);
    EXPECT_EQ(raw.Query("SELECT State, End1IntercomIndex, End1Function, End1Number, "
                        "End2Function, End2Number, End1Inactive FROM Requests"),
              (Rows{{"Queued", "1", "PP", "5", "PL", "6", "-1"}}));
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM Alarms"), "0");
    const std::string id = raw.One("SELECT RequestID FROM Requests");
    EXPECT_EQ(std::to_string(doc->Intercoms()[1].QueuedRequests()[0].requestNumber), id);

    doc->SetQueuedRequest(Port(1, 0, 5, true, false), Port(2, 1, 6, false, false), true);
    Tick();
    EXPECT_EQ(raw.Query("SELECT State, DeviceType, AlarmType, DeviceInstance FROM Alarms"),
              (Rows{{"Active", "Request", "Busy", id}}));
    // Description "alpha : flags : alpha", cut to its column.
    const std::string description = raw.One("SELECT Description FROM Alarms");
    EXPECT_LE(description.size(), 30u);
    EXPECT_NE(description.find(" : T/- : "), std::string::npos) << description;
}

}  // namespace
}  // namespace corvane::testing
