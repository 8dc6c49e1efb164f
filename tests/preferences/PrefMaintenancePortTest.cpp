// A maintenance port applied on the configuration page against the live document and the fake
// controller: what the operator learns when the controller never takes it.
#include <gtest/gtest.h>

#include "fakes/SupervisionRig.h"
#include "preferences/ConfigPageValues.h"
#include "preferences/PrefContext.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

using testing::SupervisionRig;

size_t PortKeptBoxes(const SupervisionRig& rig) {
    size_t count = 0;
    for (const auto& box : rig.ui.Boxes()) {
        count += box.text.find("did not take the new Intercom/Port") != std::string::npos ? 1 : 0;
    }
    return count;
}

TEST(PrefMaintenancePort, APortTheControllerNeverTakesIsToldOnceWithThePortItKept) {
    SupervisionRig rig;
    // The controller's port is the settings' (intercom 3, port 12); it grants no exclusive
    // control, so a Set Maintenance Port sequence is given up.
    rig.model.SetMaintenancePort(2, 11);
    rig.profile.WriteProfileInt("Settings\\Configuration", "TonexaIntercom", 3);
    rig.profile.WriteProfileInt("Settings\\Configuration", "TonexaPort", 12);
    testing::FakeMaintenanceOutcomes never;
    never.exclusiveControlRefusals = -1;
    rig.model.SetOutcomes(never);
    CVorlinDoc& doc = rig.Start();
    ASSERT_TRUE(rig.started);
    ASSERT_TRUE(rig.TickUntil([&] { return doc.IsControllerCommunicating() == true; }));
    ASSERT_TRUE(rig.TickUntil([&] { return doc.Controller()->HasMaintenancePort(); }));

    PrefContext context(rig.settings, rig.profile, doc.PreferenceTarget());
    context.sleep = [](std::chrono::milliseconds) {};
    ConfigPageValues edited = ConfigPageValues::FromSettings(rig.settings.Snapshot());
    edited.testerIntercom = 5;
    edited.testerPort = 7;
    ASSERT_TRUE(ApplyConfigPage(edited, context));
    EXPECT_EQ(rig.settings.Snapshot().TonexaPort, 7);

    ASSERT_TRUE(rig.TickUntil([&] { return PortKeptBoxes(rig) > 0; }));
    const auto boxes = rig.ui.Boxes();
    const auto& box = boxes.back();
    // Posted from the tick, never shown inside it.
    EXPECT_TRUE(box.posted);
    EXPECT_NE(box.text.find("\tIntercom:\t" + doc.GetIntercomName(3)), std::string::npos)
        << box.text;
    EXPECT_NE(box.text.find("\tPort:\t" + CVorlinDoc::GetAlphaDisplayName(0, 12)),
              std::string::npos)
        << box.text;
    const AppSettings s = rig.settings.Snapshot();
    EXPECT_EQ(s.TonexaIntercom, 3);
    EXPECT_EQ(s.TonexaPort, 12);
    EXPECT_EQ(rig.profile.GetProfileInt("Settings\\Configuration", "TonexaPort", -1), 12);

    // Once: later reports of the same port say nothing more.
    doc.Controller()->SetMaintenancePortReported(true);
    for (int i = 0; i < 20; ++i) {
        rig.clock.Advance(std::chrono::milliseconds(100));
        doc.OnSupervisionTick();
    }
    EXPECT_EQ(PortKeptBoxes(rig), 1u);
}

}  // namespace
}  // namespace corvane
