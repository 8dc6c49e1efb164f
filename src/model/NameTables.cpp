#include "model/NameTables.h"

#include "model/ModelNumbers.h"
#include "platform/StringTable.h"

namespace corvane {
namespace {

constexpr const char* kFunctionCodes[kFunctionTypeCount] = {"PP", "PL", "IF", "SL", "RY",
                                                            "IS", "UR", "MX", "IL"};

template <size_t N>
void LoadRun(std::array<std::string, N>& names, int firstId) {
    for (size_t i = 0; i < N; ++i) {
        names[i] = LoadString(firstId + static_cast<int>(i));
    }
}

}  // namespace

CNameTables::CNameTables() {
    LoadRun(requestStates, ids::kRequestStateFirst);
    LoadRun(trunkStates, ids::kTrunkStateFirst);
    LoadRun(testResults, ids::kTestResultFirst);
    for (int i = 0; i < 3; ++i) {
        alarmStates[i] = LoadString(ids::kAlarmStateActive + i);
    }
    alarmStates[3] = LoadString(ids::kAlarmStateUnresolved);
    LoadRun(deviceTypes, ids::kDeviceTypeFirst);
    LoadRun(alarmCategories, ids::kAlarmCategoryFirst);
    for (int i = 0; i < 7; ++i) {
        notifyStates[i] = LoadString(ids::kNotifyStateFirst + i);
    }
    notifyStates[7] = LoadString(ids::kNotifyStateSkipped);
    LoadRun(alarmSetupKinds, ids::kAlarmSetupKindFirst);
    LoadRun(analyzerNames, ids::kAnalyzerNameFirst);
}

const char* FunctionTypeCode(int type) {
    return IsFunctionType(type) ? kFunctionCodes[type] : "";
}

int FunctionTypeOfCode(const std::string& code) {
    for (int type = 0; type < kFunctionTypeCount; ++type) {
        if (code == kFunctionCodes[type]) {
            return type;
        }
    }
    return -1;
}

}  // namespace corvane
