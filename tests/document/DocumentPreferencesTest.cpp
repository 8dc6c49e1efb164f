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

}  // namespace
}  // namespace corvane
