#include "presentation/HelpService.h"

#include <gtest/gtest.h>

#include "fakes/RecordingUiBridge.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

TEST(HelpIds, PopupAndContextIds) {
    EXPECT_EQ(PopupHelpId(157, 1001), ((157u | 0x8000u) * 65536u) + 1001u);
    EXPECT_EQ(PopupHelpId(157, 0x12345), 0x809D2345u);  // the control id keeps 16 bits
    EXPECT_EQ(DialogContextId(157), 0x2009Du);
}

TEST(HelpService, PopupIdBoxAndLaunchBySettings) {
    struct Case {
        bool popupHelpId;
        bool launchHelp;
        bool box;
        bool launched;
    };
    const Case cases[] = {
        {false, false, false, false},
        {true, false, true, false},
        {false, true, false, true},
        {true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.popupHelpId << c.launchHelp);
        testing::RecordingUiBridge ui;
        AppSettings settings;
        settings.PopupHelpID = c.popupHelpId;
        settings.LaunchHelp = c.launchHelp;
        std::vector<std::string> order;
        WinHelp(settings, PopupHelpId(157, 1001), help::kContextPopup,
                [&](uint32_t id, unsigned command) {
                    EXPECT_EQ(id, 0x809D03E9u);
                    EXPECT_EQ(command, help::kContextPopup);
                    order.push_back(ui.Boxes().empty() ? "launch" : "launch after box");
                });
        const auto boxes = ui.Boxes();
        ASSERT_EQ(boxes.size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_EQ(boxes[0].text, "Help ID: 809d03e9 - Style: 8");
            EXPECT_EQ(boxes[0].style, mb::kOk | mb::kIconExclamation);
        }
        ASSERT_EQ(order.size(), c.launched ? 1u : 0u);
        if (c.launched && c.box) {
            EXPECT_EQ(order[0], "launch after box");
        }
    }
}

}  // namespace
}  // namespace corvane
