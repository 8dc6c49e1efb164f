#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "link/LinkTestSupport.h"
#include "link/MaintenanceMessages.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

class MaintenanceRepliesTest : public ::testing::Test {
protected:
    testing::LinkLog logs;
    CDiagLogSource log{"Quillex", "Quillex log", 0};
};

TEST_F(MaintenanceRepliesTest, ActivationReportsEachOutcomeAndOnlyThreeIsInProgress) {
    struct Case {
        Bytes payload;
        std::optional<bool> inProgress;
        const char* line;
    };
    const Case cases[] = {
        {{0}, false, "Update complete"},
        {{1}, false, "Update complete, no changes were found"},
        {{2}, false, "Update complete, error writing changes to EEPROM"},
        {{3}, true, "Update still in progress"},
        {{4}, false, nullptr},
        {{}, std::nullopt, "Activate Changes Reply: Incorrect response length"},
        {{3, 3}, std::nullopt, "Activate Changes Reply: Incorrect response length"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HandleActivationReply(c.payload, log), c.inProgress);
        if (c.line != nullptr) {
            EXPECT_TRUE(logs.Has("Quillex", c.line)) << c.line;
        }
    }
}

TEST_F(MaintenanceRepliesTest, TrunkModeSucceedsOnOneAndTellsTheTwoRefusals) {
    EXPECT_EQ(HandleSetTrunkModeReply(Bytes{1}, false, log), requeststatus::kSucceeded);
    EXPECT_EQ(HandleSetTrunkModeReply(Bytes{1}, true, log), requeststatus::kSucceeded);
    EXPECT_EQ(HandleSetTrunkModeReply(Bytes{0}, false, log), requeststatus::kMaintenanceRefused);
    EXPECT_EQ(HandleSetTrunkModeReply(Bytes{2}, true, log), requeststatus::kFailed);
    EXPECT_EQ(HandleSetTrunkModeReply(Bytes{}, true, log), std::nullopt);
    EXPECT_TRUE(logs.Has("Quillex", "Request Succeeded Successfully!"));
    EXPECT_TRUE(logs.Has("Quillex", "Request Maintenance Mode Failed!"));
    EXPECT_TRUE(logs.Has("Quillex", "EITHER Maintenance Mode Forced OR Restore Normal Failed!"));
    EXPECT_TRUE(logs.Has("Quillex", "Set Trunk Mode Reply: Incorrect response length"));
}

TEST_F(MaintenanceRepliesTest, CrosspointsAndMaintenancePortReplies) {
    EXPECT_EQ(HandleSetTrunkCrosspointsReply(Bytes{1}, log), requeststatus::kSucceeded);
    EXPECT_EQ(HandleSetTrunkCrosspointsReply(Bytes{0}, log), requeststatus::kFailed);
    EXPECT_EQ(HandleSetTrunkCrosspointsReply(Bytes{1, 1}, log), std::nullopt);
    EXPECT_TRUE(logs.Has("Quillex", "Set Trunk Crosspoints Reply: Request Failed!"));

    EXPECT_TRUE(HandleSetMaintenancePortReply(Bytes{7}, log));
    EXPECT_TRUE(HandleSetMaintenancePortReply(Bytes{0}, log));
    EXPECT_FALSE(HandleSetMaintenancePortReply(Bytes{}, log));
    EXPECT_TRUE(logs.Has("Quillex", "Set Maintenance Port succeeded"));
    EXPECT_TRUE(logs.Has("Quillex", "Set Maintenance Port failed"));
}

TEST(MaintenancePortReplyTest, TakesNonesAndAPortNoIntercomHasAsNone) {
    struct Case {
        Bytes payload;
        bool accepted;
        int matrix;
        int port;
        int unusablePort;
    };
    const Case cases[] = {
        {{3, 0x02, 0xBC}, true, 3, 700, -1},  {{255, 0xFF, 0xFF}, true, -1, -1, -1},
        {{0, 0x03, 0xFF}, true, 0, 1023, -1}, {{255, 0x00, 0x05}, true, -1, 5, -1},
        {{4, 0x04, 0x00}, true, 4, -1, 1024}, {{4, 0xFF, 0xFE}, true, 4, -1, 0xFFFE},
        {{4, 0x00}, false, 0, 0, -1},         {{4, 0x00, 0x01, 0x00}, false, 0, 0, -1},
    };
    for (const Case& c : cases) {
        const auto port = DecodeMaintenancePortReply(c.payload);
        ASSERT_EQ(static_cast<bool>(port), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(port->matrix, c.matrix);
            EXPECT_EQ(port->port, c.port);
            EXPECT_EQ(port->unusablePort, c.unusablePort);
        }
    }
    EXPECT_EQ(DecodeMaintenancePortReply(Bytes{4}).Failure(),
              "Get Maintenance Port Reply: Incorrect response length");
}

}  // namespace
}  // namespace corvane
