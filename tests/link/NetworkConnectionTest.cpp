#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/FakeController.h"
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
namespace fakewire = testing::fakewire;

constexpr int kHello = 36;

// A network reply built by the fake's codec from the request it answers.
std::function<Bytes(const FakeRequest&)> Crafted(int code, uint8_t status, Bytes payload) {
    return [=](const FakeRequest& r) {
        fakewire::UdpMessage m{r.session, static_cast<uint8_t>(code), status,
                               static_cast<uint16_t>(r.number), payload};
        return fakewire::UdpWrap(fakewire::UdpBody(m));
    };
}

class NetworkConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fake.StartUdp());
        settings.port = fake.UdpPort();
        settings.replyWait = testing::kTestReplyWait;
        link = std::make_unique<CNetworkConnection>(owner, owner.log, settings);
        ASSERT_TRUE(link->Open("127.0.0.1", "127.0.0.2"));
    }

    bool Send(int code, const Bytes& payload = {}, int flags = 0, size_t replyLength = 1) {
        link->BeginMessage(code);
        link->AddBytes(payload.data(), static_cast<int>(payload.size()));
        link->EndMessage(flags);
        try {
            link->Transact([&] {
                reply.assign(link->GetReplyData(), link->GetReplyData() + link->GetReplyLength());
                return reply.size() == replyLength;
            });
            return true;
        } catch (const CConnection::CDied&) {
            return false;
        }
    }
    bool Hello() { return Send(kHello); }
    // One pass of the poll loop's link steps; false when the link died.
    bool Pass() {
        try {
            link->CheckPartner();
            link->OpenSession();
            return true;
        } catch (const CConnection::CDied&) {
            return false;
        }
    }
    std::vector<FakeRequest> Requests(size_t atLeast) {
        fake.WaitForRequests(atLeast);
        return fake.Requests();
    }
    static size_t CountOf(const std::vector<FakeRequest>& requests, int code, FakeNode node) {
        size_t n = 0;
        for (const FakeRequest& r : requests) {
            n += r.code == code && r.node == node ? 1 : 0;
        }
        return n;
    }
    void HelloFault(FakeFaultPlan plan) {
        plan.code = kHello;
        fake.InjectFault(std::move(plan));
    }
    bool Logged(const std::string& text) const { return log.Has("Quillex", text); }

    testing::LinkLog log;
    testing::RecordingOwner owner;
    testing::FakeController fake;
    NetworkLinkSettings settings;
    std::unique_ptr<CNetworkConnection> link;
    Bytes reply;
};

TEST_F(NetworkConnectionTest, OpenTakesOnlyUsableAddresses) {
    const struct {
        const char* main;
        const char* partner;
        bool opens;
        std::vector<std::string> list;
    } cases[] = {
        {"127.0.0.1", "127.0.0.2", true, {"127.0.0.1", "127.0.0.2"}},
        {"127.0.0.1", "", true, {"127.0.0.1"}},
        {"", "127.0.0.2", true, {"127.0.0.2"}},
        {"0.0.0.0", "255.255.255.255", false, {}},
        {"", "", false, {}},
        {"controller", "127.0.0.300", false, {}},
    };
    for (const auto& c : cases) {
        CNetworkConnection other(owner, owner.log, settings);
        EXPECT_EQ(other.Open(c.main, c.partner), c.opens) << c.main << "|" << c.partner;
        EXPECT_EQ(other.Addresses(), c.list) << c.main << "|" << c.partner;
        EXPECT_FALSE(other.HasSession());
    }
    // Opening again starts a fresh list.
    ASSERT_TRUE(link->Open("127.0.0.2", ""));
    EXPECT_EQ(link->Addresses(), std::vector<std::string>{"127.0.0.2"});
}

TEST_F(NetworkConnectionTest, ASessionIsEstablishedOnTheMainAddress) {
    ASSERT_TRUE(Pass());
    ASSERT_TRUE(link->HasSession());
    EXPECT_EQ(link->Session(), fake.Session(FakeNode::kMain));
    EXPECT_EQ(link->CurrentIndex(), 0u);
    char line[64];
    std::snprintf(line, sizeof(line), "Establish Session Succeeded: %04x", link->Session());
    EXPECT_TRUE(Logged(line));

    ASSERT_TRUE(Hello());
    EXPECT_EQ(reply, Bytes{0x01});
    EXPECT_EQ(owner.regained, 1);
    const auto requests = Requests(3);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].code, CNetworkConnection::kGetPartnerCode);
    EXPECT_EQ(requests[1].code, CNetworkConnection::kEstablishSessionCode);
    EXPECT_EQ(requests[1].session, 0xFFFF);
    EXPECT_TRUE(requests[1].payload.empty());
    EXPECT_EQ(requests[2].code, kHello);
    EXPECT_EQ(requests[2].session, link->Session());
    for (const FakeRequest& r : requests) {
        EXPECT_TRUE(r.valid);
        EXPECT_EQ(r.node, FakeNode::kMain);
    }
    EXPECT_EQ(requests[2].number, requests[1].number + 1);
}

TEST_F(NetworkConnectionTest, WhenTheMainStopsAnsweringTheLinkMovesToThePartner) {
    ASSERT_TRUE(Pass());
    ASSERT_TRUE(Hello());
    fake.SetSilent(FakeNode::kMain, true);
    fake.ClearRequests();

    EXPECT_FALSE(Hello());
    EXPECT_EQ(CountOf(Requests(6), kHello, FakeNode::kMain), 6u);  // six sends, then dead
    EXPECT_EQ(owner.lost, 1);
    EXPECT_FALSE(link->HasSession());

    ASSERT_TRUE(Pass());
    EXPECT_EQ(link->CurrentIndex(), 1u);
    EXPECT_EQ(link->Session(), fake.Session(FakeNode::kPartner));
    EXPECT_TRUE(Logged("Establish Session Receive Error Occurred!"));
    const auto requests = Requests(13);
    EXPECT_EQ(CountOf(requests, CNetworkConnection::kGetPartnerCode, FakeNode::kMain), 3u);
    EXPECT_EQ(CountOf(requests, CNetworkConnection::kEstablishSessionCode, FakeNode::kMain), 3u);
    EXPECT_EQ(CountOf(requests, CNetworkConnection::kEstablishSessionCode, FakeNode::kPartner), 1u);

    fake.ClearRequests();
    ASSERT_TRUE(Hello());
    EXPECT_EQ(CountOf(Requests(1), kHello, FakeNode::kPartner), 1u);
}

TEST_F(NetworkConnectionTest, AfterALossTheMainIsTriedFirstAgain) {
    fake.SetRefuseSessions(FakeNode::kMain, true);
    ASSERT_TRUE(Pass());
    ASSERT_EQ(link->CurrentIndex(), 1u);
    EXPECT_TRUE(Logged("Establish Session Failed: None!"));

    // The main is back; the partner restarts and forgets the session.
    fake.SetRefuseSessions(FakeNode::kMain, false);
    fake.DropSessions();
    EXPECT_FALSE(Hello());
    EXPECT_TRUE(Logged("Null Reply Session!"));

    fake.ClearRequests();
    ASSERT_TRUE(Pass());
    EXPECT_EQ(link->CurrentIndex(), 0u);
    EXPECT_EQ(link->Session(), fake.Session(FakeNode::kMain));
    const auto requests = Requests(2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].node, FakeNode::kMain);  // Get Partner
    EXPECT_EQ(requests[1].node, FakeNode::kMain);  // Establish Session
}

TEST_F(NetworkConnectionTest, AStandbyMainEndsItsTriesAtOnce) {
    fake.SetStandby(FakeNode::kMain, true);
    ASSERT_TRUE(Pass());
    EXPECT_EQ(link->CurrentIndex(), 1u);
    EXPECT_TRUE(Logged("Establish Session Failed: Standby!"));
    const auto requests = Requests(3);
    EXPECT_EQ(CountOf(requests, CNetworkConnection::kEstablishSessionCode, FakeNode::kMain), 1u);
}

TEST_F(NetworkConnectionTest, NoAddressOfferingASessionKillsTheLink) {
    fake.SetStandby(FakeNode::kMain, true);
    fake.SetRefuseSessions(FakeNode::kPartner, true);
    EXPECT_FALSE(Pass());
    EXPECT_EQ(owner.lost, 1);
    EXPECT_FALSE(link->HasSession());
}

struct IgnoredCase {
    friend void PrintTo(const IgnoredCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    FakeFaultPlan plan;
    size_t sends;
    const char* line;
};

FakeFaultPlan Plan(FakeFault fault) {
    return FakeFaultPlan(fault);
}

FakeFaultPlan CraftedPlan(int code, uint8_t status, Bytes payload) {
    FakeFaultPlan plan(FakeFault::kRaw);
    plan.craft = Crafted(code, status, std::move(payload));
    return plan;
}

FakeFaultPlan RawPlan(Bytes bytes) {
    FakeFaultPlan plan(FakeFault::kRaw);
    plan.raw = std::move(bytes);
    return plan;
}

class NetworkIgnoredReplyTest : public NetworkConnectionTest,
                                public ::testing::WithParamInterface<IgnoredCase> {};

TEST_P(NetworkIgnoredReplyTest, IsNotTakenForTheReply) {
    ASSERT_TRUE(Pass());
    fake.ClearRequests();
    HelloFault(GetParam().plan);
    ASSERT_TRUE(Hello());
    EXPECT_EQ(reply, Bytes{0x01});
    EXPECT_EQ(CountOf(Requests(GetParam().sends), kHello, FakeNode::kMain), GetParam().sends);
    EXPECT_TRUE(Logged(GetParam().line));
    EXPECT_EQ(owner.lost, 0);
    EXPECT_TRUE(link->HasSession());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, NetworkIgnoredReplyTest,
    ::testing::Values(
        // Skipped while the awaited reply is still on its way.
        IgnoredCase{"WrongPort", Plan(FakeFault::kWrongPort), 1, "Wrong Reply Source!"},
        // Rejected, and the request sent again.
        IgnoredCase{"WrongSession", Plan(FakeFault::kWrongSession), 2, "Wrong Reply Session!"},
        IgnoredCase{"WrongNumber", Plan(FakeFault::kWrongNumber), 2, "Wrong Reply Number!"},
        IgnoredCase{"Garbled", Plan(FakeFault::kGarble), 2, "Wrong Reply Checksum!"},
        IgnoredCase{"Dropped", Plan(FakeFault::kDrop), 2, "Receive Error Occurred!"},
        IgnoredCase{"Split", Plan(FakeFault::kSplit), 2, "Wrong Reply Format!"},
        IgnoredCase{"OverLong", Plan(FakeFault::kOverLong), 2, "Wrong Reply Format!"},
        IgnoredCase{"Junk", RawPlan({0xD5, 0x1A, 0xDD}), 2, "Wrong Reply Format!"},
        IgnoredCase{"WrongType", CraftedPlan(kHello + 1, 0, {0x01}), 2, "Wrong Reply Type!"},
        IgnoredCase{"ErrorStatus", CraftedPlan(kHello, 0x8, {0x01}), 2, "Reply Errors!"},
        IgnoredCase{"InvalidForTheHandler", CraftedPlan(kHello, 0, {1, 2}), 2, "Reply Invalid!"}),
    [](const auto& info) { return info.param.name; });

TEST_F(NetworkConnectionTest, RepliesFromAnotherAddressOfTheControllerOnItsPortAreTaken) {
    ASSERT_TRUE(Pass());
    fake.ClearRequests();
    FakeFaultPlan plan(FakeFault::kOtherAddress, CNetworkConnection::kMaxTransactFailures);
    HelloFault(plan);
    for (int i = 0; i < CNetworkConnection::kMaxTransactFailures; ++i) {
        ASSERT_TRUE(Hello());
        EXPECT_EQ(reply, Bytes{0x01});
    }
    EXPECT_EQ(CountOf(Requests(6), kHello, FakeNode::kMain), 6u);  // one send each
    EXPECT_FALSE(Logged("Wrong Reply Source!"));
    EXPECT_EQ(owner.lost, 0);
    EXPECT_TRUE(link->HasSession());
}

TEST_F(NetworkConnectionTest, ANullOrStandbyReplySessionKillsTheLinkAtOnce) {
    for (const FakeFault fault : {FakeFault::kNullSession, FakeFault::kStandbySession}) {
        ASSERT_TRUE(Pass());
        fake.ClearRequests();
        HelloFault(Plan(fault));
        EXPECT_FALSE(Hello());
        EXPECT_EQ(CountOf(Requests(1), kHello, FakeNode::kMain), 1u);
        EXPECT_FALSE(link->HasSession());
    }
    EXPECT_TRUE(Logged("Null Reply Session!"));
    EXPECT_TRUE(Logged("Standby Reply Session!"));
    EXPECT_EQ(owner.lost, 2);  // the owner keeps it to one alarm
}

TEST_F(NetworkConnectionTest, TheErrorBitIsToleratedOnlyWhenTheRequestSaysSo) {
    ASSERT_TRUE(Pass());
    fake.SetReply(25, {}, 0x8);
    ASSERT_TRUE(Send(25, {}, 1, 0));
    EXPECT_EQ(link->GetReplyErrorFlag(), 1);
    fake.SetReply(25, {}, 0x4);
    EXPECT_FALSE(Send(25, {}, 1, 0));
    EXPECT_EQ(log.Count("Quillex", "Reply Errors!"), 6);
}

TEST_F(NetworkConnectionTest, SpecialBytesCrossTheNetworkBothWays) {
    ASSERT_TRUE(Pass());
    const Bytes payload{0x1A, 0x9E, 0xA5, 0xAD, 0xD5, 0xDA, 0xDD, 0xF0, 0xF1, 0xF2};
    fake.SetHandler(40, [](const FakeRequest& r) {
        return std::optional<testing::FakeReply>({r.payload, 0});
    });
    ASSERT_TRUE(Send(40, payload, 0, payload.size()));
    EXPECT_EQ(reply, payload);
    const Bytes map(CConnection::kMaxPayload, 0xDD);  // the largest, every byte escaped
    ASSERT_TRUE(Send(40, map, 0, map.size()));
    EXPECT_EQ(reply, map);
}

TEST_F(NetworkConnectionTest, MessageNumbersWrapAfter4095) {
    ASSERT_TRUE(Pass());
    // Get Partner and Establish Session took numbers 1 and 2.
    for (int i = 0; i < 4095 - 3; ++i) {
        link->BeginMessage(kHello);
    }
    fake.ClearRequests();
    ASSERT_TRUE(Hello());
    ASSERT_TRUE(Hello());
    const auto requests = Requests(2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].number, 4095);
    EXPECT_EQ(requests[1].number, 0);
}

TEST_F(NetworkConnectionTest, TheOwnersAbortCheckInterruptsBeforeAnySend) {
    owner.onCheckAbort = [] { throw CAppDied{}; };
    EXPECT_THROW(link->OpenSession(), CAppDied);
    EXPECT_THROW(link->CheckPartner(), CAppDied);
    EXPECT_THROW(Hello(), CAppDied);
    EXPECT_EQ(fake.RequestCount(), 0u);
    EXPECT_EQ(owner.lost, 0);
}

}  // namespace
}  // namespace corvane
