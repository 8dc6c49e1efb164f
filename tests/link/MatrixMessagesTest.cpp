#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "link/MatrixMessages.h"
#include "link/QueuedRequestMessages.h"
#include "link/RecordingModel.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;
using Calls = std::vector<std::string>;
using Handler = std::function<bool(ReplyBytes, IQuillexModel&, const CDiagLogSource&)>;

struct MatrixCase {
    friend void PrintTo(const MatrixCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    Handler handle;
    Bytes payload;
    bool accepted;
    Calls calls;
};

class MatrixReplyTest : public ::testing::TestWithParam<MatrixCase> {};

TEST_P(MatrixReplyTest, FeedsTheIntercomOrRefusesALengthOtherThanItsOwn) {
    const MatrixCase& c = GetParam();
    testing::RecordingModel model;
    CDiagLogSource log;
    EXPECT_EQ(c.handle(c.payload, model, log), c.accepted);
    EXPECT_EQ(model.Calls(), c.calls);
}

Handler Baud() {
    return [](ReplyBytes p, IQuillexModel& m, const CDiagLogSource& l) {
        return HandleBaudRateReply(6, p, m, l);
    };
}
Handler Port() {
    return [](ReplyBytes p, IQuillexModel& m, const CDiagLogSource& l) {
        return HandlePortMappingReply(6, p, m, l);
    };
}
Handler Cost() {
    return [](ReplyBytes p, IQuillexModel& m, const CDiagLogSource& l) {
        return HandleCascadeCostReply(6, p, m, l);
    };
}
Handler Conn() {
    return [](ReplyBytes p, IQuillexModel& m, const CDiagLogSource& l) {
        return HandleConnTypeReply(6, p, m, l);
    };
}
Handler Ip(int which) {
    return [which](ReplyBytes p, IQuillexModel& m, const CDiagLogSource& l) {
        return HandleIPAddressReply(which, 6, p, m, l);
    };
}
Handler Comm() {
    return [](ReplyBytes p, IQuillexModel& m, const CDiagLogSource& l) {
        return HandleCommStatReply(6, p, m, l);
    };
}
Handler Queued(int matrix) {
    return [matrix](ReplyBytes p, IQuillexModel& m, const CDiagLogSource& l) {
        return HandleQueuedRequestsReply(matrix, p, m, l);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Replies, MatrixReplyTest,
    ::testing::Values(
        MatrixCase{"Baud76800", Baud(), {0}, true, {"BaudRate 6 76800"}},
        MatrixCase{"Baud38400", Baud(), {1}, true, {"BaudRate 6 38400"}},
        MatrixCase{"Baud9600", Baud(), {2}, true, {"BaudRate 6 9600"}},
        MatrixCase{"Baud2400", Baud(), {3}, true, {"BaudRate 6 2400"}},
        MatrixCase{"BaudOtherIgnored", Baud(), {4}, true, {}},
        MatrixCase{"BaudEmpty", Baud(), {}, false, {}},
        MatrixCase{"BaudLong", Baud(), {0, 0}, false, {}},
        MatrixCase{"Port", Port(), {31}, true, {"ControllerPort 6 31"}},
        MatrixCase{"PortNone", Port(), {255}, true, {"ControllerPort 6 255"}},
        MatrixCase{"PortLong", Port(), {1, 2}, false, {}},
        MatrixCase{"Cost", Cost(), {0x01, 0x02}, true, {"CascadeCost 6 258"}},
        MatrixCase{"CostShort", Cost(), {0x01}, false, {}},
        MatrixCase{"ConnSerial", Conn(), {0}, true, {"ConnType 6 Serial"}},
        MatrixCase{"ConnNetwork", Conn(), {1}, true, {"ConnType 6 Network"}},
        MatrixCase{"ConnOtherIgnored", Conn(), {2}, true, {}},
        MatrixCase{"ConnEmpty", Conn(), {}, false, {}},
        MatrixCase{"Ip1", Ip(0), {10, 0, 12, 254}, true, {"IP1 6 10.0.12.254"}},
        MatrixCase{"Ip2None", Ip(1), {0, 0, 0, 0}, true, {"IP2 6 -"}},
        MatrixCase{"Ip2Broadcast", Ip(1), {255, 255, 255, 255}, true, {"IP2 6 255.255.255.255"}},
        MatrixCase{"IpShort", Ip(0), {10, 0, 12}, false, {}},
        MatrixCase{"CommBadYskaCs", Comm(), {0x05}, true, {"CommStatus 6 'Bad YSKA-CS'"}},
        MatrixCase{"CommOkYskaCs", Comm(), {0x85}, true, {"CommStatus 6 'OK YSKA-CS'"}},
        MatrixCase{"CommUnknownDash", Comm(), {0x0B}, true, {"CommStatus 6 '- '"}},
        MatrixCase{"CommOkUnknown", Comm(), {0x8B}, true, {"CommStatus 6 'OK ?'"}},
        MatrixCase{"CommBadCode9", Comm(), {0x09}, true, {"CommStatus 6 'Bad ?'"}},
        MatrixCase{"CommOkZrax", Comm(), {0x90}, true, {"CommStatus 6 'OK ZRAX'"}},
        MatrixCase{"CommOkKavoIIILe", Comm(), {0x8F}, true, {"CommStatus 6 'OK KAVO-III LE'"}},
        MatrixCase{"CommBadMx4500", Comm(), {0x00}, true, {"CommStatus 6 'Bad MX4500'"}},
        MatrixCase{"CommEmpty", Comm(), {}, false, {}},
        MatrixCase{"QueuedNone", Queued(31), {}, true, {"PurgeQueued 31"}},
        MatrixCase{"QueuedTwo",
                   Queued(4),
                   {4, 0x01, 0x02, 9, 0x21, 0x05, 0x43, 4, 0x00, 0x07, 1, 0x80, 0x01, 0x00},
                   true,
                   {"Queued 4:0:258 t1l1i1 -> 9:2:261 t0l0i0",
                    "Queued 4:0:7 t0l0i0 -> 1:8:1 t0l0i0", "PurgeQueued 4"}},
        MatrixCase{"QueuedSixteenBitSourceNumber",
                   Queued(0),
                   {0, 0xFF, 0xFF, 1, 0x0F, 0xFF, 0x01},
                   true,
                   {"Queued 0:0:65535 t1l0i0 -> 1:0:4095 t0l0i0", "PurgeQueued 0"}},
        MatrixCase{"QueuedNotAMultipleOf7", Queued(4), Bytes(8, 0), false, {}},
        MatrixCase{"QueuedOneShort", Queued(4), Bytes(13, 0), false, {}}),
    [](const auto& info) { return info.param.name; });

TEST(OosPortsReplyTest, CopiesExactly128BytesIntoTheMap) {
    Bytes p(128, 0);
    p[0] = 0x01;
    p[127] = 0x80;
    const auto map = DecodeOosPortsReply(p);
    ASSERT_TRUE(map);
    EXPECT_EQ((*map)[0], 0x01);
    EXPECT_EQ((*map)[127], 0x80);
    for (const size_t wrong : {0u, 127u, 129u}) {
        const auto refused = DecodeOosPortsReply(Bytes(wrong, 0));
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.Failure(), "Matrix OOS Ports Query Reply: Incorrect response length");
    }
}

}  // namespace
}  // namespace corvane
