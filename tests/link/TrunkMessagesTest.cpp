#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "link/RecordingModel.h"
#include "link/TrunkMessages.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;
using Calls = std::vector<std::string>;

struct DefinitionCase {
    friend void PrintTo(const DefinitionCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    Bytes payload;
    std::optional<bool> statusDue;  // none: refused
    Calls calls;
};

class TrunkDefinitionsReplyTest : public ::testing::TestWithParam<DefinitionCase> {};

TEST_P(TrunkDefinitionsReplyTest, DefinesOrUndefinesTheTrunk) {
    const DefinitionCase& c = GetParam();
    testing::RecordingModel model;
    CDiagLogSource log;
    EXPECT_EQ(HandleTrunkDefinitionsReply(42, c.payload, model, log), c.statusDue);
    EXPECT_EQ(model.Calls(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, TrunkDefinitionsReplyTest,
    ::testing::Values(
        DefinitionCase{"Defined",
                       {3, 0xA1, 0x23, 7, 0x00, 0x05, 3, 0x21, 0x10, 7, 0x00, 0x06, 0x03},
                       true,
                       {"Define 42 c1 f1 3:291 7:5 fixed 3:2:272 7:0:6"}},
        DefinitionCase{"FixedTypeAbove7IsIL",
                       {0, 0x00, 0x01, 1, 0x00, 0x02, 0, 0x9F, 0xFF, 1, 0xF0, 0x00, 0x00},
                       true,
                       {"Define 42 c0 f0 0:1 1:2 fixed 0:8:4095 1:8:0"}},
        DefinitionCase{"End1IntercomNone",
                       {255, 0x00, 0x01, 1, 0x00, 0x02, 0, 0, 0, 0, 0, 0, 0},
                       false,
                       {"Undefine 42"}},
        DefinitionCase{"End1NumberNone",
                       {4, 0xFF, 0xFF, 1, 0x00, 0x02, 0, 0, 0, 0, 0, 0, 0},
                       false,
                       {"Undefine 42"}},
        DefinitionCase{"End2IntercomNone",
                       {4, 0x00, 0x01, 255, 0x00, 0x02, 0, 0, 0, 0, 0, 0, 0},
                       false,
                       {"Undefine 42"}},
        DefinitionCase{"End2NumberNone",
                       {4, 0x00, 0x01, 5, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0},
                       false,
                       {"Undefine 42"}},
        DefinitionCase{"OnlyOneNumberByteFFIsANumber",
                       {4, 0x0F, 0xFF, 5, 0xFF, 0x00, 0, 0, 0, 0, 0, 0, 0},
                       true,
                       {"Define 42 c0 f0 4:4095 5:3840 fixed 0:0:0 0:0:0"}},
        DefinitionCase{"Short", Bytes(12, 0), std::nullopt, {}},
        DefinitionCase{"Long", Bytes(14, 0), std::nullopt, {}},
        DefinitionCase{"Empty", {}, std::nullopt, {}}),
    [](const auto& info) { return info.param.name; });

struct StatusCase {
    friend void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    Bytes payload;
    bool capability;
    bool accepted;
    Calls calls;
};

class TrunkStatusReplyTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(TrunkStatusReplyTest, StoresOutOfServiceThenTheState) {
    const StatusCase& c = GetParam();
    testing::RecordingModel model;
    CDiagLogSource log;
    EXPECT_EQ(HandleTrunkStatusReply(7, c.payload, c.capability, model, log), c.accepted);
    EXPECT_EQ(model.Calls(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, TrunkStatusReplyTest,
    ::testing::Values(StatusCase{"Idle", {0}, false, true, {"OOS 7 0", "State 7 0"}},
                      StatusCase{"Code1SetsNoState", {1}, false, true, {"OOS 7 0"}},
                      StatusCase{"Allocated", {2}, false, true, {"OOS 7 0", "State 7 1"}},
                      StatusCase{"InUse", {3}, false, true, {"OOS 7 0", "State 7 2"}},
                      StatusCase{"Maintenance", {4}, true, true, {"OOS 7 0", "State 7 3"}},
                      StatusCase{"Unknown", {5}, true, true, {"OOS 7 0"}},
                      StatusCase{"OutOfServiceInUse", {0x0B}, true, true, {"OOS 7 1", "State 7 2"}},
                      StatusCase{"Bit3WithoutCapability", {0x0B}, false, true, {"OOS 7 0"}},
                      StatusCase{"OutOfServiceIdle", {0x08}, true, true, {"OOS 7 1", "State 7 0"}},
                      StatusCase{"Empty", {}, true, false, {}},
                      StatusCase{"TwoBytes", {0, 0}, true, false, {}}),
    [](const auto& info) { return info.param.name; });

// Inspect replies: eight header bytes (cascade trunk in 6-7), six more with a cascade trunk,
// then e entries of end 1 and g entries of end 2, five bytes each.
Bytes Inspect(int cascade, const std::vector<Bytes>& ends1, const std::vector<Bytes>& ends2) {
    Bytes p(6, 0xEE);
    p.push_back(static_cast<uint8_t>(cascade >> 8));
    p.push_back(static_cast<uint8_t>(cascade));
    if (cascade != 0xFFFF) {
        p.insert(p.end(), 6, 0xEE);
    }
    p.push_back(static_cast<uint8_t>(ends1.size()));
    for (const Bytes& e : ends1) {
        p.insert(p.end(), e.begin(), e.end());
    }
    p.push_back(static_cast<uint8_t>(ends2.size()));
    for (const Bytes& e : ends2) {
        p.insert(p.end(), e.begin(), e.end());
    }
    return p;
}

Bytes Cut(Bytes b, size_t by) {
    b.resize(b.size() - by);
    return b;
}

Bytes Grow(Bytes b) {
    b.push_back(0);
    return b;
}

// Entry bytes: intercom, type << 4 | number high nibble, number low byte, own flags, opposite
// flags. Own: talk bit 1, listen bit 0, inactive bit 6; opposite: talk bit 0, listen bit 1.
const Bytes kSrc{2, 0x01, 0x05, 0x02, 0x02};  // 2:0:261 talks; its far end listens
const Bytes kDst{9, 0x20, 0x11, 0x41, 0x01};  // 9:2:17 listens, inactive; its far end talks
const Bytes kDst2{10, 0x30, 0x01, 0x03, 0x43};
const Bytes kSrc2{3, 0x00, 0x07, 0x00, 0x40};

struct InspectCase {
    friend void PrintTo(const InspectCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    Bytes payload;
    const char* failure;  // nullptr: accepted
    Calls calls;
};

class InspectTrunkReplyTest : public ::testing::TestWithParam<InspectCase> {};

TEST_P(InspectTrunkReplyTest, PairsTheEndsOrRefusesInTheGivenOrder) {
    const InspectCase& c = GetParam();
    testing::RecordingModel model;
    CDiagLogSource log;
    EXPECT_EQ(HandleInspectTrunkReply(11, c.payload, model, log), c.failure == nullptr);
    EXPECT_EQ(model.Calls(), c.calls);
    if (c.failure != nullptr) {
        EXPECT_EQ(DecodeInspectTrunkReply(c.payload).Failure(), c.failure);
    }
}

constexpr const char* kLength = "Inspect Trunk Reply: Incorrect response length";

INSTANTIATE_TEST_SUITE_P(
    Replies, InspectTrunkReplyTest,
    ::testing::Values(
        InspectCase{"IdleTrunk", Inspect(0xFFFF, {}, {}), nullptr, {"PurgeUsage 11"}},
        InspectCase{"OneEachIs20Bytes",
                    Inspect(0xFFFF, {kSrc}, {kDst}),
                    nullptr,
                    {"Usage 11 cascade 65535 2:0:261 t1l0i0 -> 9:2:17 t0l1i0", "PurgeUsage 11"}},
        InspectCase{"OneEachWithCascadeIs26Bytes",
                    Inspect(300, {kSrc}, {kDst}),
                    nullptr,
                    {"Usage 11 cascade 300 2:0:261 t1l0i0 -> 9:2:17 t0l1i0", "PurgeUsage 11"}},
        InspectCase{"OneSourceSeveralDestinations",
                    Inspect(0xFFFF, {kSrc}, {kDst, kDst2}),
                    nullptr,
                    {"Usage 11 cascade 65535 2:0:261 t1l0i0 -> 9:2:17 t0l1i1",
                     "Usage 11 cascade 65535 2:0:261 t1l1i1 -> 10:3:1 t1l1i0", "PurgeUsage 11"}},
        InspectCase{"SeveralSourcesOneDestination",
                    Inspect(0xFFFF, {kSrc, kSrc2}, {kDst}),
                    nullptr,
                    {"Usage 11 cascade 65535 2:0:261 t1l0i0 -> 9:2:17 t0l1i0",
                     "Usage 11 cascade 65535 3:0:7 t0l0i0 -> 9:2:17 t0l0i1", "PurgeUsage 11"}},
        InspectCase{"SourcesWithoutDestinationStoreNothing",
                    Inspect(0xFFFF, {kSrc, kSrc2}, {}),
                    nullptr,
                    {"PurgeUsage 11"}},
        InspectCase{"EqualCountsAboveOne",
                    Inspect(0xFFFF, {kSrc, kSrc2}, {kDst, kDst2}),
                    "Inspect Trunk Reply: Invalid response, Ends 1 and 2",
                    {}},
        InspectCase{"End1MoreAndEnd2AboveOne",
                    Inspect(0xFFFF, {kSrc, kSrc2, kSrc}, {kDst, kDst2}),
                    "Inspect Trunk Reply: Invalid response, End 2",
                    {}},
        InspectCase{"End2MoreAndEnd1AboveOne",
                    Inspect(0xFFFF, {kSrc, kSrc2}, {kDst, kDst2, kDst}),
                    "Inspect Trunk Reply: Invalid response, End 1",
                    {}},
        InspectCase{"FewerThanEightBytes", Bytes(7, 0), kLength, {}},
        InspectCase{
            "CascadePartMissing", Bytes{0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}, kLength, {}},
        InspectCase{"NoEnd1Count", Cut(Inspect(0xFFFF, {}, {}), 2), kLength, {}},
        InspectCase{"End1EntriesShort", Cut(Inspect(0xFFFF, {kSrc}, {}), 3), kLength, {}},
        InspectCase{"NoEnd2Count", Cut(Inspect(0xFFFF, {kSrc}, {}), 1), kLength, {}},
        InspectCase{"End2EntriesShort", Cut(Inspect(0xFFFF, {kSrc}, {kDst}), 1), kLength, {}},
        InspectCase{"OneByteLeftOverIs21Bytes", Grow(Inspect(0xFFFF, {kSrc}, {kDst})), kLength, {}},
        InspectCase{
            "CountsThatClaimTooMuch", Bytes{0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 255, 1, 2}, kLength, {}}),
    [](const auto& info) { return info.param.name; });

TEST(InspectTrunkReplyTest, OneEntryEachIsExactlyTwentyOrTwentySixBytes) {
    EXPECT_EQ(Inspect(0xFFFF, {kSrc}, {kDst}).size(), 20u);
    EXPECT_EQ(Inspect(0, {kSrc}, {kDst}).size(), 26u);
}

}  // namespace
}  // namespace corvane
