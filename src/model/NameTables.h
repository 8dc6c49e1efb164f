#pragma once

#include <array>
#include <string>

namespace corvane {

// DeviceType: the device an alarm is about.
namespace devicetype {
inline constexpr int kQuillex = 0, kTonexa = 1, kIntercom = 2, kTrunk = 3, kRequest = 4, kRT2M = 5;
inline constexpr int kCount = 6;
inline constexpr int kNoDevice = 6;  // an analyzer type without a device
}  // namespace devicetype

// AlarmCategory.
namespace alarmcat {
inline constexpr int kCommunication = 0, kTestFailure = 1, kLoopback = 2, kTestError = 3, kBusy = 4,
                     kDevice = 5;
inline constexpr int kCount = 6;
}  // namespace alarmcat

// AlarmSetupKind: the index of every per-kind alarm setting.
namespace setupkind {
inline constexpr int kQuillex = 0, kTonexa = 1, kIntercom = 2, kTrunkTestFailures = 3,
                     kTrunkTestErrors = 4, kRequestBusy = 5, kRT2M = 6;
inline constexpr int kCount = 7;
}  // namespace setupkind

// Audio analyzer types, by the analyzer name table.
namespace analyzer {
inline constexpr int kNone = 0, kTonexa = 1, kRT2M = 2;
inline constexpr int kCount = 3;
}  // namespace analyzer

// The texts that the database's lookup tables and the views use, index = the numeric value,
// loaded from the string table.
struct CNameTables {
    CNameTables();

    std::array<std::string, 5> requestStates;  // "Alloc" .. "Incomplete"
    std::array<std::string, 4> trunkStates;    // "Idle" .. "Maint"
    std::array<std::string, 7> testResults;    // "Pass" .. " "
    std::array<std::string, 4> alarmStates;    // "Active" .. "Unresolved"
    std::array<std::string, devicetype::kCount> deviceTypes;
    std::array<std::string, alarmcat::kCount> alarmCategories;
    std::array<std::string, 8> notifyStates;  // "None" .. "Skipped"
    std::array<std::string, setupkind::kCount> alarmSetupKinds;
    std::array<std::string, analyzer::kCount> analyzerNames;
};

// The short name of a function type 0-8 ("PP" .. "IL"); empty for any other value.
const char* FunctionTypeCode(int type);
// The function type of a short name; -1 when it names none.
int FunctionTypeOfCode(const std::string& code);

}  // namespace corvane
