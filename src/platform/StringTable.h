#pragma once

#include <string>

namespace corvane {

// Ids of the string table shared by the core and the user interface.
namespace ids {
inline constexpr int kAppCaption = 102;  // "Corvane"

// Status bar panes and their texts.
inline constexpr int kPaneAudioAnalyzer = 211;  // "Audio Analyzer"
inline constexpr int kPaneQuillex = 212;        // "Quillex"
inline constexpr int kPaneTesting = 213;        // "Testing: In Progress"
inline constexpr int kTestingIdle = 5346;
inline constexpr int kTestingInProgress = 5347;
inline constexpr int kTestingPaused = 5348;
inline constexpr int kBuildDate = 5350;        // "Build Date: "
inline constexpr int kNoAudioAnalyzer = 5421;  // "Audio Analyzer"

inline constexpr int kRequestStateFirst = 5304;  // 5304-5308 "Alloc" .. "Incomplete"
inline constexpr int kTrunkStateFirst = 5309;    // 5309-5312 "Idle" .. "Maint"
inline constexpr int kTestResultFirst = 5313;    // 5313-5319 "Pass" .. " "
inline constexpr int kAlarmStateActive = 5322;   // 5322-5324, then 5377 "Unresolved"
inline constexpr int kAlarmStateUnresolved = 5377;
inline constexpr int kNotifyStateFirst = 5333;  // 5333-5339, then 5376 "Skipped"
inline constexpr int kNotifyStateSkipped = 5376;
inline constexpr int kCompactQuestion = 5351;
inline constexpr int kDatabaseFileMoved = 5650;  // %1: the database path
inline constexpr int kAlarmCategoryBusy = 5374;  // the alarm type of request busy alarms

// Name tables that have no id of their own in the resources.
inline constexpr int kAlarmSetupKindFirst = 5600;  // 5600-5606
inline constexpr int kAnalyzerNameFirst = 5610;    // 5610-5612 "None", "Tonexa", "RT-2M"
inline constexpr int kDeviceTypeFirst = 5620;      // 5620-5625 "Quillex" .. "RT-2M"
inline constexpr int kAlarmCategoryFirst = 5630;   // 5630-5635 "Communication" .. "Device"
inline constexpr int kAllFunctionTypes = 5640;     // "All function types"

// The controller's serial port could not be made (%1 device type 0) or opened (%2 its name).
inline constexpr int kUnableToOpenComPort = 5383;
inline constexpr int kFailedToOpenComPort = 5384;

// The views' questions and messages.
inline constexpr int kWarnTestInUseTrunk = 5320;        // %1!d!: the trunk
inline constexpr int kWarnTestNotCommunicating = 5349;  // %1!d!: the trunk
inline constexpr int kConfirmDeleteLayout = 5345;       // %s: the layout's name
inline constexpr int kCommandFailed = 61705;            // "Command failed."
}  // namespace ids

// The text of a string id; empty when the table has no such id.
const std::string& LoadString(int id);

}  // namespace corvane
