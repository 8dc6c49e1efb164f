#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/FakeController.h"
#include "fakes/ManualClock.h"
#include "link/LinkTestSupport.h"
#include "link/NetworkConnection.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
using testing::FakeFault;
using testing::FakeFaultPlan;
using testing::FakeNode;
using testing::FakeRequest;
using Texts = std::vector<std::string>;
using Report = std::pair<std::string, std::string>;
namespace fakewire = testing::fakewire;

constexpr int kGetPartner = CNetworkConnection::kGetPartnerCode;

class NetworkPartnerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fake.StartUdp()); }

    void Connect(const std::string& main, const std::string& partner, bool onPartner) {
        NetworkLinkSettings settings;
        settings.port = fake.UdpPort();
        settings.replyWait = testing::kTestReplyWait;
        link = std::make_unique<CNetworkConnection>(owner, owner.log, settings, clock);
        ASSERT_TRUE(link->Open(main, partner));
        fake.SetRefuseSessions(FakeNode::kMain, onPartner);
        link->OpenSession();
        ASSERT_EQ(link->CurrentIndex(), onPartner ? 1u : 0u);
    }
    size_t GetPartnerSends() {
        size_t n = 0;
        for (const FakeRequest& r : fake.Requests()) {
            n += r.code == kGetPartner ? 1 : 0;
        }
        return n;
    }

    testing::LinkLog log;
    testing::RecordingOwner owner;
    testing::ManualClock clock;
    testing::FakeController fake;
    std::unique_ptr<CNetworkConnection> link;
};

struct PartnerCase {
    friend void PrintTo(const PartnerCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    const char* partner;  // configured
    bool onPartner;       // the session is held on the partner
    std::array<uint8_t, 4> answer;
    Texts list;
    std::optional<Report> report;
    const char* line;
};

class GetPartnerAnswerTest : public NetworkPartnerTest,
                             public ::testing::WithParamInterface<PartnerCase> {};

TEST_P(GetPartnerAnswerTest, KeepsTheAddressListAndReportsChanges) {
    const PartnerCase& c = GetParam();
    Connect("127.0.0.1", c.partner, c.onPartner);
    fake.SetPartnerAnswer(c.onPartner ? FakeNode::kPartner : FakeNode::kMain, c.answer);
    link->CheckPartner();
    EXPECT_EQ(link->Addresses(), c.list);
    EXPECT_TRUE(link->HasSession());
    char succeeded[64];
    std::snprintf(succeeded, sizeof(succeeded), "Get Partner Succeeded: %u.%u.%u.%u", c.answer[0],
                  c.answer[1], c.answer[2], c.answer[3]);
    EXPECT_TRUE(log.Has("Quillex", succeeded));
    if (c.report) {
        ASSERT_EQ(owner.reported.size(), 1u);
        EXPECT_EQ(owner.reported[0], *c.report);
        EXPECT_TRUE(log.Has("Quillex", c.line));
    } else {
        EXPECT_TRUE(owner.reported.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, GetPartnerAnswerTest,
                         ::testing::Values(PartnerCase{"SamePartner",
                                                       "127.0.0.2",
                                                       false,
                                                       {127, 0, 0, 2},
                                                       Texts{"127.0.0.1", "127.0.0.2"},
                                                       std::nullopt,
                                                       nullptr},
                                           PartnerCase{"UpdatedPartner",
                                                       "127.0.0.2",
                                                       false,
                                                       {127, 0, 0, 5},
                                                       Texts{"127.0.0.1", "127.0.0.5"},
                                                       Report{"127.0.0.1", "127.0.0.5"},
                                                       "Get Partner: Updated Partner"},
                                           PartnerCase{"AddedPartner",
                                                       "",
                                                       false,
                                                       {127, 0, 0, 2},
                                                       Texts{"127.0.0.1", "127.0.0.2"},
                                                       Report{"127.0.0.1", "127.0.0.2"},
                                                       "Get Partner: Added Partner"},
                                           PartnerCase{"StandaloneOnTheMain",
                                                       "127.0.0.2",
                                                       false,
                                                       {0, 0, 0, 0},
                                                       Texts{"127.0.0.1"},
                                                       Report{"127.0.0.1", ""},
                                                       "Get Partner: Standalone"},
                                           PartnerCase{"StandaloneOnThePartner",
                                                       "127.0.0.2",
                                                       true,
                                                       {0, 0, 0, 0},
                                                       Texts{"127.0.0.2"},
                                                       Report{"127.0.0.2", ""},
                                                       "Get Partner: Standalone"},
                                           PartnerCase{"BroadcastMeansStandalone",
                                                       "127.0.0.2",
                                                       true,
                                                       {255, 255, 255, 255},
                                                       Texts{"127.0.0.2"},
                                                       Report{"127.0.0.2", ""},
                                                       "Get Partner: Standalone"},
                                           PartnerCase{"StandaloneWithOnlyAMain",
                                                       "",
                                                       false,
                                                       {0, 0, 0, 0},
                                                       Texts{"127.0.0.1"},
                                                       std::nullopt,
                                                       nullptr},
                                           PartnerCase{"ThePartnerNamesAnotherMain",
                                                       "127.0.0.2",
                                                       true,
                                                       {127, 0, 0, 7},
                                                       Texts{"127.0.0.7", "127.0.0.2"},
                                                       Report{"127.0.0.7", "127.0.0.2"},
                                                       "Get Partner: Updated Partner"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(NetworkPartnerTest, StandaloneOnThePartnerMakesItTheOnlyEntry) {
    Connect("127.0.0.1", "127.0.0.2", true);
    fake.SetPartnerAnswer(FakeNode::kPartner, {0, 0, 0, 0});
    link->CheckPartner();
    EXPECT_EQ(link->CurrentIndex(), 0u);
    fake.ClearRequests();
    link->BeginMessage(36);
    link->EndMessage(0);
    link->Transact([] { return true; });
    ASSERT_EQ(fake.RequestCount(), 1u);
    EXPECT_EQ(fake.Requests()[0].node, FakeNode::kPartner);
}

TEST_F(NetworkPartnerTest, WithASessionItAsksOnlyEveryThirtySeconds) {
    Connect("127.0.0.1", "127.0.0.2", false);
    link->CheckPartner();
    link->CheckPartner();
    EXPECT_EQ(GetPartnerSends(), 1u);
    clock.Advance(29s);
    link->CheckPartner();
    EXPECT_EQ(GetPartnerSends(), 1u);
    clock.Advance(1s);
    link->CheckPartner();
    EXPECT_EQ(GetPartnerSends(), 2u);
}

TEST_F(NetworkPartnerTest, WithoutASessionItAsksTheMainEveryTime) {
    NetworkLinkSettings settings;
    settings.port = fake.UdpPort();
    settings.replyWait = testing::kTestReplyWait;
    link = std::make_unique<CNetworkConnection>(owner, owner.log, settings, clock);
    ASSERT_TRUE(link->Open("127.0.0.1", "127.0.0.2"));
    link->CheckPartner();
    link->CheckPartner();
    EXPECT_EQ(GetPartnerSends(), 2u);
    for (const FakeRequest& r : fake.Requests()) {
        EXPECT_EQ(r.node, FakeNode::kMain);
        EXPECT_EQ(r.session, 0xFFFF);
    }
}

TEST_F(NetworkPartnerTest, TheReplysSessionIsNotCompared) {
    Connect("127.0.0.1", "127.0.0.2", false);
    FakeFaultPlan plan(FakeFault::kRaw, 1, kGetPartner);
    plan.craft = [](const FakeRequest& r) {
        fakewire::UdpMessage m{
            0x0BAD, kGetPartner, 0, static_cast<uint16_t>(r.number), {127, 0, 0, 9}};
        return fakewire::UdpWrap(fakewire::UdpBody(m));
    };
    fake.InjectFault(plan);
    link->CheckPartner();
    EXPECT_EQ(link->Addresses(), (Texts{"127.0.0.1", "127.0.0.9"}));
}

struct FailureCase {
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    FakeFault fault;
    uint8_t status;
    Bytes payload;
    const char* line;
};

class GetPartnerFailureTest : public NetworkPartnerTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(GetPartnerFailureTest, ThreeFailedTriesDropTheSessionWithoutDying) {
    const FailureCase& c = GetParam();
    Connect("127.0.0.1", "127.0.0.2", false);
    fake.ClearRequests();
    FakeFaultPlan plan(c.fault, 3, kGetPartner);
    plan.craft = [c](const FakeRequest& r) {
        fakewire::UdpMessage m{r.session, kGetPartner, c.status, static_cast<uint16_t>(r.number),
                               c.payload};
        return fakewire::UdpWrap(fakewire::UdpBody(m));
    };
    fake.InjectFault(plan);
    EXPECT_NO_THROW(link->CheckPartner());
    EXPECT_EQ(GetPartnerSends(), 3u);
    EXPECT_EQ(log.Count("Quillex", c.line), 3);
    EXPECT_FALSE(link->HasSession());
    EXPECT_EQ(owner.lost, 0);
    EXPECT_EQ(link->Addresses(), (Texts{"127.0.0.1", "127.0.0.2"}));

    // The same pass then opens a new session on the main.
    link->OpenSession();
    EXPECT_TRUE(link->HasSession());
    EXPECT_EQ(link->CurrentIndex(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, GetPartnerFailureTest,
    ::testing::Values(
        FailureCase{"Dropped", FakeFault::kDrop, 0, {}, "Get Partner Receive Error Occurred!"},
        FailureCase{
            "ErrorStatus", FakeFault::kRaw, 0x8, {127, 0, 0, 2}, "Get Partner Reply Errors!"},
        FailureCase{"ShortAnswer", FakeFault::kRaw, 0, {127, 0, 0}, "Get Partner Reply Invalid!"},
        FailureCase{
            "LongAnswer", FakeFault::kRaw, 0, {127, 0, 0, 2, 0}, "Get Partner Reply Invalid!"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvane
