#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "model/ChangeFlags.h"
#include "model/ModelNumbers.h"
#include "model/QueuedRequestRecord.h"
#include "model/TrunkSummaryCounts.h"

namespace corvane {

// One intercom matrix of the live model. The poll thread writes it under the intercom lock.
// Numbers and switches are atomics, so any thread may read them without the lock; the texts,
// the queued requests and the summary counts are read only under the lock (the model gives
// locked copies of the texts).
class CIntercomData {
public:
    CIntercomData();
    CIntercomData(const CIntercomData&) = delete;
    CIntercomData& operator=(const CIntercomData&) = delete;

    ChangeFlags flags;

    int ControllerPort() const { return controllerPort_.load(std::memory_order_relaxed); }
    int BaudRate() const { return baudRate_.load(std::memory_order_relaxed); }
    int CascadeCost() const { return cascadeCost_.load(std::memory_order_relaxed); }
    bool AlarmsEnabled() const { return alarmsEnabled_.load(std::memory_order_relaxed) != 0; }
    bool NotificationsEnabled() const {
        return notificationsEnabled_.load(std::memory_order_relaxed) != 0;
    }
    // Store without marking: the write-back copies the switches of a new row.
    void SetAlarmsEnabled(bool on) { alarmsEnabled_.store(on ? 1 : 0, std::memory_order_relaxed); }
    void SetNotificationsEnabled(bool on) {
        notificationsEnabled_.store(on ? 1 : 0, std::memory_order_relaxed);
    }

    // The texts; the caller holds the intercom lock.
    const std::string& ConnType() const { return connType_; }
    const std::string& IPAddress1() const { return ipAddress1_; }
    const std::string& IPAddress2() const { return ipAddress2_; }
    const std::string& Name() const { return name_; }
    const std::string& CommStatus() const { return commStatus_; }
    // A status text that begins with "OK" means the matrix communicates.
    bool IsCommunicating() const { return commStatus_.compare(0, 2, "OK") == 0; }

    // The caller holds the intercom lock.
    std::array<QueuedRequestRecord, kQueuedRequestsPerIntercom>& QueuedRequests() {
        return requests_;
    }
    const std::array<QueuedRequestRecord, kQueuedRequestsPerIntercom>& QueuedRequests() const {
        return requests_;
    }
    // Indexed by the other intercom's number.
    std::array<TrunkSummaryCounts, kIntercomCount>& SummaryCounts() { return summary_; }
    const std::array<TrunkSummaryCounts, kIntercomCount>& SummaryCounts() const { return summary_; }

private:
    friend class CVorlinModel;

    std::string connType_ = "Serial";
    std::atomic<int32_t> controllerPort_{kNone};  // 1-31; 0 when reported as 32 or more
    std::atomic<int32_t> baudRate_{kNone};
    std::string ipAddress1_ = "-";
    std::string ipAddress2_ = "-";
    std::atomic<int32_t> cascadeCost_{0};
    std::string name_;  // the alpha of function type 7
    std::string commStatus_;
    std::atomic<uint8_t> alarmsEnabled_{0};
    std::atomic<uint8_t> notificationsEnabled_{0};
    std::array<QueuedRequestRecord, kQueuedRequestsPerIntercom> requests_;
    std::array<TrunkSummaryCounts, kIntercomCount> summary_;
};

inline void QueuedRequestRecord::MarkChanged(uint8_t bits) {
    flags.Mark(bits);
    owner_->flags.Mark(intercombit::kRequests);
}

inline void TrunkSummaryCounts::MarkChanged() {
    flags.Mark(kSummaryCountBit);
    owner_->flags.Mark(intercombit::kSummary);
}

}  // namespace corvane
