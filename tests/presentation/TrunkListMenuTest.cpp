#include "presentation/TrunkListMenu.h"

#include <gtest/gtest.h>

#include <climits>

namespace corvane {
namespace {

using Type = TrunkMenuItem::Type;

// The menu as one line: command ids, "[" submenu "]" and "|" for separators.
std::string Shape(const TrunkMenu& menu) {
    std::string out;
    for (const TrunkMenuItem& item : menu) {
        if (!out.empty()) {
            out += ' ';
        }
        switch (item.type) {
            case Type::Command:
                out += std::to_string(item.id);
                break;
            case Type::Separator:
                out += '|';
                break;
            case Type::Submenu:
                out += "[" + item.text + "]";
                break;
        }
    }
    return out;
}

SelectedTrunkRow Row(int state, int result, int outOfService = 0) {
    SelectedTrunkRow row;
    row.trunk = 7;
    row.state = state;
    row.testResult = result;
    row.outOfService = outOfService;
    return row;
}

constexpr int kIdle = 0, kInUse = 2, kMaint = 3;
constexpr int kPass = 0, kPending = 3, kTesting = 4, kSkipped = 5, kNone = 6;

TEST(TrunkListMenuTest, RemovesWhatDoesNotApply) {
    struct Case {
        const char* name;
        TrunkMenuState state;
        const char* shape;
    };
    const Case cases[] = {
        {"no analyzer, one idle trunk: maintenance and its requests only",
         {false, 1, true, Row(kIdle, kNone), false},
         "32783 | 32784"},
        {"no analyzer, one trunk in maintenance",
         {false, 1, true, Row(kMaint, kNone), false},
         "32782 | 32784"},
        {"no analyzer, two rows: both maintenance commands, no requests",
         {false, 2, true, Row(kIdle, kNone), false},
         "32783 32782"},
        {"analyzer, one idle trunk never tested",
         {true, 1, true, Row(kIdle, kNone), false},
         "32777 32778 32781 | 32783 | 32784 | [Auto testing] [Alarms] [Notifications] | 32862"},
        {"analyzer, a pending trunk, testing paused",
         {true, 1, true, Row(kInUse, kPending), true},
         "32777 32778 32779 32781 | 32783 | 32784 | [Auto testing] [Alarms] [Notifications] | "
         "32863"},
        {"analyzer, a skipped trunk out of service: no test now",
         {true, 1, true, Row(kIdle, kSkipped, 1), false},
         "32778 32779 32781 | 32783 | 32784 | [Auto testing] [Alarms] [Notifications] | 32862"},
        {"out of service without the controller's support: test now stays",
         {true, 1, false, Row(kIdle, kPass, 1), false},
         "32777 32778 32781 | 32783 | 32784 | [Auto testing] [Alarms] [Notifications] | 32862"},
        {"analyzer, two rows: cancel stays, no test now and no requests",
         {true, 2, true, Row(kIdle, kPass), false},
         "32778 32779 32781 | 32783 32782 | [Auto testing] [Alarms] [Notifications] | 32862"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Shape(BuildTrunkMenu(c.state)), c.shape) << c.name;
    }
}

TEST(TrunkListMenuTest, DefaultIsViewRequestsWhenOffered) {
    const TrunkMenu one = BuildTrunkMenu({true, 1, true, Row(kIdle, kNone), false});
    EXPECT_EQ(TrunkMenuDefault(one), trunkcmd::kViewRequests);
    const TrunkMenu two = BuildTrunkMenu({true, 2, true, Row(kIdle, kNone), false});
    EXPECT_EQ(TrunkMenuDefault(two), 0);
}

TEST(TrunkListMenuTest, SubmenusCarryTheSwitchesOfTheDocument) {
    const TrunkMenu menu = BuildTrunkMenu({true, 1, true, Row(kIdle, kNone), false});
    EXPECT_TRUE(TrunkMenuHas(menu, CVorlinDoc::kCmdDisableAutoTest));
    EXPECT_TRUE(TrunkMenuHas(menu, CVorlinDoc::kCmdEnableNotifications));
    const TrunkMenu without = BuildTrunkMenu({false, 1, true, Row(kIdle, kNone), false});
    EXPECT_FALSE(TrunkMenuHas(without, CVorlinDoc::kCmdEnableAlarms));
}

TEST(TrunkListMenuTest, CommandsActOnlyOnTheRowsTheyFit) {
    struct Case {
        int command;
        SelectedTrunkRow row;
        bool acts;
    };
    SelectedTrunkRow noNumber = Row(kIdle, kPending);
    noNumber.trunk = INT_MAX;
    const Case cases[] = {
        {trunkcmd::kSetMaintenance, Row(kIdle, kNone), true},
        {trunkcmd::kSetMaintenance, Row(kMaint, kNone), false},
        {trunkcmd::kClearMaintenance, Row(kMaint, kNone), true},
        {trunkcmd::kClearMaintenance, Row(kInUse, kNone), false},
        {trunkcmd::kCancelPendingTest, Row(kIdle, kPending), true},
        {trunkcmd::kCancelPendingTest, Row(kIdle, kSkipped), true},
        {trunkcmd::kCancelPendingTest, Row(kIdle, kPass), false},
        {trunkcmd::kCancelPendingTest, Row(kIdle, 1), false},  // fail
        {trunkcmd::kCancelPendingTest, Row(kIdle, 2), false},  // error
        {trunkcmd::kClearTestResults, Row(kIdle, kTesting), false},
        {trunkcmd::kClearTestResults, Row(kIdle, kPass), true},
        {trunkcmd::kQueueForTesting, Row(kMaint, kTesting), true},
        {trunkcmd::kQueueForTesting, noNumber, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TrunkCommandActsOn(c.command, c.row), c.acts)
            << c.command << " state " << c.row.state << " result " << c.row.testResult;
    }
}

}  // namespace
}  // namespace corvane
