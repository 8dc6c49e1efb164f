#pragma once

namespace corvane {

// The steps of the trunk test sequencer; 0 chooses the next piece of work.
namespace trunkteststate {
inline constexpr int kIdle = 0;
inline constexpr int kUnused = 1;
inline constexpr int kSetPortLoopback = 2;
inline constexpr int kWaitPortLoopback = 3;
inline constexpr int kMeasureLoopback = 4;
inline constexpr int kClearPortLoopback = 5;
inline constexpr int kWaitClearPortLoopback = 6;
inline constexpr int kChooseCascade = 7;
inline constexpr int kPrepareMaintenance = 8;
inline constexpr int kTrunkInUse = 9;
inline constexpr int kSetMaintenance = 10;
inline constexpr int kWaitSetMaintenance = 11;
inline constexpr int kSetPortXpnt = 12;
inline constexpr int kWaitPortXpnt = 13;
inline constexpr int kSetFarEndLoop = 14;
inline constexpr int kWaitFarEndLoop = 15;
inline constexpr int kMeasureTrunk = 16;
inline constexpr int kClearFarEndLoop = 17;
inline constexpr int kWaitClearFarEndLoop = 18;
inline constexpr int kClearPortXpnt = 19;
inline constexpr int kWaitClearPortXpnt = 20;
inline constexpr int kClearMaintenance = 21;
inline constexpr int kWaitClearMaintenance = 22;
inline constexpr int kSetCascadeMaintenance = 23;
inline constexpr int kWaitCascadeMaintenance = 24;
inline constexpr int kSetCascadeLoop = 25;
inline constexpr int kWaitCascadeLoop = 26;
inline constexpr int kMeasureCascade = 27;
inline constexpr int kClearCascadeLoop = 28;
inline constexpr int kWaitClearCascadeLoop = 29;
inline constexpr int kSetCascadeXpnt = 30;
inline constexpr int kWaitCascadeXpnt = 31;
inline constexpr int kClearCascadeXpnt = 32;
inline constexpr int kWaitClearCascadeXpnt = 33;
inline constexpr int kClearCascadeMaintenance = 34;
inline constexpr int kWaitClearCascadeMaintenance = 35;
inline constexpr int kComplete = 36;
inline constexpr int kCount = 37;
}  // namespace trunkteststate

// The TestResult of a trunk, as the TestResults table names them.
namespace testresult {
inline constexpr int kPass = 0, kFail = 1, kError = 2, kPending = 3, kTesting = 4, kSkipped = 5,
                     kNone = 6;
}

}  // namespace corvane
