#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "model/ChangeFlags.h"
#include "model/ModelNumbers.h"
#include "model/TrunkPendingOps.h"
#include "model/TrunkUsageRecord.h"

namespace corvane {

// A trunk definition as the controller reports it (the numbers as given, see SetTrunkDefinition).
struct TrunkDefinition {
    int trunk = kNone;
    bool canCascade = false;
    bool useFixed = false;
    int end1Intercom = kNone;
    int end1Number = kNone;
    int end2Intercom = kNone;
    int end2Number = kNone;
    int fixed1Intercom = kNone;
    int fixed1FunctionType = 0;
    int fixed1Number = kNone;
    int fixed2Intercom = kNone;
    int fixed2FunctionType = 0;
    int fixed2Number = kNone;
};

// One trunk of the live model. The poll thread writes it under the trunk lock, and only the
// model's setters change the definition, state and out-of-service values, which keeps the
// summary counts true. Every scalar is atomic, so the sequencer and the views may read single
// fields without the lock; the usage records are read only under the lock.
class CTrunkData {
public:
    // Trunk states.
    static constexpr int kIdle = 0, kAlloc = 1, kInUse = 2, kMaint = 3;

    CTrunkData();
    CTrunkData(const CTrunkData&) = delete;
    CTrunkData& operator=(const CTrunkData&) = delete;

    ChangeFlags flags;

    bool IsUndefined() const { return Load(undefined_) != 0; }
    // Set by the write-back when the trunk has no row (CVorlinModel::MarkTrunkAbsent).
    bool IsAbsent() const { return Load(absent_) != 0; }
    bool CanCascade() const { return Load(canCascade_) != 0; }
    bool UseFixed() const { return Load(useFixed_) != 0; }
    bool AutoTestEnabled() const { return Load(autoTest_) != 0; }
    bool AlarmsEnabled() const { return Load(alarms_) != 0; }
    bool NotificationsEnabled() const { return Load(notifications_) != 0; }
    // Store without marking: the write-back copies the switches of a new row.
    void SetAutoTestEnabled(bool on) { Store(autoTest_, on); }
    void SetAlarmsEnabled(bool on) { Store(alarms_, on); }
    void SetNotificationsEnabled(bool on) { Store(notifications_, on); }

    int End1Intercom() const { return Load(end1Intercom_); }
    int End1Number() const { return Load(end1Number_); }
    int End2Intercom() const { return Load(end2Intercom_); }
    int End2Number() const { return Load(end2Number_); }
    int Fixed1Intercom() const { return Load(fixed1Intercom_); }
    // The fixed function types mean something only once a definition was stored.
    int Fixed1FunctionType() const { return Load(fixed1FunctionType_); }
    int Fixed1Number() const { return Load(fixed1Number_); }
    int Fixed2Intercom() const { return Load(fixed2Intercom_); }
    int Fixed2FunctionType() const { return Load(fixed2FunctionType_); }
    int Fixed2Number() const { return Load(fixed2Number_); }
    int State() const { return Load(state_); }
    int OutOfService() const { return Load(outOfService_); }

    bool HasEndIntercom(int intercom) const {
        return End1Intercom() == intercom || End2Intercom() == intercom;
    }
    // Counted in the summary counts: neither undefined nor absent, with two intercom ends.
    bool IsCounted() const {
        return !IsUndefined() && !IsAbsent() && IsIntercomNumber(End1Intercom()) &&
               IsIntercomNumber(End2Intercom());
    }

    // The caller holds the trunk lock.
    std::array<TrunkUsageRecord, kUsagesPerTrunk>& Usage() { return usage_; }
    const std::array<TrunkUsageRecord, kUsagesPerTrunk>& Usage() const { return usage_; }

    // User-interface thread only.
    TrunkPendingOps& PendingOps() { return pendingOps_; }
    const TrunkPendingOps& PendingOps() const { return pendingOps_; }

private:
    friend class CVorlinModel;

    template <typename T>
    static T Load(const std::atomic<T>& v) {
        return v.load(std::memory_order_relaxed);
    }
    template <typename T, typename V>
    static void Store(std::atomic<T>& a, V v) {
        a.store(static_cast<T>(v), std::memory_order_relaxed);
    }

    std::atomic<uint8_t> undefined_{0};
    std::atomic<uint8_t> absent_{0};
    std::atomic<uint8_t> canCascade_{0};
    std::atomic<uint8_t> useFixed_{0};
    std::atomic<uint8_t> autoTest_{0};
    std::atomic<uint8_t> alarms_{0};
    std::atomic<uint8_t> notifications_{0};
    std::atomic<int32_t> end1Intercom_{kNone};
    std::atomic<int32_t> end1Number_{kNone};
    std::atomic<int32_t> end2Intercom_{kNone};
    std::atomic<int32_t> end2Number_{kNone};
    std::atomic<int32_t> fixed1Intercom_{kNone};
    std::atomic<int32_t> fixed1FunctionType_{0};  // 0 keeps a name-table lookup in range
    std::atomic<int32_t> fixed1Number_{kNone};
    std::atomic<int32_t> fixed2Intercom_{kNone};
    std::atomic<int32_t> fixed2FunctionType_{0};
    std::atomic<int32_t> fixed2Number_{kNone};
    std::atomic<int32_t> state_{kIdle};
    std::atomic<int32_t> outOfService_{0};
    std::array<TrunkUsageRecord, kUsagesPerTrunk> usage_;
    TrunkPendingOps pendingOps_;
};

inline void TrunkUsageRecord::MarkChanged(uint8_t bits) {
    flags.Mark(bits);
    owner_->flags.Mark(trunkbit::kUsage);
}

}  // namespace corvane
