#include "StoreFixture.h"
#include "store/DaoException.h"

namespace corvane::testing {
namespace {

class RecordsetTest : public StoreTest {
protected:
    void SetUp() override {
        store_ = OpenStore();
        raw_ = std::make_unique<RawDb>(DbPath());
    }
    CDaoDatabase& Db() { return store_->Database(); }
    RawDb& Raw() { return *raw_; }
    void AddTrunks(std::initializer_list<int> numbers) {
        for (const int n : numbers) {
            Raw().Exec("INSERT INTO Trunks (TrunkIndex, State) VALUES (" + std::to_string(n) +
                       ", 'Idle')");
        }
    }
    std::vector<int> WalkTrunks(CTrunksRS& rs) {
        std::vector<int> seen;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            seen.push_back(rs.m_TrunkIndex);
        }
        return seen;
    }
    std::unique_ptr<CVorlinDatabase> store_;
    std::unique_ptr<RawDb> raw_;
};

TEST_F(RecordsetTest, AddNewWritesOnlyAssignedColumnsSoDefaultsApply) {
    CTrunksRS rs(Db());
    rs.Open();
    rs.AddNew();
    rs.m_TrunkIndex = 12;
    rs.m_Alarms = false;  // assigned: written although it is the member's zero
    rs.Update();
    EXPECT_EQ(
        Raw().Query("SELECT AutoTest, Alarms, Notify, OOS, '[' || TestResult || ']', "
                    "State, TestTime FROM Trunks WHERE TrunkIndex = 12"),
        (std::vector<std::vector<std::string>>{{"-1", "0", "-1", "0", "[ ]", "NULL", "NULL"}}));
}

TEST_F(RecordsetTest, EditWritesOnlyChangedColumns) {
    AddTrunks({1});
    CTrunksRS all(Db());
    all.Open();
    CTrunks2RS state(Db());
    state.Open();
    ASSERT_TRUE(all.Seek(1));
    ASSERT_TRUE(state.Seek(1));
    // Someone else changes the row after both recordsets read it.
    Raw().Exec("UPDATE Trunks SET TestData = 'by another', End1Number = 9 WHERE TrunkIndex = 1");

    state.Edit();
    state.m_State = "Maint";
    state.Update();
    all.Edit();
    all.m_CanCascade = true;
    all.m_State = all.m_State.Value();  // assigned, but not changed: not written
    all.Update();
    EXPECT_EQ(Raw().Query("SELECT State, TestData, End1Number, CanCascade FROM Trunks"),
              (std::vector<std::vector<std::string>>{{"Maint", "by another", "9", "-1"}}));
}

TEST_F(RecordsetTest, SeekFindsKeysAndMissesLeaveNoCurrentRow) {
    AddTrunks({3, 5, 8});
    CTrunksRS rs(Db());
    rs.Open();
    EXPECT_TRUE(rs.Seek(5));
    EXPECT_EQ(rs.m_TrunkIndex, 5);
    EXPECT_FALSE(rs.Seek(4));
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_THROW(rs.Edit(), CDaoException);
    EXPECT_FALSE(rs.Seek(70000));  // beyond any 16-bit key

    CSummaryRS summary(Db());
    summary.Open();
    summary.AddNew();
    summary.m_FromIntercomIndex = 2;
    summary.m_ToIntercomIndex = 7;
    summary.m_NumTrunks = 4;
    summary.Update();
    EXPECT_TRUE(summary.Seek(2, 7));
    EXPECT_EQ(summary.m_NumTrunks, 4);
    EXPECT_FALSE(summary.Seek(7, 2));
    EXPECT_TRUE(summary.Seek(2));  // a leading part of the key
    EXPECT_THROW(summary.Seek(1, 2, 3), CDaoException);
}

TEST_F(RecordsetTest, DeleteThenMoveNextGoesOnWithTheNextRow) {
    AddTrunks({1, 2, 3, 4, 5});
    CTrunksRS rs(Db());
    rs.Open();
    std::vector<int> kept;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        if (rs.m_TrunkIndex % 2 == 0) {
            rs.Delete();
            EXPECT_THROW(rs.Edit(), CDaoException);  // the deleted row is gone
        } else {
            kept.push_back(rs.m_TrunkIndex);
        }
    }
    EXPECT_EQ(kept, (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(Raw().One("SELECT group_concat(TrunkIndex) FROM Trunks"), "1,3,5");
    // Deleting every row while walking ends empty.
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        rs.Delete();
    }
    rs.MoveFirst();
    EXPECT_TRUE(rs.IsBOF() && rs.IsEOF());
}

TEST_F(RecordsetTest, TheCursorFollowsTheTableAsOthersChangeIt) {
    AddTrunks({1, 2, 4, 6});
    CTrunksRS rs(Db());
    rs.Open();
    ASSERT_TRUE(rs.Seek(2));
    Raw().Exec("INSERT INTO Trunks (TrunkIndex) VALUES (3)");
    Raw().Exec("DELETE FROM Trunks WHERE TrunkIndex = 4");
    rs.MoveNext();
    EXPECT_EQ(rs.m_TrunkIndex, 3);
    rs.MoveNext();
    EXPECT_EQ(rs.m_TrunkIndex, 6);
    // Moving the current row's key moves the cursor with it.
    ASSERT_TRUE(rs.Seek(1));
    rs.Edit();
    rs.m_TrunkIndex = 5;
    rs.Update();
    rs.MoveNext();
    EXPECT_EQ(rs.m_TrunkIndex, 6);
    EXPECT_EQ(WalkTrunks(rs), (std::vector<int>{2, 3, 5, 6}));
}

TEST_F(RecordsetTest, MovesStopAtBothEnds) {
    AddTrunks({1, 2});
    CTrunksRS rs(Db());
    rs.Open();
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_EQ(rs.m_TrunkIndex, 1);
    rs.MovePrev();
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_THROW(rs.MovePrev(), CDaoException);
    rs.MoveNext();
    EXPECT_EQ(rs.m_TrunkIndex, 1);
    rs.MoveLast();
    EXPECT_EQ(rs.m_TrunkIndex, 2);
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_THROW(rs.MoveNext(), CDaoException);
    rs.MovePrev();
    EXPECT_EQ(rs.m_TrunkIndex, 2);
    rs.Move(-1);
    EXPECT_EQ(rs.m_TrunkIndex, 1);
    EXPECT_EQ(rs.GetRecordCount(), 2);
}

TEST_F(RecordsetTest, ValuesAreStoredTheWayTheSystemsSqlExpects) {
    CIntercomsRS rs(Db());
    rs.Open();
    rs.AddNew();
    rs.m_IntercomIndex = 1;
    rs.m_IntercomName = "A name far longer than twenty";
    rs.m_ComState = "";  // empty text is stored as null
    rs.m_Alarms = true;
    rs.m_Notify = false;
    rs.m_CascadeCost = -32768;
    rs.Update();
    EXPECT_EQ(Raw().Query("SELECT IntercomName, ComState, Alarms, Notify, CascadeCost, "
                          "typeof(Alarms) FROM Intercoms"),
              (std::vector<std::vector<std::string>>{
                  {"A name far longer th", "NULL", "-1", "0", "-32768", "integer"}}));
    ASSERT_TRUE(rs.Seek(1));
    EXPECT_EQ(rs.m_IntercomName.Value(), "A name far longer th");
    EXPECT_TRUE(rs.m_ComState.IsNull());
    EXPECT_TRUE(rs.m_Alarms);
}

TEST_F(RecordsetTest, IntegerColumnsRefuseWhatDoesNotFitSixteenBits) {
    CIntercomsRS rs(Db());
    rs.Open();
    rs.AddNew();
    rs.m_IntercomIndex = 1;
    rs.m_CascadeCost = 32768;
    try {
        rs.Update();
        FAIL() << "no overflow";
    } catch (const CDaoException& e) {
        EXPECT_NE(e.Description().find("overflow"), std::string::npos) << e.Description();
    }
    rs.CancelUpdate();
    EXPECT_EQ(Raw().One("SELECT count(*) FROM Intercoms"), "0");

    // A value that some other program stored beyond 16 bits is refused on reading.
    Raw().Exec("INSERT INTO Trunks (TrunkIndex, End1Number) VALUES (1, 70000)");
    CTrunksRS trunks(Db());
    EXPECT_THROW(trunks.Open(), CDaoException);
    Raw().Exec("UPDATE Trunks SET End1Number = 'text' WHERE TrunkIndex = 1");
    EXPECT_THROW(trunks.Open(), CDaoException);
}

TEST_F(RecordsetTest, DatesAreLocalTextAndNullWhenMissing) {
    const WallTime when = LocalWall(2023, 12, 31, 23, 59, 58);
    CRequestsRS rs(Db());
    rs.Open();
    rs.AddNew();
    rs.m_RequestTime = when;
    rs.m_State = "Queued";
    rs.Update();
    EXPECT_EQ(Raw().Query("SELECT RequestTime, ActiveTime FROM Requests"),
              (std::vector<std::vector<std::string>>{{"2023-12-31 23:59:58", "NULL"}}));
    rs.SetBookmark(rs.GetLastModifiedBookmark());
    EXPECT_EQ(rs.m_RequestTime.Value(), when);
    EXPECT_TRUE(rs.m_ActiveTime.IsNull());
    Raw().Exec("UPDATE Requests SET ActiveTime = 'yesterday'");
    EXPECT_THROW(rs.Requery(), CDaoException);
}

TEST_F(RecordsetTest, TheRowJustAddedIsTheLastModifiedAndTheCursorStaysPut) {
    CAlarmsRS rs(Db());
    rs.Open();
    for (const char* state : {"Active", "Resolved"}) {
        rs.AddNew();
        rs.m_State = state;
        rs.Update();
    }
    rs.MoveFirst();
    ASSERT_EQ(rs.m_State.Value(), "Active");
    rs.AddNew();
    rs.m_State = "Stale";
    rs.Update();
    EXPECT_EQ(rs.m_State.Value(), "Active");  // back on the row that was current
    rs.SetBookmark(rs.GetLastModifiedBookmark());
    EXPECT_EQ(rs.m_State.Value(), "Stale");
    EXPECT_EQ(rs.m_AlarmID, 3);
    // Numbers of deleted rows are not used again.
    rs.Delete();
    rs.AddNew();
    rs.m_State = "Active";
    rs.Update();
    rs.SetBookmark(rs.GetLastModifiedBookmark());
    EXPECT_EQ(rs.m_AlarmID, 4);
}

TEST_F(RecordsetTest, SecondaryKeyWalksByNameWithoutTheNamelessRows) {
    Raw().Exec(
        "INSERT INTO Intercoms (IntercomIndex, IntercomName) VALUES (1, 'delta'), "
        "(2, NULL), (3, 'Alpha'), (4, 'charlie'), (5, 'Bravo')");
    CIntercomsRS rs(Db());
    rs.Open();
    rs.SetCurrentIndex("SecondaryKey");
    std::vector<int> order;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        order.push_back(rs.m_IntercomIndex);
    }
    EXPECT_EQ(order, (std::vector<int>{3, 5, 4, 1}));
    EXPECT_TRUE(rs.Seek("CHARLIE"));
    EXPECT_EQ(rs.m_IntercomIndex, 4);
    EXPECT_THROW(rs.SetCurrentIndex("NoSuchIndex"), CDaoException);
    rs.SetCurrentIndex("");
    EXPECT_EQ(rs.GetRecordCount(), 5);
}

TEST_F(RecordsetTest, DynasetFiltersSortsRequeriesAndWritesBack) {
    Raw().Exec(
        "INSERT INTO Alarms (State, Notification, NotificationTime) VALUES "
        "('Active', 'Pending', '2024-01-01 10:00:00'), ('Active', 'None', NULL), "
        "('Resolved', 'Pending', '2024-01-01 09:00:00')");
    CAlarmsRS rs(Db());
    rs.m_strFilter = "Notification = 'PENDING'";
    rs.m_strSort = "NotificationTime";
    rs.Open(DaoOpenType::Dynaset);
    ASSERT_EQ(rs.GetRecordCount(), 2);
    EXPECT_EQ(rs.m_AlarmID, 3);
    EXPECT_EQ(rs.GetAbsolutePosition(), 0);
    rs.Edit();
    rs.m_Notification = "Sent";
    rs.Update();
    EXPECT_EQ(rs.m_Notification.Value(), "Sent");
    EXPECT_EQ(Raw().One("SELECT Notification FROM Alarms WHERE AlarmID = 3"), "Sent");
    rs.MoveNext();
    EXPECT_EQ(rs.m_AlarmID, 1);
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    Raw().Exec(
        "INSERT INTO Alarms (State, Notification, NotificationTime) VALUES "
        "('Active', 'Pending', '2023-01-01 00:00:00')");
    rs.Requery();
    ASSERT_EQ(rs.GetRecordCount(), 2);
    EXPECT_EQ(rs.m_AlarmID, 4);
    rs.Delete();
    rs.MoveNext();
    EXPECT_EQ(rs.m_AlarmID, 1);
    EXPECT_EQ(Raw().One("SELECT count(*) FROM Alarms"), "3");
}

TEST_F(RecordsetTest, QueryDynasetsReadColumnsAndRefuseWrites) {
    Raw().Exec(
        "INSERT INTO Intercoms (IntercomIndex, IntercomName) VALUES (1, 'North'), "
        "(2, 'South'), (3, 'East')");
    Raw().Exec("INSERT INTO Trunks (TrunkIndex, TestTime) VALUES (1, '2024-02-03 04:05:06')");
    CDaoRecordset rs(Db());
    rs.m_strFilter = "IntercomIndex > ?";
    rs.m_strSort = "'Icom' DESC";
    rs.Open(DaoOpenType::Dynaset,
            "SELECT IntercomIndex AS 'Icom #', IntercomName AS 'Icom' FROM Intercoms", {1});
    ASSERT_EQ(rs.GetFieldCount(), 2);
    EXPECT_EQ(rs.GetFieldName(1), "Icom");
    std::vector<std::string> names;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        names.push_back(rs.GetFieldValue(1).AsText());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"South", "East"}));
    rs.MoveFirst();
    EXPECT_THROW(rs.Edit(), CDaoException);
    EXPECT_THROW(rs.GetFieldValue(2), CDaoException);
    rs.Move(5);
    EXPECT_TRUE(rs.IsEOF());

    CDaoRecordset dates(Db());
    dates.Open(DaoOpenType::Dynaset, "SELECT TestTime, TrunkIndex FROM Trunks");
    EXPECT_TRUE(dates.GetFieldValue(0).IsDate());
    WallTime t;
    ASSERT_TRUE(dates.GetFieldValue(0).AsDate(t));
    EXPECT_EQ(t, LocalWall(2024, 2, 3, 4, 5, 6));
    EXPECT_FALSE(dates.GetFieldValue(1).IsDate());
}

TEST_F(RecordsetTest, FailuresCarryTheEnginesMessage) {
    try {
        Db().Execute("SELEC nothing");
        FAIL();
    } catch (const CDaoException& e) {
        EXPECT_NE(e.Description().find("syntax error"), std::string::npos) << e.Description();
        ReportDaoException(e, "Error, testing\nDescription: %s");
    }
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(ui.DatabaseErrors()[0].rfind("Error, testing\nDescription: %s|", 0), 0u);
    CStatesRS states(Db());
    EXPECT_THROW(states.Open(), CDaoException);  // "[States]" is no table
    EXPECT_THROW(Db().Execute("INSERT INTO Trunks (State) VALUES ('x')"), CDaoException);
}

TEST_F(RecordsetTest, RecordsetsOfAClosedDatabaseRefuseWithoutCrashing) {
    AddTrunks({1});
    CTrunksRS rs(Db());
    rs.Open();
    Db().Close();
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_THROW(rs.MoveNext(), CDaoException);
    EXPECT_THROW(rs.Seek(1), CDaoException);
    EXPECT_THROW(rs.Open(), CDaoException);
}

TEST_F(RecordsetTest, TransactionsRollBackWhenLeftUncommitted) {
    {
        CDaoTransaction t(Db());
        CTrunksRS rs(Db());
        rs.Open();
        rs.AddNew();
        rs.m_TrunkIndex = 1;
        rs.Update();
    }
    EXPECT_EQ(Raw().One("SELECT count(*) FROM Trunks"), "0");
    CDaoTransaction t(Db());
    Db().Execute("INSERT INTO Trunks (TrunkIndex) VALUES (?)", {2});
    EXPECT_EQ(Db().GetRecordsAffected(), 1);
    t.Commit();
    EXPECT_EQ(Raw().One("SELECT count(*) FROM Trunks"), "1");
}

TEST_F(RecordsetTest, AnErrorWithoutDescriptionSendsTheOperatorToTheLog) {
    ReportDaoException(CDaoException("", 0), "Error, copying\nDescription: %s");
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u);
    const std::string error = ui.DatabaseErrors()[0];
    EXPECT_EQ(error.rfind("Error, copying\nDescription: %s|No error information available.", 0), 0u)
        << error;
    EXPECT_NE(error.find("diagnostic log"), std::string::npos) << error;
    for (const char* old : {"DAO", "install", "Microsoft"}) {
        EXPECT_EQ(error.find(old), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace corvane::testing
