// The preference pages' way into the document, its controller and its instrument.
#include "document/DocumentPreferences.h"

#include <gtest/gtest.h>

#include <climits>

#include "fakes/SupervisionRig.h"
#include "testing/TrunkTester.h"

namespace corvane {
namespace {

using testing::SupervisionRig;

TEST(DocumentPreferences, NamesControllerAndInstrument) {
    SupervisionRig rig;
    CVorlinDoc& doc = rig.Start();
    ASSERT_TRUE(rig.started);
    IPreferenceTarget& target = *doc.PreferenceTarget();
    const std::string name = rig.model.Network().matrices[1].name;
    ASSERT_TRUE(rig.TickUntil([&] {
        for (const PrefListEntry& e : target.IntercomEntries()) {
            if (e.data == 2 && e.text == name) {
                return true;
            }
        }
        return false;
    }));
    EXPECT_EQ(target.IntercomEntries().front().data, INT_MAX);
    EXPECT_TRUE(target.HasExtendedIntercomCapability());

    // The configuration page replaces the instrument: stop, delete, create.
    CTrunkTester* before = doc.Tester();
    ASSERT_NE(before, nullptr);
    target.StopTester();
    EXPECT_TRUE(target.IsTesterStopped());
    target.DeleteTester();
    EXPECT_FALSE(target.HasTester());
    rig.settings.Modify([](AppSettings& s) { s.AudioAnalyzer = "None"; });
    EXPECT_TRUE(target.CreateTester());
    EXPECT_TRUE(target.HasTester());
    target.RaiseTesterResend(TesterSetting::TonexaTxLevel);  // not a test set: nothing

    doc.SetLoopbackDue(false);
    target.SetLoopbackDue();
    EXPECT_TRUE(doc.IsLoopbackDue());

    target.RequestDisconnect();
    EXPECT_TRUE(rig.TickUntil([&] { return target.IsDisconnected(); }));
}

TEST(DocumentPreferences, TheInstrumentCombosListTheDatabasesIntercomsAndPorts) {
    testing::FakeNetwork network = testing::BuildFakeNetwork(6, 40);
    network.matrices[2].name = "";  // intercom 3
    SupervisionRig rig(network);
    CVorlinDoc& doc = rig.Start();
    ASSERT_TRUE(rig.started);
    IPreferenceTarget& target = *doc.PreferenceTarget();
    const auto has = [](const std::vector<PrefListEntry>& entries, int data) {
        for (const PrefListEntry& e : entries) {
            if (e.data == data) {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(rig.TickUntil(
        [&] { return has(target.IntercomEntries(), 6) && target.PortEntries(1).size() > 1; }));
    // A port as "alpha - [display name]".
    const PrefListEntry port = target.PortEntries(1)[1];
    EXPECT_EQ(port.text, network.matrices[0].alphas[0][static_cast<size_t>(port.data - 1)] +
                             " - [" + CVorlinDoc::GetAlphaDisplayName(0, port.data) + "]");
    // A nameless intercom only with ShowNamelessIntercoms, and then without a name.
    EXPECT_FALSE(has(target.IntercomEntries(), 3));
    rig.settings.Modify([](AppSettings& s) { s.ShowNamelessIntercoms = true; });
    bool listed = false;
    for (const PrefListEntry& e : target.IntercomEntries()) {
        if (e.data == 3) {
            listed = true;
            EXPECT_EQ(e.text, "");
        }
    }
    EXPECT_TRUE(listed);
}

}  // namespace
}  // namespace corvane
