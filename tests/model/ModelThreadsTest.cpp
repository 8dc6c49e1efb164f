#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "model/ModelTestSupport.h"

namespace corvane {
namespace {

using testing::DocTest;
using testing::Port;

constexpr int kTrunks = 200;
constexpr int kIntercoms = 10;

// What the poll thread does: every kind of setter, in the numbering of the controller.
void RunPollThread(CVorlinModel& doc, int rounds) {
    std::mt19937 random(7);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < rounds; ++round) {
        const int icom = pick(0, kIntercoms - 1);  // 0-based
        const int trunk = pick(0, kTrunks - 1);
        doc.SetIntercomCommStatus(icom, pick(0, 1) ? "OK" : "Lost contact", false);
        doc.SetIntercomConnType(icom, pick(0, 1) ? "Serial" : "Network", false);
        doc.SetIntercomIPAddress1(icom, "192.168.0." + std::to_string(round % 250), false);
        doc.SetIntercomBaudRate(icom, 9600, false);
        doc.SetIntercomControllerPort(icom, pick(0, 40), false);
        doc.AddAlpha(icom, 7, 0, "Matrix " + std::to_string(round), alphaop::kStore, false);
        doc.AddAlpha(icom, pick(0, 6), pick(0, 50), "alpha", alphaop::kStore, false);

        TrunkDefinition d;
        d.trunk = trunk;
        d.end1Intercom = pick(0, kIntercoms - 1);
        d.end1Number = pick(0, 100);
        d.end2Intercom = pick(0, 9) == 0 ? kNone : pick(0, kIntercoms - 1);
        d.end2Number = pick(0, 100);
        doc.SetTrunkDefinition(d, false);
        doc.SetTrunkState(pick(0, kTrunks - 1), pick(0, 3), false);
        doc.SetTrunkOutOfService(pick(0, kTrunks - 1), pick(0, 1), false);
        if (pick(0, 20) == 0) {
            doc.UndefineTrunk(pick(0, kTrunks - 1));
        }

        const EndpointAddress source = Port(icom, 0, pick(0, 30), pick(0, 1) == 1);
        const EndpointAddress destination = Port(pick(0, kIntercoms - 1), pick(0, 3), pick(0, 30));
        doc.SetQueuedRequest(source, destination, false);
        if (round % 8 == 0) {
            doc.PurgeStaleQueuedRequests(icom, false);
        }
        doc.SetTrunkUsage(trunk, pick(0, 1) ? 0xFFFF : pick(0, kTrunks - 1), source, destination,
                          false);
        doc.PurgeStaleTrunkUsage(trunk, false);
        if (round % 16 == 0) {
            doc.AddAlarm(devicetype::kQuillex, 1, alarmcat::kCommunication, round % 32 ? 0 : 1,
                         "Lost contact with Quillex", "", 0);
        }
    }
}

// What the tick, the write-back, the sequencer and the operator do on the user-interface thread.
class WriteBackPass {
public:
    explicit WriteBackPass(CVorlinModel& doc) : doc_(doc) {}

    void Run() {
        if (doc_.TakeDirty(ModelCollection::Intercoms)) {
            Intercoms();
        }
        if (doc_.TakeDirty(ModelCollection::Trunks)) {
            Trunks();
        }
        if (doc_.TakeDirty(ModelCollection::Alphas)) {
            auto lock = doc_.LockAlphas();
            doc_.AlphaQueue().clear();
        }
        if (doc_.TakeDirty(ModelCollection::Alarms)) {
            auto lock = doc_.LockAlarms();
            const size_t count = doc_.AlarmQueue().size();
            for (size_t i = 0; i < count; ++i) {
                if (doc_.AlarmQueue().front().resolved == alarmresolve::kResolve) {
                    doc_.AcknowledgeAlarm(1, WallTime{});  // re-enters the alarm lock
                }
                doc_.AlarmQueue().pop_front();
            }
        }
        Sequencer();
    }

    long long seen = 0;  // read so the reads are not optimised away

private:
    void Intercoms() {
        auto lock = doc_.LockIntercoms();
        for (int i = 0; i < kIntercomCount; ++i) {
            CIntercomData& icom = doc_.Intercoms()[i];
            if (!icom.flags.HasChange()) {
                continue;
            }
            if (icom.flags.Test(intercombit::kSummary)) {
                icom.flags.Clear(intercombit::kSummary);
                for (auto& counts : icom.SummaryCounts()) {
                    if (counts.flags.Test(kSummaryCountBit)) {
                        counts.flags.Clear(kSummaryCountBit);
                        seen += counts.numTrunks + counts.numInUse + counts.numOOS;
                    }
                }
            }
            if (icom.flags.Test(intercombit::kRow)) {
                icom.flags.Clear(intercombit::kRow);
                seen += static_cast<long long>(icom.Name().size() + icom.CommStatus().size());
                // Queries and alarms from inside the pass, as the write-back makes them.
                seen += static_cast<long long>(doc_.GetIntercomName(i).size());
                doc_.AddAlarm(devicetype::kIntercom, i, alarmcat::kCommunication, 1, "", "", 0);
            }
            if (icom.flags.Test(intercombit::kRequests)) {
                icom.flags.Clear(intercombit::kRequests);
                for (auto& request : icom.QueuedRequests()) {
                    request.flags.Clear(0xFF);
                    if (request.state == QueuedRequestRecord::kEnded) {
                        request.state = QueuedRequestRecord::kFree;
                    } else if (request.state == QueuedRequestRecord::kQueued) {
                        request.requestNumber = i * 1000 + request.source.number;
                    }
                }
            }
        }
    }

    void Trunks() {
        auto lock = doc_.LockTrunks();
        for (int n = 1; n < kTrunkCount; ++n) {
            CTrunkData& trunk = doc_.Trunks()[n];
            if (!trunk.flags.HasChange()) {
                continue;
            }
            if (trunk.flags.Test(trunkbit::kSwitches)) {
                trunk.flags.Clear(trunkbit::kSwitches);
            }
            if (trunk.flags.Test(trunkbit::kDefinition)) {
                trunk.flags.Clear(trunkbit::kDefinition);
                if (trunk.IsUndefined()) {
                    doc_.MarkTrunkAbsent(n);  // re-enters the trunk lock, then the intercom lock
                    continue;
                }
                seen += static_cast<long long>(doc_.GetIntercomName(trunk.End1Intercom()).size());
            }
            if (trunk.flags.Test(trunkbit::kState)) {
                trunk.flags.Clear(trunkbit::kState);
                seen += trunk.State();
            }
            if (trunk.flags.Test(trunkbit::kUsage)) {
                trunk.flags.Clear(trunkbit::kUsage);
                for (auto& usage : trunk.Usage()) {
                    usage.flags.Clear(0xFF);
                    if (usage.state == TrunkUsageRecord::kEnded) {
                        usage.state = TrunkUsageRecord::kFree;
                    }
                }
                doc_.AddAlarm(devicetype::kRequest, n, alarmcat::kBusy, 1, "", "", 0);
            }
        }
    }

    // Single fields without a lock, and the operator's commands.
    void Sequencer() {
        for (int n = 1; n <= kTrunks; ++n) {
            const CTrunkData& trunk = doc_.Trunks()[n];
            if (trunk.flags.IsUnset()) {
                continue;
            }
            seen +=
                static_cast<long long>(trunk.End1Intercom()) + trunk.State() + trunk.OutOfService();
            seen += doc_.AreTrunkIntercomsCommunicating(n);
        }
        const int trunk = static_cast<int>(++commands_ % kTrunks) + 1;
        doc_.SetTrunkOption(trunk, commands_ % 2 ? CVorlinModel::kCmdEnableAlarms
                                                 : CVorlinModel::kCmdDisableAlarms);
        doc_.SetIntercomAlarmOption(trunk % kIntercoms + 1, CVorlinModel::kCmdEnableAlarms);
        doc_.QueueTrunkTest(true, trunk, true, false);
        seen += static_cast<long long>(doc_.GetIntercomTexts(trunk % kIntercoms + 1).name.size());
    }

    CVorlinModel& doc_;
    unsigned commands_ = 0;
};

class ModelThreadsTest : public DocTest {};

TEST_F(ModelThreadsTest, PollThreadSettersBesideTheWriteBack) {
    std::atomic<bool> done{false};
    std::thread poll([&] {
        RunPollThread(*doc, 4000);
        done = true;
    });
    WriteBackPass pass(*doc);
    while (!done) {
        pass.Run();
    }
    poll.join();
    pass.Run();
    EXPECT_GE(pass.seen, 0);

    ExpectCountsAgree();
    // Every alpha the poll thread queued was taken by the last pass.
    EXPECT_FALSE(doc->IsDirty(ModelCollection::Alphas));
    auto lock = doc->LockAlphas();
    EXPECT_TRUE(doc->AlphaQueue().empty());
}

}  // namespace
}  // namespace corvane
