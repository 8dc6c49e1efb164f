#pragma once

#include <string>

namespace corvane {

// Ids of the string table shared by the core and the user interface.
namespace ids {
inline constexpr int kAppCaption = 102;  // "Corvane"

inline constexpr int kRequestStateFirst = 5304;  // 5304-5308 "Alloc" .. "Incomplete"
inline constexpr int kTrunkStateFirst = 5309;    // 5309-5312 "Idle" .. "Maint"
inline constexpr int kTestResultFirst = 5313;    // 5313-5319 "Pass" .. " "
inline constexpr int kAlarmStateActive = 5322;   // 5322-5324, then 5377 "Unresolved"
inline constexpr int kAlarmStateUnresolved = 5377;
inline constexpr int kNotifyStateFirst = 5333;  // 5333-5339, then 5376 "Skipped"
inline constexpr int kNotifyStateSkipped = 5376;

// Name tables that have no id of their own in the resources.
inline constexpr int kAlarmSetupKindFirst = 5600;  // 5600-5606
inline constexpr int kAnalyzerNameFirst = 5610;    // 5610-5612 "None", "Tonexa", "RT-2M"
}  // namespace ids

// The text of a string id; empty when the table has no such id.
const std::string& LoadString(int id);

}  // namespace corvane
