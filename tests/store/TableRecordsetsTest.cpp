#include "StoreFixture.h"

namespace corvane::testing {
namespace {

class TableRecordsetsTest : public StoreTest {
protected:
    void SetUp() override { store_ = OpenStore(); }
    CDaoDatabase& Db() { return store_->Database(); }

    // Adds one row through a fresh recordset, then reads it back through another.
    template <typename Rs, typename Fill, typename Check>
    void RoundTrip(const std::string& sql, Fill fill, Check check) {
        {
            Rs rs(Db());
            rs.Open(DaoOpenType::Table, sql);
            rs.AddNew();
            fill(rs);
            rs.Update();
        }
        Rs back(Db());
        back.Open(DaoOpenType::Table, sql);
        back.MoveLast();
        ASSERT_FALSE(back.IsEOF());
        check(back);
    }
    std::unique_ptr<CVorlinDatabase> store_;
    const WallTime t1 = LocalWall(2024, 1, 2, 3, 4, 5);
    const WallTime t2 = LocalWall(2024, 6, 7, 8, 9, 10);
    const WallTime t3 = LocalWall(2025, 11, 12, 13, 14, 15);
};

TEST_F(TableRecordsetsTest, Alarms) {
    RoundTrip<CAlarmsRS>(
        "[AlarmsArchive]",
        [&](CAlarmsRS& r) {
            r.m_AlarmID = 77;
            r.m_State = "Resolved";
            r.m_Acknowledged = true;
            r.m_DeviceType = "Trunk";
            r.m_DeviceInstance = 100000;
            r.m_AlarmType = "Test Failure";
            r.m_Description = "Loss too high";
            r.m_AlarmTime = t1;
            r.m_ResolvedTime = t2;
            r.m_AcknowledgedTime = t3;
            r.m_Notification = "Sent";
            r.m_NotificationTime = t1;
            r.m_Context = "MX01MX02";
        },
        [&](CAlarmsRS& r) {
            EXPECT_EQ(r.m_AlarmID, 77);
            EXPECT_EQ(r.m_State.Value(), "Resolved");
            EXPECT_TRUE(r.m_Acknowledged);
            EXPECT_EQ(r.m_DeviceType.Value(), "Trunk");
            EXPECT_EQ(r.m_DeviceInstance, 100000);
            EXPECT_EQ(r.m_AlarmType.Value(), "Test Failure");
            EXPECT_EQ(r.m_Description.Value(), "Loss too high");
            EXPECT_EQ(r.m_AlarmTime.Value(), t1);
            EXPECT_EQ(r.m_ResolvedTime.Value(), t2);
            EXPECT_EQ(r.m_AcknowledgedTime.Value(), t3);
            EXPECT_EQ(r.m_Notification.Value(), "Sent");
            EXPECT_EQ(r.m_NotificationTime.Value(), t1);
            EXPECT_EQ(r.m_Context.Value(), "MX01MX02");
        });
}

TEST_F(TableRecordsetsTest, Alphas) {
    RoundTrip<CAlphasRS>(
        "",
        [](CAlphasRS& r) {
            r.m_IntercomIndex = 3;
            r.m_Function = "PP";
            r.m_Number = 12;
            r.m_Alpha = "DESK";
            r.m_AsgnKey = (3 << 24) | 12;
        },
        [](CAlphasRS& r) {
            EXPECT_EQ(r.m_IntercomIndex, 3);
            EXPECT_EQ(r.m_Function.Value(), "PP");
            EXPECT_EQ(r.m_Number, 12);
            EXPECT_EQ(r.m_Alpha.Value(), "DESK");
            EXPECT_EQ(r.m_AsgnKey, (3 << 24) | 12);
        });
}

TEST_F(TableRecordsetsTest, DbStatus) {
    // The store's opening gave it its row of zeros; this adds a second one.
    RoundTrip<CDBStatusRS>(
        "",
        [](CDBStatusRS& r) {
            DaoInt16* all[] = {&r.m_GlobalChange, &r.m_TrunkAdds,    &r.m_TrunkDels,
                               &r.m_TrunkEdits,   &r.m_AlphaAdds,    &r.m_AlphaDels,
                               &r.m_AlphaEdits,   &r.m_RequestAdds,  &r.m_RequestDels,
                               &r.m_RequestEdits, &r.m_IntercomAdds, &r.m_IntercomDels,
                               &r.m_IntercomEdits};
            int16_t v = 1;
            for (DaoInt16* f : all) {
                *f = v++;
            }
        },
        [](CDBStatusRS& r) {
            EXPECT_EQ(r.m_GlobalChange, 1);
            EXPECT_EQ(r.m_TrunkEdits, 4);
            EXPECT_EQ(r.m_RequestAdds, 8);
            EXPECT_EQ(r.m_IntercomEdits, 13);
        });
}

TEST_F(TableRecordsetsTest, Intercoms) {
    RoundTrip<CIntercomsRS>(
        "",
        [](CIntercomsRS& r) {
            r.m_IntercomIndex = 256;
            r.m_IntercomName = "North";
            r.m_SerialPort = 4;
            r.m_BaudRate = 115200;
            r.m_ComState = "OK";
            r.m_ErrorCounter = 70000;
            r.m_Alarms = false;
            r.m_Notify = true;
            r.m_ConnType = "Network";
            r.m_IPAddr1 = "127.0.0.1";
            r.m_IPAddr2 = "127.0.0.2";
            r.m_CascadeCost = 32767;
        },
        [](CIntercomsRS& r) {
            EXPECT_EQ(r.m_IntercomIndex, 256);
            EXPECT_EQ(r.m_IntercomName.Value(), "North");
            EXPECT_EQ(r.m_SerialPort, 4);
            EXPECT_EQ(r.m_BaudRate, 115200);
            EXPECT_EQ(r.m_ComState.Value(), "OK");
            EXPECT_EQ(r.m_ErrorCounter, 70000);
            EXPECT_FALSE(r.m_Alarms);
            EXPECT_TRUE(r.m_Notify);
            EXPECT_EQ(r.m_ConnType.Value(), "Network");
            EXPECT_EQ(r.m_IPAddr1.Value(), "127.0.0.1");
            EXPECT_EQ(r.m_IPAddr2.Value(), "127.0.0.2");
            EXPECT_EQ(r.m_CascadeCost, 32767);
        });
}

TEST_F(TableRecordsetsTest, RequestsAndTheirUpdates) {
    RoundTrip<CRequestsRS>(
        "",
        [&](CRequestsRS& r) {
            r.m_State = "Queued";
            r.m_RequestTime = t1;
            r.m_ActiveTime = t2;
            r.m_End1IntercomIndex = 1;
            r.m_End1Function = "PP";
            r.m_End1Number = 2;
            r.m_End1Talk = true;
            r.m_End1Listen = false;
            r.m_End1Inactive = true;
            r.m_End2IntercomIndex = 3;
            r.m_End2Function = "IF";
            r.m_End2Number = 4;
            r.m_End2Talk = false;
            r.m_End2Listen = true;
            r.m_End2Inactive = false;
            r.m_Trunk1Index = 10000;
            r.m_Trunk2Index = 9;
            r.m_FinishedTime = t3;
        },
        [&](CRequestsRS& r) {
            EXPECT_EQ(r.m_RequestID, 1);  // auto-numbered
            EXPECT_EQ(r.m_State.Value(), "Queued");
            EXPECT_EQ(r.m_RequestTime.Value(), t1);
            EXPECT_EQ(r.m_ActiveTime.Value(), t2);
            EXPECT_EQ(r.m_End1IntercomIndex, 1);
            EXPECT_EQ(r.m_End1Function.Value(), "PP");
            EXPECT_EQ(r.m_End1Number, 2);
            EXPECT_TRUE(r.m_End1Talk);
            EXPECT_FALSE(r.m_End1Listen);
            EXPECT_TRUE(r.m_End1Inactive);
            EXPECT_EQ(r.m_End2IntercomIndex, 3);
            EXPECT_EQ(r.m_End2Function.Value(), "IF");
            EXPECT_EQ(r.m_End2Number, 4);
            EXPECT_FALSE(r.m_End2Talk);
            EXPECT_TRUE(r.m_End2Listen);
            EXPECT_FALSE(r.m_End2Inactive);
            EXPECT_EQ(r.m_Trunk1Index, 10000);
            EXPECT_EQ(r.m_Trunk2Index, 9);
            EXPECT_EQ(r.m_FinishedTime.Value(), t3);
        });

    // The update recordset never touches the times, functions or trunks of the row.
    CRequests2RS updates(Db());
    updates.Open();
    ASSERT_TRUE(updates.Seek(1));
    EXPECT_EQ(updates.m_End2Number, 4);
    updates.Edit();
    updates.m_State = "Finished";
    updates.m_End1Talk = false;
    updates.m_End2Inactive = true;
    updates.m_FinishedTime = t1;
    updates.Update();
    RawDb raw(DbPath());
    EXPECT_EQ(raw.Query("SELECT State, RequestTime, ActiveTime, End1Function, End2Function, "
                        "Trunk1Index, Trunk2Index, End1Talk, End2Inactive, FinishedTime "
                        "FROM Requests"),
              (std::vector<std::vector<std::string>>{{"Finished", "2024-01-02 03:04:05",
                                                      "2024-06-07 08:09:10", "PP", "IF", "10000",
                                                      "9", "0", "-1", "2024-01-02 03:04:05"}}));
}

TEST_F(TableRecordsetsTest, StatesAndTestResults) {
    RoundTrip<CStatesRS>(
        "[AlarmStates]",
        [](CStatesRS& r) {
            r.m_StateIndex = 9;
            r.m_State = "Extra";
        },
        [](CStatesRS& r) {
            EXPECT_EQ(r.m_StateIndex, 9);
            EXPECT_EQ(r.m_State.Value(), "Extra");
        });
    CTestResultsRS fresh(Db());
    EXPECT_EQ(fresh.m_TestResult.Value(), " ");  // "no result" before anything is read
    RoundTrip<CTestResultsRS>(
        "",
        [](CTestResultsRS& r) {
            r.m_ResultIndex = 7;
            r.m_TestResult = "Other";
        },
        [](CTestResultsRS& r) {
            EXPECT_EQ(r.m_ResultIndex, 7);
            EXPECT_EQ(r.m_TestResult.Value(), "Other");
        });
}

TEST_F(TableRecordsetsTest, Summary) {
    RoundTrip<CSummaryRS>(
        "",
        [](CSummaryRS& r) {
            r.m_FromIntercomIndex = 1;
            r.m_ToIntercomIndex = 2;
            r.m_NumTrunks = 3;
            r.m_NumAllocated = 4;
            r.m_NumInUse = 5;
            r.m_NumMaint = 6;
            r.m_NumOOS = 7;
        },
        [](CSummaryRS& r) {
            EXPECT_EQ(r.m_FromIntercomIndex, 1);
            EXPECT_EQ(r.m_ToIntercomIndex, 2);
            EXPECT_EQ(r.m_NumTrunks, 3);
            EXPECT_EQ(r.m_NumAllocated, 4);
            EXPECT_EQ(r.m_NumInUse, 5);
            EXPECT_EQ(r.m_NumMaint, 6);
            EXPECT_EQ(r.m_NumOOS, 7);
        });
}

TEST_F(TableRecordsetsTest, TrunksAndTheirStates) {
    RoundTrip<CTrunksRS>(
        "",
        [&](CTrunksRS& r) {
            r.m_TrunkIndex = 10000;
            r.m_State = "In Use";
            r.m_OOS = true;
            r.m_TestTime = t2;
            r.m_TestResult = "Fail";
            r.m_TestData = std::string(300, 'x');
            r.m_CascadedTrunkIndex = 5;
            r.m_UseFixed = true;
            r.m_CanCascade = false;
            r.m_End1IntercomIndex = 1;
            r.m_End1Number = 2;
            r.m_End2IntercomIndex = 3;
            r.m_End2Number = 4;
            r.m_Fixed1IntercomIndex = 5;
            r.m_Fixed1Function = "PL";
            r.m_Fixed1Number = 6;
            r.m_Fixed2IntercomIndex = 7;
            r.m_Fixed2Function = "SL";
            r.m_Fixed2Number = 8;
            r.m_Alarms = false;
            r.m_AutoTest = false;
            r.m_Notify = true;
        },
        [&](CTrunksRS& r) {
            EXPECT_EQ(r.m_TrunkIndex, 10000);
            EXPECT_EQ(r.m_State.Value(), "In Use");
            EXPECT_TRUE(r.m_OOS);
            EXPECT_EQ(r.m_TestTime.Value(), t2);
            EXPECT_EQ(r.m_TestResult.Value(), "Fail");
            EXPECT_EQ(r.m_TestData.Value(), std::string(255, 'x'));  // cut to its width
            EXPECT_EQ(r.m_CascadedTrunkIndex, 5);
            EXPECT_TRUE(r.m_UseFixed);
            EXPECT_FALSE(r.m_CanCascade);
            EXPECT_EQ(r.m_End1IntercomIndex, 1);
            EXPECT_EQ(r.m_End1Number, 2);
            EXPECT_EQ(r.m_End2IntercomIndex, 3);
            EXPECT_EQ(r.m_End2Number, 4);
            EXPECT_EQ(r.m_Fixed1IntercomIndex, 5);
            EXPECT_EQ(r.m_Fixed1Function.Value(), "PL");
            EXPECT_EQ(r.m_Fixed1Number, 6);
            EXPECT_EQ(r.m_Fixed2IntercomIndex, 7);
            EXPECT_EQ(r.m_Fixed2Function.Value(), "SL");
            EXPECT_EQ(r.m_Fixed2Number, 8);
            EXPECT_FALSE(r.m_Alarms);
            EXPECT_FALSE(r.m_AutoTest);
            EXPECT_TRUE(r.m_Notify);
        });
    CTrunks2RS states(Db());
    states.Open();
    ASSERT_TRUE(states.Seek(10000));
    EXPECT_EQ(states.m_State.Value(), "In Use");
    states.Edit();
    states.m_State = "Maint";
    states.Update();
    CTrunksRS all(Db());
    all.Open();
    ASSERT_TRUE(all.Seek(10000));
    EXPECT_EQ(all.m_State.Value(), "Maint");
    EXPECT_EQ(all.m_Fixed2Function.Value(), "SL");
}

}  // namespace
}  // namespace corvane::testing
