#include <gtest/gtest.h>

#include "presentation/DeviceSearchList.h"
#include "presentation/DeviceSearchTexts.h"

namespace corvane {
namespace {

DeviceFinderReply Reply(uint32_t source, int type, const std::string& name, bool active = true) {
    DeviceFinderReply r;
    r.command = 209;
    r.sourceAddress = source;
    r.deviceType = type;
    r.name = name;
    r.active = active;
    return r;
}

TEST(DeviceSearchList, ModesAskAndTitleDifferently) {
    const CDeviceSearchList intercoms(true, "");
    const CDeviceSearchList controllers(false, "");
    EXPECT_EQ(intercoms.QueryCommand(), 222);
    EXPECT_EQ(controllers.QueryCommand(), 209);
    const DeviceSearchTitles i = intercoms.Titles();
    const DeviceSearchTitles c = controllers.Titles();
    EXPECT_EQ(i.group, "Intercoms");
    EXPECT_EQ(i.selectedGroup, "Selected Intercom");
    EXPECT_EQ(i.window, "Available Intercoms");
    EXPECT_EQ(i.helpId, 301);
    EXPECT_EQ(i.iconId, 302);
    EXPECT_EQ(c.group, "Quillexs");
    EXPECT_EQ(c.selectedGroup, "Selected Quillex");
    EXPECT_EQ(c.window, "Available Quillexs");
    EXPECT_EQ(c.helpId, 303);
    EXPECT_EQ(c.iconId, 304);
}

TEST(DeviceSearchList, EachModeListsItsOwnTypes) {
    const CDeviceSearchList intercoms(true, "");
    const CDeviceSearchList controllers(false, "");
    for (int type = -1; type <= 12; ++type) {
        SCOPED_TRACE(type);
        const bool controller = type == 1 || type == 7 || type == 8 || type == 9;
        EXPECT_EQ(intercoms.Wants(Reply(1, type, "x")), type >= 1 && !controller);
        // Types 1 and 8 are controllers by the table, yet not listed.
        EXPECT_EQ(controllers.Wants(Reply(1, type, "x")), type == 7 || type == 9);
    }
}

TEST(DeviceSearchList, DeviceTypeNames) {
    const std::pair<int, const char*> cases[] = {
        {1, "QX-5100"},
        {7, "QX-5100"},
        {2, "Belmar Intercom"},
        {3, "VESK-e System Controller"},
        {4, "KAVO-III"},
        {5, "KAVO-III LE"},
        {6, "ZRAX"},
        {8, "QX-70K"},
        {9, "QX-70K"},
        {0, "Unknown device type"},
        {10, "Unknown device type"},
        {255, "Unknown device type"},
    };
    for (const auto& [type, text] : cases) {
        EXPECT_EQ(DeviceTypeText(type), text) << type;
    }
}

TEST(DeviceSearchList, ItemTexts) {
    EXPECT_EQ(CDeviceSearchList::ItemText(Reply(1, 7, "QX", true)), "QX (Active)");
    EXPECT_EQ(CDeviceSearchList::ItemText(Reply(1, 9, "QX", false)), "QX (Standby)");
    EXPECT_EQ(CDeviceSearchList::ItemText(Reply(1, 2, "Belmar", false)), "Belmar");

    DeviceFinderReply framed = Reply(1, 7, "QX");
    EXPECT_FALSE(CDeviceSearchList::FrameText(framed).has_value());
    framed.frameCount = 1;
    EXPECT_FALSE(CDeviceSearchList::FrameText(framed).has_value());
    framed.frameIndex = 1;
    framed.frameCount = 3;
    EXPECT_EQ(CDeviceSearchList::FrameText(framed), "Frame 2 of 3");
}

TEST(DeviceSearchList, DetailsAndChoice) {
    DeviceFinderReply r = Reply(0xC0A80A07, 9, "QX North", false);
    r.partnerAddress = 0xC0A80A08;
    r.connections1 = 12;
    r.connections2 = 3;
    r.description = "Rack 2";
    const DeviceDetails d = CDeviceSearchList::Details(r);
    EXPECT_EQ(d, (DeviceDetails{"QX North", "QX-70K", "Standby", "192.168.10.7", "192.168.10.8",
                                "3 / 12 Available", "Rack 2"}));
    EXPECT_EQ(CDeviceSearchList::Choice(r),
              (ChosenDevice{"QX North", "192.168.10.7", "192.168.10.8"}));
}

TEST(DeviceSearchList, NoPartnerShowsBlankAndIsChosenAsNone) {
    for (const uint32_t none : {0u, 0xFFFFFFFFu}) {
        DeviceFinderReply r = Reply(0x0A000001, 7, "QX");
        r.partnerAddress = none;
        EXPECT_EQ(CDeviceSearchList::Details(r).partnerAddress, "");
        EXPECT_EQ(CDeviceSearchList::Choice(r).partnerAddress, "0.0.0.0");
    }
}

TEST(DeviceSearchList, ListsByTextThenAddress) {
    CDeviceSearchList list(false, "");
    struct Step {
        DeviceFinderReply reply;
        int row;
    };
    const Step steps[] = {
        {Reply(5, 7, "Mike"), 0},     {Reply(4, 7, "alpha"), 0},
        {Reply(3, 7, "Zulu"), 2},     {Reply(2, 7, "Mike"), 1},  // same text as 5, lower address
        {Reply(6, 1, "Dropped"), -1},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(list.Add(s.reply, false).row, s.row) << s.reply.name;
    }
    EXPECT_EQ(list.Keys(), (std::vector<uint32_t>{4, 2, 5, 3}));
}

TEST(DeviceSearchList, TheSameAddressKeepsOneEntryWithTheNewerReply) {
    CDeviceSearchList list(false, "");
    EXPECT_EQ(list.Add(Reply(7, 7, "QX", true), false).change, CDeviceSearchList::Change::kAdded);
    DeviceFinderReply newer = Reply(7, 9, "QX", false);
    newer.description = "newer";
    const auto outcome = list.Add(newer, true);
    EXPECT_EQ(outcome.change, CDeviceSearchList::Change::kUpdated);
    EXPECT_EQ(outcome.row, 0);
    EXPECT_FALSE(outcome.select);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.Find(7)->description, "newer");
    EXPECT_EQ(list.Find(8), nullptr);
}

TEST(DeviceSearchList, TheCurrentDeviceIsSelectedWhenNothingElseIs) {
    struct Case {
        const char* name;
        bool anythingSelected;
        bool select;
    };
    const Case cases[] = {
        {"QX Main", false, true},
        {"QX Main", true, false},
        {"QX Other", false, false},
        {"qx main", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDeviceSearchList list(false, "QX Main");
        EXPECT_EQ(list.Add(Reply(1, 7, c.name), c.anythingSelected).select, c.select);
    }
    CDeviceSearchList list(false, "");
    EXPECT_FALSE(list.Add(Reply(1, 7, "QX"), false).select);
    EXPECT_TRUE(list.Add(Reply(2, 7, ""), false).select);  // an unnamed device, as asked
}

TEST(DeviceSearchList, DottedAddresses) {
    EXPECT_EQ(DottedIPv4(0), "0.0.0.0");
    EXPECT_EQ(DottedIPv4(0x7F000001), "127.0.0.1");
    EXPECT_EQ(DottedIPv4(0xFFFFFFFF), "255.255.255.255");
}

}  // namespace
}  // namespace corvane
