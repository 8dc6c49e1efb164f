#include "StoreFixture.h"

namespace corvane::testing {
namespace {

class FakeController final : public IControllerChecks {
public:
    bool IsAlphasCheckDue() const override { return alphasDue; }
    void SetAlphasCheckDue(bool due) override { alphasDue = due; }
    void FlagMatrixAlphasQuery(int intercom, int type) override {
        alphaQueries.emplace_back(intercom, type);
    }
    bool IsIntercomStatusCheckDue() const override { return statusDue; }
    void SetIntercomStatusCheckDue(bool due) override { statusDue = due; }
    void FlagMatrixCommStatQuery(int intercom) override { statusQueries.push_back(intercom); }
    bool IsTrunkDefinitionsCheckDue() const override { return trunksDue; }
    void SetTrunkDefinitionsCheckDue(bool due) override { trunksDue = due; }
    void FlagTrunkDefinitionsQuery(int trunk) override { trunkQueries.push_back(trunk); }

    bool alphasDue = false, statusDue = false, trunksDue = false;
    std::vector<std::pair<int, int>> alphaQueries;
    std::vector<int> statusQueries, trunkQueries;
};

class Model final : public IStartupOptionsSink {
public:
    void SetIntercomOptions(int intercom, bool alarms, bool notify,
                            const std::string& comState) override {
        intercoms.push_back(std::to_string(intercom) + (alarms ? "A" : "-") + (notify ? "N" : "-") +
                            comState);
    }
    void SetTrunkOptions(int trunk, bool autoTest, bool alarms, bool notify) override {
        trunks.push_back(std::to_string(trunk) + (autoTest ? "T" : "-") + (alarms ? "A" : "-") +
                         (notify ? "N" : "-"));
    }
    std::vector<std::string> intercoms, trunks;
};

class DatabaseChecksTest : public StoreTest {
protected:
    void SetUp() override {
        OpenStore()->CloseDatabase();
        RawDb(DbPath()).Exec(
            "INSERT INTO Intercoms (IntercomIndex, ComState, Alarms, Notify) VALUES "
            "(1, 'OK', -1, 0), (256, NULL, 0, -1), (257, 'beyond', -1, -1), (-3, 'below', 0, 0);"
            "INSERT INTO Trunks (TrunkIndex, AutoTest, TestResult, TestData) VALUES "
            "(1, 0, 'Pending', 'x'), (2, -1, 'Pass', 'ok'), (10000, -1, 'Testing', 'y'), "
            "(10001, -1, 'Skipped', 'z');"
            "INSERT INTO Alphas (AsgnKey, IntercomIndex, Function, Number, Alpha) VALUES "
            "(1, 1, 'PP', 1, '  DESK  '), (2, 1, 'MX', 2, 'mix'), (3, 2, 'il', 3, 'line'), "
            "(4, 2, 'ZZ', 4, 'junk'), (5, 1, 'PP', 5, NULL);");
        store_ = OpenStore();
    }
    std::unique_ptr<CVorlinDatabase> store_;
    FakeController controller;
};

TEST_F(DatabaseChecksTest, AlphaCheckFlagsValidFunctionsOnlyWhenDue) {
    store_->CheckMatrixAlphas(&controller);
    EXPECT_TRUE(controller.alphaQueries.empty());
    controller.alphasDue = true;
    store_->CheckMatrixAlphas(&controller);
    EXPECT_FALSE(controller.alphasDue);
    EXPECT_EQ(controller.alphaQueries, (std::vector<std::pair<int, int>>{{0, 0}, {1, 8}, {0, 0}}));
    store_->CheckMatrixAlphas(nullptr);
}

TEST_F(DatabaseChecksTest, StatusWalkRunsEveryTenSecondsOrWhenAsked) {
    store_->CheckMatrixStatus(&controller);
    EXPECT_TRUE(controller.statusQueries.empty());
    clock.Advance(std::chrono::milliseconds(9999));
    store_->CheckMatrixStatus(&controller);
    EXPECT_TRUE(controller.statusQueries.empty());
    clock.Advance(std::chrono::milliseconds(1));
    store_->CheckMatrixStatus(&controller);
    EXPECT_EQ(controller.statusQueries, (std::vector<int>{-4, 0, 255, 256}));
    EXPECT_FALSE(controller.statusDue);
    controller.statusDue = true;
    store_->CheckMatrixStatus(&controller);
    EXPECT_EQ(controller.statusQueries.size(), 8u);
}

TEST_F(DatabaseChecksTest, TrunkDefinitionCheckFlagsEveryRowOnce) {
    controller.trunksDue = true;
    store_->CheckTrunkDefinitions(&controller);
    EXPECT_EQ(controller.trunkQueries, (std::vector<int>{0, 1, 9999, 10000}));
    EXPECT_FALSE(controller.trunksDue);
    store_->CheckTrunkDefinitions(&controller);
    EXPECT_EQ(controller.trunkQueries.size(), 4u);
}

TEST_F(DatabaseChecksTest, EmptyTablesFlagNothingButClearTheMark) {
    store_->Database().Execute("DELETE FROM Alphas; DELETE FROM Trunks;");
    controller.alphasDue = controller.trunksDue = true;
    store_->CheckMatrixAlphas(&controller);
    store_->CheckTrunkDefinitions(&controller);
    EXPECT_FALSE(controller.alphasDue || controller.trunksDue);
    EXPECT_TRUE(controller.alphaQueries.empty() && controller.trunkQueries.empty());
}

TEST_F(DatabaseChecksTest, AFailedCheckIsReportedAndItsMarkStaysCleared) {
    store_->Database().Execute("DROP TABLE Alphas");
    controller.alphasDue = true;
    store_->CheckMatrixAlphas(&controller);
    EXPECT_FALSE(controller.alphasDue);
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(ui.DatabaseErrors()[0].rfind("Error, checking matrix alphas\nDescription: %s|", 0),
              0u);
}

TEST_F(DatabaseChecksTest, StartUpReadsSkipRowsOutsideTheModel) {
    Model model;
    store_->ReadIntercomOptions(model);
    store_->ReadTrunkOptions(model);
    EXPECT_EQ(model.intercoms, (std::vector<std::string>{"1A-OK", "256-N"}));
    EXPECT_EQ(model.trunks, (std::vector<std::string>{"1-AN", "2TAN", "10000TAN"}));
}

TEST_F(DatabaseChecksTest, UnfinishedTestResultsAreCleared) {
    store_->CheckTrunkTestStates();
    EXPECT_EQ(RawDb(DbPath()).Query("SELECT '[' || TestResult || ']', TestData FROM Trunks ORDER "
                                    "BY TrunkIndex"),
              (std::vector<std::vector<std::string>>{{"[ ]", "Test not completed"},
                                                     {"[Pass]", "ok"},
                                                     {"[ ]", "Test not completed"},
                                                     {"[ ]", "Test not completed"}}));
}

TEST_F(DatabaseChecksTest, TestResultsAreRecordedWithTheirHints) {
    CDiagLogSource log("TrunkTest", "Trunk Test log", 0);
    uint32_t hint = 0;
    store_->CopyTrunkTestResultsToDatabase(2, 1, "Loss 12 dB", hint, log);
    EXPECT_EQ(hint, 0x40u);
    EXPECT_EQ(RawDb(DbPath()).One("SELECT TestResult || ',' || TestData || ',' || TestTime FROM "
                                  "Trunks WHERE TrunkIndex = 2"),
              "Fail,Loss 12 dB,2024-05-06 07:08:09");
    // The same result a second later only moves the time.
    hint = 0;
    clock.Advance(std::chrono::seconds(1));
    settings.Modify([](AppSettings& s) { s.AutoUpdateSortOrder = true; });
    store_->CopyTrunkTestResultsToDatabase(2, 1, "Loss 12 dB", hint, log);
    EXPECT_EQ(hint, 0x40u);
    hint = 0;
    store_->CopyTrunkTestResultsToDatabase(2, 0, "Loss 12 dB", hint, log);
    EXPECT_EQ(hint, 0xC0u);
    hint = 0;
    store_->CopyTrunkTestResultsToDatabase(77, 0, "none", hint, log);
    EXPECT_EQ(hint, 0u);
    EXPECT_TRUE(ui.DatabaseErrors().empty());
}

TEST_F(DatabaseChecksTest, AlphaTextComesTrimmedFromAllNames) {
    EXPECT_EQ(store_->GetAlphaText(1, 0, 1), "DESK");
    EXPECT_EQ(store_->GetAlphaText(1, 0, 5), "");      // null alpha
    EXPECT_EQ(store_->GetAlphaText(2, 8, 3), "line");  // codes compare without case
    EXPECT_EQ(store_->GetAlphaText(1, 7, 2), "");      // type 7 is never asked for
    EXPECT_EQ(store_->GetAlphaText(257, 0, 1), "");
    EXPECT_EQ(store_->GetAlphaText(1, 0, 99), "");
    store_->Database().Execute("DROP VIEW AllNames");
    EXPECT_EQ(store_->GetAlphaText(1, 0, 1), "");  // errors are logged, not shown
    EXPECT_TRUE(ui.DatabaseErrors().empty());
}

TEST_F(DatabaseChecksTest, ArchiveFileNamesLieBesideTheDatabase) {
    LocalTime day;
    day.year = 2024;
    day.month = 3;
    day.day = 7;
    EXPECT_EQ(store_->GetAlarmArchiveFileName(day),
              Dir() + "/archives/alarms/2024-03-07 Alarm Archive.mdb");
    EXPECT_EQ(store_->GetRequestArchiveFileName(day),
              Dir() + "/archives/requests/2024-03-07 Request Archive.mdb");
    CVorlinDatabase standard(profile, settings, clock, dbaseLog);
    EXPECT_EQ(standard.GetAlarmArchiveFileName(day),
              "../database/archives/alarms/2024-03-07 Alarm Archive.mdb");
}

}  // namespace
}  // namespace corvane::testing
