#pragma once

#include <string>
#include <vector>

#include "StoreFixture.h"
#include "store/DaoRecordset.h"

namespace corvane::testing {

// An opened store with a small network written straight into its tables: three intercoms,
// five alphas, four trunks, three requests, seven alarms and the trunk summary.
class ListDatabaseTest : public StoreTest {
protected:
    void SetUp() override {
        store_ = OpenStore();
        ASSERT_TRUE(store_);
    }
    CDaoDatabase& Db() { return store_->Database(); }
    void Exec(const std::string& sql) { Db().Execute(sql); }

    // Every row of an open recordset, each cell as text (null as "NULL"), from the first.
    static std::vector<std::vector<std::string>> Rows(CDaoRecordset& rs) {
        std::vector<std::vector<std::string>> rows;
        if (rs.IsBOF() && rs.IsEOF()) {
            return rows;
        }
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            std::vector<std::string> row;
            for (int f = 0; f < rs.GetFieldCount(); ++f) {
                const DaoValue v = rs.GetFieldValue(f);
                row.push_back(v.IsNull() ? "NULL" : v.ToText());
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }
    static std::vector<std::string> Column(const std::vector<std::vector<std::string>>& rows,
                                           size_t column) {
        std::vector<std::string> out;
        for (const auto& r : rows) {
            out.push_back(r.at(column));
        }
        return out;
    }

    void AddIntercoms() {
        Exec(
            "INSERT INTO Intercoms (IntercomIndex, IntercomName, SerialPort, BaudRate, ComState, "
            "ErrorCounter, Alarms, Notify, ConnType, IPAddr1, IPAddr2, CascadeCost) VALUES "
            "(1, 'Studio', 3, 9600, 'OK', 0, -1, 0, 'Serial', NULL, NULL, 0), "
            "(2, NULL, 0, 38400, 'OK', 0, 0, -1, 'Network', '10.0.0.1', '10.0.0.2', 5), "
            "(5, 'Control', 7, 9600, 'No reply', 2, -1, -1, 'Serial', NULL, NULL, 0)");
    }
    void AddAlphas() {
        Exec(
            "INSERT INTO Alphas (AsgnKey, IntercomIndex, Function, Number, Alpha) VALUES "
            "(1, 1, 'PP', 1, 'DESK1'), (2, 1, 'PP', 2, 'DESK2'), (3, 2, 'PP', 1, 'OPS'), "
            "(4, 1, 'PL', 3, 'PARTY'), (5, 2, 'IF', 4, 'IFB')");
    }
    // Trunk 3 shares its first end with trunk 1; trunk 4 has both ends on intercom 5.
    void AddTrunks() {
        Exec(
            "INSERT INTO Trunks (TrunkIndex, State, OOS, TestResult, TestData, UseFixed, "
            "CanCascade, End1IntercomIndex, End1Number, End2IntercomIndex, End2Number, "
            "Fixed1IntercomIndex, Fixed1Function, Fixed1Number, Fixed2IntercomIndex, "
            "Fixed2Function, Fixed2Number, AutoTest, Alarms, Notify) VALUES "
            "(1, 'Idle', 0, 'Pass', 'ok', -1, 0, 1, 1, 2, 1, 1, 'PL', 3, 2, 'IF', 4, -1, -1, 0), "
            "(2, 'In Use', -1, ' ', NULL, 0, -1, 1, 2, 2, 2, NULL, NULL, NULL, NULL, NULL, NULL, "
            "-1, -1, -1), "
            "(3, 'Idle', 0, 'Fail', 'loss', 0, 0, 1, 1, 5, 7, NULL, NULL, NULL, NULL, NULL, NULL, "
            "0, -1, -1), "
            "(4, 'Maint', -1, 'Testing', NULL, 0, 0, 5, 3, 5, 4, NULL, NULL, NULL, NULL, NULL, "
            "NULL, -1, 0, 0)");
    }
    void AddRequests() {
        Exec(
            "INSERT INTO Requests (RequestID, State, RequestTime, End1IntercomIndex, "
            "End1Function, End1Number, End1Talk, End1Listen, End1Inactive, End2IntercomIndex, "
            "End2Function, End2Number, End2Talk, End2Listen, End2Inactive, Trunk1Index, "
            "Trunk2Index) VALUES "
            "(1, 'Active', '2024-05-06 07:00:00', 1, 'PP', 1, -1, 0, 0, 2, 'PP', 1, 0, -1, 0, 1, "
            "2), "
            "(2, 'Queued', '2024-05-06 07:01:00', 1, 'PL', 3, 0, -1, -1, 5, 'PP', 9, -1, -1, 0, "
            "3, NULL), "
            "(3, 'Finished', '2024-05-06 07:02:00', 2, 'IF', 4, 0, 0, 0, 1, 'PP', 2, 0, 0, 0, 2, "
            "2)");
    }
    void AddAlarms() {
        Exec(
            "INSERT INTO Alarms (AlarmID, State, Acknowledged, Notification, DeviceType, "
            "DeviceInstance, AlarmType, Description, AlarmTime, Context) VALUES "
            "(1, 'Active', 0, 'None', 'Intercom', 5, 'Comms', 'No reply', '2024-05-06 07:00:00', "
            "NULL), "
            "(2, 'Resolved', -1, 'Sent', 'Trunk', 3, 'Test Failure', 'Loss', "
            "'2024-05-06 07:01:00', NULL), "
            "(3, 'Active', 0, 'Pending', 'Quillex', 0, 'Comms', 'Link down', "
            "'2024-05-06 07:02:00', NULL), "
            "(4, 'Stale', 0, 'None', 'RT-2M', 0, 'Device', 'No reply', '2024-05-06 07:03:00', "
            "NULL), "
            "(5, 'Unresolved', -1, 'None', 'Request', 2, 'Busy', 'Busy', '2024-05-06 07:04:00', "
            "NULL), "
            "(6, 'Active', 0, 'None', 'Intercom', 1, 'Comms', 'No reply', '2024-05-06 07:05:00', "
            "NULL), "
            "(7, 'Resolved', 0, 'None', 'Tonexa', 0, 'Device', 'No reply', "
            "'2024-05-06 07:06:00', NULL)");
    }
    // Row 0 of each intercom holds its totals.
    void AddSummary() {
        Exec(
            "INSERT INTO TrunkSummary (FromIntercomIndex, ToIntercomIndex, NumTrunks, "
            "NumAllocated, NumInUse, NumMaint, NumOOS) VALUES "
            "(0, 1, 3, 0, 1, 0, 1), (0, 2, 2, 0, 1, 0, 1), (0, 5, 3, 1, 0, 1, 1), "
            "(1, 2, 2, 0, 1, 0, 1), (1, 5, 1, 0, 0, 0, 0), (5, 1, 1, 0, 0, 0, 0)");
    }
    void AddAll() {
        AddIntercoms();
        AddAlphas();
        AddTrunks();
        AddRequests();
        AddAlarms();
        AddSummary();
    }

    std::unique_ptr<CVorlinDatabase> store_;
};

}  // namespace corvane::testing
