// The periodic checks, the start-up reads, the test result record and the alpha lookup.
#include <chrono>

#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "settings/AppSettings.h"
#include "store/DaoException.h"
#include "store/FunctionCodes.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

constexpr auto kStatusWalkPeriod = std::chrono::seconds(10);
constexpr auto kFileCheckPeriod = std::chrono::seconds(2);

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

void CVorlinDatabase::CheckMatrixAlphas(IControllerChecks* controller) {
    if (controller == nullptr || !controller->IsAlphasCheckDue()) {
        return;
    }
    controller->SetAlphasCheckDue(false);
    try {
        CAlphasRS& rs = *alphas_;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            const int type = FunctionTypeOfCode(rs.m_Function.Value());
            if (IsValidFunctionType(type)) {
                controller->FlagMatrixAlphasQuery(rs.m_IntercomIndex - 1, type);
            }
        }
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, checking matrix alphas\nDescription: %s");
    }
}

void CVorlinDatabase::CheckMatrixStatus(IControllerChecks* controller) {
    if (controller == nullptr) {
        return;
    }
    const SteadyTime now = clock_.Steady();
    if (!lastStatusWalk_) {
        lastStatusWalk_ = now;
    }
    if (now - *lastStatusWalk_ >= kStatusWalkPeriod) {
        controller->SetIntercomStatusCheckDue(true);
    }
    if (!controller->IsIntercomStatusCheckDue()) {
        return;
    }
    controller->SetIntercomStatusCheckDue(false);
    lastStatusWalk_ = now;
    try {
        CIntercomsRS& rs = *intercoms_;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            controller->FlagMatrixCommStatQuery(rs.m_IntercomIndex - 1);
        }
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, checking matrix status\nDescription: %s");
    }
}

void CVorlinDatabase::CheckDatabaseFile() {
    if (fileMoveTold_ || !db_->IsOpen()) {
        return;
    }
    const SteadyTime now = clock_.Steady();
    if (lastFileCheck_ && now - *lastFileCheck_ < kFileCheckPeriod) {
        return;
    }
    lastFileCheck_ = now;
    if (db_->IsFileInPlace()) {
        return;
    }
    fileMoveTold_ = true;
    log_.Printf(0,
                "The database file %s was removed or replaced while open: the writes go on into "
                "the file that is open, until the program stops",
                path_.c_str());
    Ui().PostMessageBox(InsertArgs(LoadString(ids::kDatabaseFileMoved), {path_}),
                        LoadString(ids::kAppCaption), mb::kOk | mb::kIconExclamation);
}

void CVorlinDatabase::CheckTrunkDefinitions(IControllerChecks* controller) {
    if (controller == nullptr || !controller->IsTrunkDefinitionsCheckDue()) {
        return;
    }
    controller->SetTrunkDefinitionsCheckDue(false);
    try {
        CTrunksRS& rs = *trunks_;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            controller->FlagTrunkDefinitionsQuery(rs.m_TrunkIndex - 1);
        }
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, checking trunk definitions\nDescription: %s");
    }
}

void CVorlinDatabase::CheckTrunkTestStates() {
    const std::string& pending = LoadString(ids::kTestResultFirst + 3);
    const std::string& testing = LoadString(ids::kTestResultFirst + 4);
    const std::string& skipped = LoadString(ids::kTestResultFirst + 5);
    const std::string& none = LoadString(ids::kTestResultFirst + 6);
    try {
        CTrunksRS& rs = *trunks_;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            if (rs.m_TestResult == pending || rs.m_TestResult == testing ||
                rs.m_TestResult == skipped) {
                rs.Edit();
                rs.m_TestResult = none;
                rs.m_TestData = "Test not completed";
                rs.Update();
            }
        }
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, checking trunk test states\nDescription: %s");
    }
}

void CVorlinDatabase::ReadIntercomOptions(IStartupOptionsSink& model) {
    try {
        CIntercomsRS& rs = *intercoms_;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            const int intercom = rs.m_IntercomIndex;
            if (intercom < 0 || intercom >= kModelIntercoms) {
                log_.Printf(1, "Intercoms row %d lies outside the intercoms 0-%d: skipped",
                            intercom, kModelIntercoms - 1);
                continue;
            }
            model.SetIntercomOptions(intercom, rs.m_Alarms, rs.m_Notify, rs.m_ComState);
        }
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, reading intercom options\nDescription: %s");
    }
}

void CVorlinDatabase::ReadTrunkOptions(IStartupOptionsSink& model) {
    try {
        CTrunksRS& rs = *trunks_;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            const int trunk = rs.m_TrunkIndex;
            if (trunk < 0 || trunk >= kModelTrunks) {
                log_.Printf(1, "Trunks row %d lies outside the trunks 0-%d: skipped", trunk,
                            kModelTrunks - 1);
                continue;
            }
            model.SetTrunkOptions(trunk, rs.m_AutoTest, rs.m_Alarms, rs.m_Notify);
        }
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, reading trunk options\nDescription: %s");
    }
}

void CVorlinDatabase::CopyTrunkTestResultsToDatabase(int trunk, int result, const std::string& text,
                                                     uint32_t& hint,
                                                     const CDiagLogSource& trunkTestLog) {
    // Results 0-6: "Pass" .. " "; anything else is no result.
    const std::string& name =
        LoadString(ids::kTestResultFirst + (result >= 0 && result <= 6 ? result : 6));
    trunkTestLog.Printf(result == 2 ? 1 : 3, "Trunk %d: Result=%s, %s", trunk, name.c_str(),
                        text.c_str());
    // Stored to the second, so compared to the second.
    const WallTime now = std::chrono::floor<std::chrono::seconds>(clock_.Now());
    std::erase_if(pendingTestResults_,
                  [trunk](const TestResultRecord& waiting) { return waiting.trunk == trunk; });
    pendingTestResults_.push_back({trunk, name, text, now});
    WritePendingTestResults(hint, trunkTestLog);
}

void CVorlinDatabase::WritePendingTestResults(uint32_t& hint, const CDiagLogSource& trunkTestLog) {
    constexpr const char* kError = "Error, copying trunk test data to database, Description: %s";
    if (pendingTestResults_.empty()) {
        return;
    }
    const bool autoUpdateSortOrder = settings_.Snapshot().AutoUpdateSortOrder;
    uint32_t written = 0;
    try {
        CDaoTransaction tx(*db_);
        for (const TestResultRecord& record : pendingTestResults_) {
            WriteTestResult(record, autoUpdateSortOrder, written, trunkTestLog);
        }
        tx.Commit();
    } catch (const CDaoException& e) {
        // Kept for the next tick, told once with the other writes of the outage.
        outage_.WriteFailed(e, kError);
        outage_.ShowReport();
        return;
    }
    pendingTestResults_.clear();
    hint |= written;
    outage_.WriteSucceeded();
}

void CVorlinDatabase::WriteTestResult(const TestResultRecord& record, bool autoUpdateSortOrder,
                                      uint32_t& hint, const CDiagLogSource& trunkTestLog) {
    CTrunksRS& rs = *trunks_;
    if (!rs.Seek(record.trunk)) {
        trunkTestLog.Printf(1, "Trunk %d, Error, trunk not found for trunk test database update",
                            record.trunk);
        return;
    }
    rs.Edit();
    if (!(rs.m_TestResult == record.name)) {
        rs.m_TestResult = record.name;
        hint |= autoUpdateSortOrder ? 0xC0 : 0x40;
    }
    if (!(rs.m_TestData == record.text)) {
        rs.m_TestData = record.text;
        hint |= 0x40;
    }
    if (rs.m_TestTime.IsNull() || !(rs.m_TestTime == record.time)) {
        rs.m_TestTime = record.time;
        hint |= 0x40;
    }
    rs.Update();
}

std::string CVorlinDatabase::GetAlphaText(int intercom, int functionType, int number) {
    if (intercom < 0 || intercom >= kModelIntercoms || !IsValidFunctionType(functionType)) {
        return {};
    }
    try {
        CDaoRecordset rs(*db_);
        rs.Open(DaoOpenType::Dynaset,
                "SELECT Alpha FROM AllNames WHERE IntercomIndex = ? AND Function = ? AND Number "
                "= ?",
                {DaoValue(intercom), DaoValue(std::string(kFunctionCodes[functionType])),
                 DaoValue(number)});
        return rs.IsEOF() ? std::string() : Trimmed(rs.GetFieldValue(0).ToText());
    } catch (const CDaoException& e) {
        log_.Printf(1, "Alpha lookup of intercom %d, type %d, number %d failed: %s", intercom,
                    functionType, number, e.Description().c_str());
        return {};
    }
}

std::string CVorlinDatabase::GetAlarmArchiveFileName(const LocalTime& date) const {
    const std::string dir = DirectoryOf(path_);
    return StrFormat("%s%sarchives/alarms/%04d-%02d-%02d Alarm Archive.mdb", dir.c_str(),
                     dir.empty() ? "" : "/", date.year, date.month, date.day);
}

std::string CVorlinDatabase::GetRequestArchiveFileName(const LocalTime& date) const {
    const std::string dir = DirectoryOf(path_);
    return StrFormat("%s%sarchives/requests/%04d-%02d-%02d Request Archive.mdb", dir.c_str(),
                     dir.empty() ? "" : "/", date.year, date.month, date.day);
}

}  // namespace corvane
