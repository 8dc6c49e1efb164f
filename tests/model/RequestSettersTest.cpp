#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "model/ModelTestSupport.h"

namespace corvane {
namespace {

using std::chrono::seconds;
using testing::DocTest;
using testing::Port;

class RequestSettersTest : public DocTest {
protected:
    QueuedRequestRecord& Request(int intercom, int i) {
        return doc->Intercoms()[intercom].QueuedRequests()[i];
    }
    TrunkUsageRecord& Usage(int trunk, int i) { return doc->Trunks()[trunk].Usage()[i]; }
    // A request as the write-back leaves it after writing it: bits cleared, id learned.
    void Written(QueuedRequestRecord& r, int requestId) {
        r.flags.Clear(0xFF);
        r.Owner()->flags.Clear(0xFF);
        r.requestNumber = requestId;
    }
};

TEST_F(RequestSettersTest, RangeErrorsTouchNothing) {
    const std::vector<std::function<bool()>> refused = {
        [&] { return doc->SetQueuedRequest(Port(256, 0, 1), Port(1, 0, 1), false); },
        [&] { return doc->SetQueuedRequest(Port(1, 0, 1), Port(0xFFFF, 0, 1), false); },
        [&] { return doc->SetQueuedRequest(Port(0, 0, 1), Port(1, 0, 1), true); },
        [&] { return doc->SetQueuedRequest(Port(1, 0, 1), Port(2, 9, 1), true); },
        [&] { return doc->SetQueuedRequest(Port(1, 0, 0xFFFF), Port(2, 0, 1), false); },
        [&] { return doc->PurgeStaleQueuedRequests(256, false); },
        [&] { return doc->PurgeStaleQueuedRequests(-1, false); },
        [&] { return doc->SetTrunkUsage(10000, kNone, Port(1, 0, 1), Port(2, 0, 1), false); },
        [&] { return doc->SetTrunkUsage(-1, kNone, Port(1, 0, 1), Port(2, 0, 1), false); },
        // Out of range even though its cascade trunk is lower.
        [&] { return doc->SetTrunkUsage(20000, 3, Port(1, 0, 1), Port(2, 0, 1), true); },
        [&] { return doc->SetTrunkUsage(5, kNone, Port(0, 0, 1), Port(2, 0, 1), true); },
        [&] { return doc->SetTrunkUsage(5, kNone, Port(1, 0, 1), Port(257, 0, 1), true); },
        [&] { return doc->SetTrunkUsage(5, kNone, Port(1, 9, 1), Port(2, 0, 1), true); },
        [&] { return doc->SetTrunkUsage(5, kNone, Port(1, 0, 1), Port(2, 200, 1), true); },
        [&] { return doc->PurgeStaleTrunkUsage(10001, true); },
        [&] { return doc->PurgeStaleTrunkUsage(-1, false); },
    };
    for (size_t i = 0; i < refused.size(); ++i) {
        EXPECT_FALSE(refused[i]()) << i;
    }
    EXPECT_TRUE(Untouched());
}

TEST_F(RequestSettersTest, NewRefreshedAndEndedRequests) {
    ASSERT_TRUE(doc->SetQueuedRequest(Port(2, 0, 10), Port(4, 1, 20), false));
    QueuedRequestRecord& r = Request(3, 0);
    EXPECT_EQ(r.state, QueuedRequestRecord::kQueued);
    EXPECT_EQ(r.source.intercom, 3);
    EXPECT_EQ(r.source.number, 11);
    EXPECT_EQ(r.destination.intercom, 5);
    EXPECT_EQ(r.destination.functionType, 1);
    EXPECT_EQ(r.destination.number, 21);
    EXPECT_EQ(r.requestNumber, kNone);
    EXPECT_EQ(r.queuedTime, clock.Now());
    EXPECT_EQ(r.flags.Mask(), recordbit::kFilled);
    EXPECT_EQ(doc->Intercoms()[3].flags.Mask(), intercombit::kRequests);
    EXPECT_TRUE(doc->TakeDirty(ModelCollection::Intercoms));
    Written(r, 501);

    // The same request in the next reply: seen again, nothing changed.
    ASSERT_TRUE(doc->PurgeStaleQueuedRequests(3, true));
    ASSERT_TRUE(doc->SetQueuedRequest(Port(3, 0, 11), Port(5, 1, 21), true));
    ASSERT_TRUE(doc->PurgeStaleQueuedRequests(3, true));
    EXPECT_EQ(r.state, QueuedRequestRecord::kQueued);
    EXPECT_FALSE(r.flags.HasChange());
    EXPECT_FALSE(doc->IsDirty(ModelCollection::Intercoms));

    // Its source starts to talk: refreshed.
    ASSERT_TRUE(doc->SetQueuedRequest(Port(3, 0, 11, true), Port(5, 1, 21), true));
    EXPECT_EQ(r.flags.Mask(), recordbit::kChanged);
    EXPECT_EQ(r.source.talk, 1);
    EXPECT_TRUE(doc->TakeDirty(ModelCollection::Intercoms));
    ASSERT_TRUE(doc->PurgeStaleQueuedRequests(3, true));
    Written(r, 501);

    // A reply that no longer lists it ends it at the end of the reply.
    clock.Advance(seconds(3));
    ASSERT_TRUE(doc->PurgeStaleQueuedRequests(3, true));
    EXPECT_EQ(r.state, QueuedRequestRecord::kEnded);
    EXPECT_EQ(r.endTime, clock.Now());
    EXPECT_EQ(r.flags.Mask(), recordbit::kChanged);
    EXPECT_TRUE(doc->IsDirty(ModelCollection::Intercoms));
    const WallTime ended = r.endTime;

    // Not ended again, neither before the write-back frees it nor after.
    Written(r, 501);
    clock.Advance(seconds(3));
    ASSERT_TRUE(doc->PurgeStaleQueuedRequests(3, true));
    EXPECT_EQ(r.endTime, ended);
    EXPECT_FALSE(r.flags.HasChange());
    r.state = QueuedRequestRecord::kFree;
    ASSERT_TRUE(doc->PurgeStaleQueuedRequests(3, true));
    EXPECT_EQ(r.state, QueuedRequestRecord::kFree);
    EXPECT_FALSE(r.flags.HasChange());
}

TEST_F(RequestSettersTest, TheHundredAndFirstRequestIsDropped) {
    for (int n = 1; n <= kQueuedRequestsPerIntercom; ++n) {
        ASSERT_TRUE(doc->SetQueuedRequest(Port(7, 0, n), Port(8, 0, 1), true));
    }
    EXPECT_TRUE(doc->SetQueuedRequest(Port(7, 0, 500), Port(8, 0, 1), true));
    for (const auto& r : doc->Intercoms()[7].QueuedRequests()) {
        EXPECT_NE(r.source.number, 500);
    }
    // A freed record takes the next one.
    Request(7, 42).state = QueuedRequestRecord::kFree;
    ASSERT_TRUE(doc->SetQueuedRequest(Port(7, 0, 500), Port(8, 0, 1), true));
    EXPECT_EQ(Request(7, 42).source.number, 500);
}

TEST_F(RequestSettersTest, NewRefreshedAndEndedUsage) {
    ASSERT_TRUE(
        doc->SetTrunkUsage(4, kNone, Port(0, 0, 4), Port(1, 0, 9, false, true, true), false));
    TrunkUsageRecord& u = Usage(5, 0);
    EXPECT_EQ(u.state, TrunkUsageRecord::kAllocated);  // listens but inactive
    EXPECT_EQ(u.source.intercom, 1);
    EXPECT_EQ(u.source.number, 5);
    EXPECT_EQ(u.destination.number, 10);
    EXPECT_EQ(u.cascadeTrunk, kNone);
    EXPECT_EQ(u.requestNumber, kNone);
    EXPECT_EQ(u.startTime, clock.Now());
    EXPECT_EQ(u.flags.Mask(), recordbit::kFilled);
    EXPECT_EQ(doc->Trunks()[5].flags.Mask(), trunkbit::kUsage);
    EXPECT_TRUE(doc->TakeDirty(ModelCollection::Trunks));
    EXPECT_FALSE(doc->IsDirty(ModelCollection::Intercoms));
    ASSERT_TRUE(doc->PurgeStaleTrunkUsage(4, false));
    u.flags.Clear(0xFF);

    // The same usage, now active: refreshed into in use.
    ASSERT_TRUE(doc->SetTrunkUsage(5, kNone, Port(1, 0, 5), Port(2, 0, 10, false, true), true));
    EXPECT_EQ(u.state, TrunkUsageRecord::kInUse);
    EXPECT_EQ(u.flags.Mask(), recordbit::kChanged);
    ASSERT_TRUE(doc->PurgeStaleTrunkUsage(5, true));
    u.flags.Clear(0xFF);
    ASSERT_TRUE(doc->TakeDirty(ModelCollection::Trunks));
    ASSERT_TRUE(doc->SetTrunkUsage(5, kNone, Port(1, 0, 5), Port(2, 0, 10, false, true), true));
    EXPECT_FALSE(u.flags.HasChange());
    EXPECT_FALSE(doc->IsDirty(ModelCollection::Trunks));
    ASSERT_TRUE(doc->PurgeStaleTrunkUsage(5, true));

    // Gone from the next inspect reply: ended, once.
    ASSERT_TRUE(doc->PurgeStaleTrunkUsage(5, true));
    EXPECT_EQ(u.state, TrunkUsageRecord::kEnded);
    EXPECT_EQ(u.flags.Mask(), recordbit::kChanged);
    u.flags.Clear(0xFF);
    clock.Advance(seconds(1));
    ASSERT_TRUE(doc->PurgeStaleTrunkUsage(5, true));
    EXPECT_FALSE(u.flags.HasChange());
    EXPECT_NE(u.endTime, clock.Now());
}

TEST_F(RequestSettersTest, CascadedPairsAreRecordedOnTheLowerTrunk) {
    EXPECT_TRUE(doc->SetTrunkUsage(9, 3, Port(1, 0, 1), Port(2, 0, 1), true));
    EXPECT_TRUE(Untouched());
    ASSERT_TRUE(doc->SetTrunkUsage(3, 9, Port(1, 0, 1), Port(2, 0, 1), true));
    EXPECT_EQ(Usage(3, 0).cascadeTrunk, 9);
    // The reply's 0xFFFF for none becomes 65536, a cascade trunk of none.
    ASSERT_TRUE(doc->SetTrunkUsage(3, 0xFFFF, Port(0, 0, 1), Port(1, 0, 1), false));
    EXPECT_EQ(Usage(4, 0).cascadeTrunk, 65536);
}

TEST_F(RequestSettersTest, APortSourceComesFirst) {
    ASSERT_TRUE(doc->SetTrunkUsage(6, kNone, Port(2, 3, 7), Port(1, 0, 8), true));
    EXPECT_EQ(Usage(6, 0).source.intercom, 1);
    EXPECT_EQ(Usage(6, 0).destination.functionType, 3);
    ASSERT_TRUE(doc->SetTrunkUsage(7, kNone, Port(2, 3, 7), Port(1, 4, 8), true));
    EXPECT_EQ(Usage(7, 0).source.intercom, 2);  // neither is a port: as given
}

TEST_F(RequestSettersTest, AQueuedRequestMovesOntoTheTrunk) {
    struct Case {
        const char* name;
        int trunk;
        bool reversed;  // the usage names the request's destination first
    } cases[] = {
        {"from the source's queue", 12, false},
        {"from the destination's queue", 13, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(doc->SetQueuedRequest(Port(3, 0, 11), Port(5, 0, c.trunk), true));
        QueuedRequestRecord& queued = Request(3, 0);  // the first case freed it again
        Written(queued, 700 + c.trunk);
        const EndpointAddress talker = Port(3, 0, 11, true);
        const EndpointAddress other = Port(5, 0, c.trunk);
        ASSERT_TRUE(c.reversed ? doc->SetTrunkUsage(c.trunk, kNone, other, talker, true)
                               : doc->SetTrunkUsage(c.trunk, kNone, talker, other, true));
        EXPECT_EQ(Usage(c.trunk, 0).requestNumber, 700 + c.trunk);
        EXPECT_EQ(Usage(c.trunk, 0).state, TrunkUsageRecord::kInUse);
        // It left the queue without being ended.
        EXPECT_EQ(queued.state, QueuedRequestRecord::kFree);
        EXPECT_FALSE(queued.flags.HasChange());
    }
}

TEST_F(RequestSettersTest, AFullTrunkKeepsTheQueuedRequest) {
    for (int n = 1; n <= kUsagesPerTrunk; ++n) {
        ASSERT_TRUE(doc->SetTrunkUsage(15, kNone, Port(1, 0, n), Port(2, 0, n), true));
    }
    ASSERT_TRUE(doc->SetQueuedRequest(Port(3, 0, 1), Port(4, 0, 1), true));
    Written(Request(3, 0), 900);
    // The 17th usage is dropped, and the request stays queued rather than vanish.
    EXPECT_TRUE(doc->SetTrunkUsage(15, kNone, Port(3, 0, 1), Port(4, 0, 1), true));
    EXPECT_EQ(Request(3, 0).state, QueuedRequestRecord::kQueued);
    for (const auto& u : doc->Trunks()[15].Usage()) {
        EXPECT_NE(u.requestNumber, 900);
    }
    // Once a usage record is free the request moves onto the trunk.
    Usage(15, 7).state = TrunkUsageRecord::kFree;
    ASSERT_TRUE(doc->SetTrunkUsage(15, kNone, Port(3, 0, 1), Port(4, 0, 1), true));
    EXPECT_EQ(Usage(15, 7).requestNumber, 900);
    EXPECT_EQ(Request(3, 0).state, QueuedRequestRecord::kFree);
}

}  // namespace
}  // namespace corvane
