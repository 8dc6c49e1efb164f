#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "fakes/FakeController.h"
#include "link/LinkTestSupport.h"
#include "link/SerialConnection.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
using testing::FakeFault;
using testing::FakeFaultPlan;
using testing::FakeRequest;
namespace fakewire = testing::fakewire;

constexpr int kHello = 36;
constexpr SerialPortTimeouts kFast{2000ms, testing::kTestReplyWait, 1000ms};

// A serial reply built by the fake's codec, for replies no fault plan makes.
Bytes SerialReply(int code, int number, Bytes payload) {
    fakewire::SerialMessage m{static_cast<uint8_t>(code), static_cast<uint8_t>(number),
                              std::move(payload)};
    return fakewire::SerialWrap(fakewire::SerialBody(m));
}

class SerialConnectionTest : public ::testing::Test {
public:
    void Fault(FakeFault fault, int times = 1) { fake.InjectFault(FakeFaultPlan(fault, times)); }
    void Raw(Bytes bytes, int times = 1) {
        FakeFaultPlan plan(FakeFault::kRaw, times);
        plan.raw = std::move(bytes);
        fake.InjectFault(plan);
    }

protected:
    void SetUp() override {
        ASSERT_TRUE(fake.StartSerial());
        ASSERT_TRUE(link.Open(fake.SerialPortName(), 38400));
    }

    // Sends a request and keeps the reply payload; true when the transaction returned.
    bool Send(int code, const Bytes& payload = {}, int flags = 0, size_t replyLength = 1) {
        link.BeginMessage(code);
        link.AddBytes(payload.data(), static_cast<int>(payload.size()));
        link.EndMessage(flags);
        try {
            link.Transact([&] {
                reply.assign(link.GetReplyData(), link.GetReplyData() + link.GetReplyLength());
                return reply.size() == replyLength;
            });
            return true;
        } catch (const CConnection::CDied&) {
            return false;
        }
    }
    bool Hello() { return Send(kHello); }
    // The sends the fake saw, once the last of them has arrived.
    size_t Sends(size_t atLeast) {
        fake.WaitForRequests(atLeast);
        return fake.RequestCount();
    }
    bool Logged(const char* text) const { return log.Has("Quillex", text); }

    testing::LinkLog log;
    testing::RecordingOwner owner;
    testing::FakeController fake;
    CSerialConnection link{owner, owner.log, kFast};
    Bytes reply;
};

TEST_F(SerialConnectionTest, ARequestGetsItsReply) {
    ASSERT_TRUE(Hello());
    EXPECT_EQ(reply, Bytes{0x01});
    EXPECT_EQ(owner.regained, 1);
    EXPECT_EQ(owner.lost, 0);
    EXPECT_EQ(link.GetReplyErrorFlag(), 0);
    ASSERT_EQ(Sends(1), 1u);
    const FakeRequest r = fake.Requests()[0];
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.code, kHello);
    EXPECT_EQ(r.number, 1);  // the first request after construction
    EXPECT_TRUE(r.payload.empty());
    EXPECT_TRUE(Logged("Process Received Reply"));
    EXPECT_TRUE(Logged("Handle Response"));
    EXPECT_TRUE(Logged("Response has been received successfully"));
}

TEST_F(SerialConnectionTest, DelimiterBytesCrossTheLineBothWays) {
    const Bytes payload{0xF0, 0xF1, 0xF2, 0x00, 0xFF, 0xF1, 0xF1};
    fake.SetHandler(40, [](const FakeRequest& r) {
        return std::optional<testing::FakeReply>({r.payload, 0});  // echo
    });
    link.AddWord(0x1234);  // before BeginMessage: dropped with the rest of the buffer
    ASSERT_TRUE(Send(40, payload, 0, payload.size()));
    EXPECT_EQ(reply, payload);
    ASSERT_EQ(Sends(1), 1u);
    EXPECT_EQ(fake.Requests()[0].payload, payload);
}

TEST_F(SerialConnectionTest, WordsAndBytesAreAppendedHighByteFirst) {
    link.BeginMessage(8);
    link.AddWord(0x0102);
    link.AddByte(0x1FF);
    link.AddBytes(nullptr, 3);
    const uint8_t tail[] = {9, 8};
    link.AddBytes(tail, -1);
    link.AddBytes(tail, 2);
    link.EndMessage(0);
    fake.SetReply(8, {});
    link.Transact([] { return true; });
    ASSERT_EQ(Sends(1), 1u);
    EXPECT_EQ(fake.Requests()[0].payload, (Bytes{0x01, 0x02, 0xFF, 9, 8}));
}

TEST_F(SerialConnectionTest, AReplySplitInTwoBurstsIsOneReply) {
    FakeFaultPlan split(FakeFault::kSplit);
    split.delay = 100ms;
    fake.InjectFault(split);
    ASSERT_TRUE(Hello());
    EXPECT_EQ(Sends(1), 1u);
    EXPECT_FALSE(Logged("Message delimiter not found!"));
}

TEST_F(SerialConnectionTest, ALateReplyWithinTheWaitIsTaken) {
    FakeFaultPlan late(FakeFault::kLate);
    late.delay = 100ms;
    fake.InjectFault(late);
    ASSERT_TRUE(Hello());
    EXPECT_EQ(Sends(1), 1u);
}

TEST_F(SerialConnectionTest, AReplyLongerThanOneReadArrivesWhole) {
    // A change map for 10000 trunks: more than a terminal delivers at once.
    Bytes map(2 + 1250);
    for (size_t i = 0; i < map.size(); ++i) {
        map[i] = static_cast<uint8_t>(0xF0 + i % 3);  // every byte escaped on the wire
    }
    fake.SetReply(38, map);
    ASSERT_TRUE(Send(38, {4}, 0, map.size()));
    EXPECT_EQ(reply, map);
    EXPECT_EQ(Sends(1), 1u);

    const Bytes largest(CConnection::kMaxPayload, 0xF1);
    fake.SetReply(38, largest);
    ASSERT_TRUE(Send(38, {4}, 0, largest.size()));
    EXPECT_EQ(reply, largest);
}

struct RetryCase {
    friend void PrintTo(const RetryCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    std::function<void(SerialConnectionTest&)> spoil;
    const char* line;  // the failure logged before the retry
};

class SerialRetryTest : public SerialConnectionTest,
                        public ::testing::WithParamInterface<RetryCase> {};

TEST_P(SerialRetryTest, OneBadReplyCostsOneMoreSendOfTheSameFrame) {
    GetParam().spoil(*this);
    ASSERT_TRUE(Hello());
    EXPECT_EQ(reply, Bytes{0x01});
    ASSERT_EQ(Sends(2), 2u);
    const auto requests = fake.Requests();
    EXPECT_EQ(requests[0].raw, requests[1].raw);  // same number, same frame
    EXPECT_TRUE(Logged(GetParam().line));
    EXPECT_EQ(owner.lost, 0);
    EXPECT_EQ(owner.regained, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SerialRetryTest,
    ::testing::Values(
        RetryCase{"Dropped", [](auto& t) { t.Fault(FakeFault::kDrop); },
                  "Error/Timeout Occurred While Waiting!"},
        RetryCase{"Garbled", [](auto& t) { t.Fault(FakeFault::kGarble); }, "Bad Checksum!"},
        RetryCase{"WrongNumber", [](auto& t) { t.Fault(FakeFault::kWrongNumber); },
                  "Message Number Discrepancy!"},
        RetryCase{"WrongType", [](auto& t) { t.Raw(SerialReply(kHello + 1, 1, {0x01})); },
                  "Message Type Discrepancy!"},
        RetryCase{"UntoleratedErrorBit",
                  [](auto& t) { t.Raw(SerialReply(kHello | 0x80, 1, {0x01})); },
                  "Message Errors Discrepancy!"},
        RetryCase{"InvalidForTheHandler",
                  [](auto& t) {
                      t.Raw(SerialReply(kHello, 1, {1, 2}));
                  },
                  "Invalid response was received!"},
        RetryCase{"EmptyFrame",
                  [](auto& t) {
                      t.Raw({0xF0, 0xF2});
                  },
                  "Message delimiter not found!"},
        RetryCase{"ShortBody",
                  [](auto& t) {
                      t.Raw({0xF0, 0x24, 0x01, 0xF2});
                  },
                  "Message delimiter not found!"},
        RetryCase{"NoStart",
                  [](auto& t) {
                      t.Raw({0x24, 0x01, 0x00, 0xF2});
                  },
                  "Message delimiter not found!"},
        RetryCase{"BareStart",
                  [](auto& t) {
                      t.Raw({0xF0, 0x24, 0xF0, 0x01, 0x00, 0xF2});
                  },
                  "Message delimiter not found!"},
        RetryCase{"BadEscape",
                  [](auto& t) {
                      t.Raw({0xF0, 0x24, 0xF1, 0x10, 0x01, 0xF2});
                  },
                  "Message delimiter not found!"},
        RetryCase{"EscapeAtEnd",
                  [](auto& t) {
                      t.Raw({0xF0, 0x24, 0x01, 0x02, 0xF1, 0xF2});
                  },
                  "Message delimiter not found!"},
        RetryCase{"NoEndWithinTheReadTime",
                  [](auto& t) {
                      t.Raw({0xF0, 0x24, 0x01, 0x00});
                  },
                  "Message delimiter not found!"}),
    [](const auto& info) { return info.param.name; });

struct DeathCase {
    friend void PrintTo(const DeathCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    std::vector<FakeFault> faults;  // one per send, then the same again
    size_t sends;
    const char* line;
};

class SerialDeathTest : public SerialConnectionTest,
                        public ::testing::WithParamInterface<DeathCase> {};

TEST_P(SerialDeathTest, TheLinkDiesAfterItsNumberOfSends) {
    for (int round = 0; round < 5; ++round) {
        for (const FakeFault f : GetParam().faults) {
            Fault(f);
        }
    }
    EXPECT_FALSE(Hello());
    EXPECT_EQ(Sends(GetParam().sends), GetParam().sends);
    EXPECT_TRUE(Logged(GetParam().line));
    EXPECT_EQ(owner.lost, 1);
    EXPECT_EQ(owner.regained, 0);
    EXPECT_EQ(link.GetReplyLength(), 0);
    EXPECT_EQ(link.GetReplyData(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SerialDeathTest,
    ::testing::Values(DeathCase{"AllDropped",
                                {FakeFault::kDrop},
                                3,
                                "Write Errors/Timeouts equal to the maximum!"},
                      DeathCase{"AllGarbled",
                                {FakeFault::kGarble},
                                3,
                                "Invalid response was received a number of times!"},
                      DeathCase{"AllOverLong",
                                {FakeFault::kOverLong},
                                3,
                                "Message delimiter not found after a number of times!"},
                      DeathCase{"GarbledAndDroppedInTurn",
                                {FakeFault::kGarble, FakeFault::kDrop},
                                5,
                                "Invalid response was received a number of times!"},
                      DeathCase{"DroppedAndGarbledInTurn",
                                {FakeFault::kDrop, FakeFault::kGarble},
                                5,
                                "Write Errors/Timeouts equal to the maximum!"}),
    [](const auto& info) { return info.param.name; });

TEST_F(SerialConnectionTest, AHungUpLineDiesOnItsWriteFailures) {
    fake.HangUpSerial();
    EXPECT_FALSE(Hello());
    EXPECT_EQ(log.Count("Quillex", "Write Error/Timeout Occurred!"), 3);
    EXPECT_TRUE(Logged("Write Errors/Timeouts Reached 3!"));
    EXPECT_EQ(owner.lost, 1);
}

TEST_F(SerialConnectionTest, TheErrorBitIsToleratedOnlyWhenTheRequestSaysSo) {
    fake.SetReply(25, {}, 0x80);
    ASSERT_TRUE(Send(25, {}, 1, 0));
    EXPECT_EQ(link.GetReplyErrorFlag(), 1);

    ASSERT_TRUE(Hello());
    EXPECT_EQ(link.GetReplyErrorFlag(), 0);

    fake.SetReply(25, {}, 0x40);  // bit 6 never
    EXPECT_FALSE(Send(25, {}, 1, 0));
    EXPECT_EQ(log.Count("Quillex", "Message Errors Discrepancy!"), 3);
    EXPECT_EQ(link.GetReplyErrorFlag(), 0);
}

TEST_F(SerialConnectionTest, MessageNumbersWrapFrom254ToZeroAndSkip255) {
    for (int i = 0; i < 253; ++i) {
        link.BeginMessage(kHello);
    }
    ASSERT_TRUE(Hello());
    ASSERT_TRUE(Hello());
    ASSERT_TRUE(Hello());
    ASSERT_EQ(Sends(3), 3u);
    const auto requests = fake.Requests();
    EXPECT_EQ(requests[0].number, 254);
    EXPECT_EQ(requests[1].number, 0);
    EXPECT_EQ(requests[2].number, 1);
}

TEST_F(SerialConnectionTest, TheOwnersAbortCheckInterruptsBeforeAnySend) {
    owner.onCheckAbort = [] { throw CAppDied{}; };
    link.BeginMessage(kHello);
    link.EndMessage(0);
    EXPECT_THROW(link.Transact([] { return true; }), CAppDied);
    owner.onCheckAbort = [] { throw CConnection::CDied{}; };
    EXPECT_THROW(link.Transact([] { return true; }), CConnection::CDied);
    EXPECT_EQ(fake.RequestCount(), 0u);
    EXPECT_EQ(owner.lost, 0);
}

TEST_F(SerialConnectionTest, ARequestTooLongForAFrameIsNotSent) {
    const Bytes huge(CConnection::kMaxPayload + 1, 0x00);
    EXPECT_FALSE(Send(53, huge));
    EXPECT_TRUE(Logged("Message Too Long: 8204 bytes!"));
    EXPECT_EQ(owner.lost, 1);
    EXPECT_EQ(fake.RequestCount(), 0u);
}

}  // namespace
}  // namespace corvane
