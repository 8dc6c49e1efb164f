#pragma once

#include <cstdint>

namespace corvane {

// The bit set every view receives on a change; one bit per kind of change.
using ViewUpdateHint = uint32_t;

namespace hint {
inline constexpr ViewUpdateHint kAlphasAddedRemoved = 0x1;
inline constexpr ViewUpdateHint kAlphasEdited = 0x2;
inline constexpr ViewUpdateHint kIntercomsAdded = 0x4;
inline constexpr ViewUpdateHint kIntercomsEdited = 0x8;
inline constexpr ViewUpdateHint kIntercomNames = 0x10;
inline constexpr ViewUpdateHint kTrunksAddedRemoved = 0x20;
inline constexpr ViewUpdateHint kTrunksEdited = 0x40;
inline constexpr ViewUpdateHint kTrunkSortColumns = 0x80;
inline constexpr ViewUpdateHint kRequestsAddedRemoved = 0x100;
inline constexpr ViewUpdateHint kRequestsEdited = 0x200;
inline constexpr ViewUpdateHint kAlarmsAddedRemoved = 0x400;
inline constexpr ViewUpdateHint kAlarmsEdited = 0x800;
inline constexpr ViewUpdateHint kNewUnseenAlarm = 0x1000;
inline constexpr ViewUpdateHint kUnseenAlarmCleared = 0x2000;
inline constexpr ViewUpdateHint kFilterChanged = 0x4000;  // payload: the frame's filter
inline constexpr ViewUpdateHint kSortChanged = 0x8000;    // payload: the sort data
inline constexpr ViewUpdateHint kSummaryEdited = 0x10000;
inline constexpr ViewUpdateHint kSummaryAddedDeleted = 0x20000;
inline constexpr ViewUpdateHint kLayoutAdded = 0x40000;     // payload: layout index
inline constexpr ViewUpdateHint kLayoutDeleted = 0x80000;   // payload: layout index
inline constexpr ViewUpdateHint kLayoutRenamed = 0x100000;  // payload: layout index
inline constexpr ViewUpdateHint kLayoutDisplay = 0x200000;  // payload: layout index
inline constexpr ViewUpdateHint kConfigurationApplied = 0x400000;
inline constexpr ViewUpdateHint kControllerCapabilities = 0x800000;

// The combinations the write-back always sends together.
inline constexpr ViewUpdateHint kAlphasChanged = kAlphasAddedRemoved | kAlphasEdited;
inline constexpr ViewUpdateHint kIntercomsNew = kIntercomsAdded | kIntercomsEdited;
inline constexpr ViewUpdateHint kTrunksNew = kTrunksAddedRemoved | kTrunksEdited;
inline constexpr ViewUpdateHint kRequestsNew = kRequestsAddedRemoved | kRequestsEdited;
inline constexpr ViewUpdateHint kAlarmsNew = kAlarmsAddedRemoved | kAlarmsEdited;
inline constexpr ViewUpdateHint kSummaryNew = kSummaryEdited | kSummaryAddedDeleted;
}  // namespace hint

}  // namespace corvane
