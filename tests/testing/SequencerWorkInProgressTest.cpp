// What the sequencer says it leaves at the controller when the program stops under it.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "testing/SequencerFixture.h"

namespace corvane::testing {
namespace {

struct WorkCase {
    const char* name;
    enum { kTrunkTest, kCascadeTest, kMaintenance } work;
    int trunk;
    int state;  // the step it is held in
    const char* text;
};

std::ostream& operator<<(std::ostream& out, const WorkCase& c) {
    return out << c.name;
}

class SequencerWorkTest : public SequencerTest, public ::testing::WithParamInterface<WorkCase> {};

TEST_P(SequencerWorkTest, WorkInProgressNamesTheTrunkTheStepAndWhatIsSetUp) {
    const WorkCase& c = GetParam();
    EXPECT_EQ(sequencer.WorkInProgress(), "");
    if (c.work == WorkCase::kMaintenance) {
        // The controller never answers.
        controller.script = [](const FakeMaintenanceRequest&) {
            return FakeMaintenanceController::Outcome{requeststatus::kSucceeded, -1};
        };
        ASSERT_TRUE(doc->RequestSetMaintenance(c.trunk, false));
    } else {
        // The instrument measures the loop-back and then no more.
        tester.answers = {FakeTrunkTester::Measured(100, 90),
                          FakeTrunkTester::Result(TestResultState::Measured, -1)};
        QueueTest(c.trunk);
    }
    for (int i = 0; i < 200 && sequencer.State() != c.state; ++i) {
        TickOnce();
    }
    ASSERT_EQ(sequencer.State(), c.state);
    EXPECT_EQ(sequencer.WorkInProgress(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SequencerWorkTest,
    ::testing::Values(
        WorkCase{"trunk", WorkCase::kTrunkTest, 1, trunkteststate::kMeasureTrunk,
                 "trunk 1 under test (step 16), set up for it: trunk in maintenance mode, "
                 "crosspoint to the Tonexa port, far end looped back"},
        WorkCase{"cascade", WorkCase::kCascadeTest, 2, trunkteststate::kMeasureCascade,
                 "trunk 2 under test (step 27), set up for it: trunk in maintenance mode, "
                 "crosspoint to the Tonexa port, cascade trunk 1 in maintenance mode"},
        WorkCase{"maintenance", WorkCase::kMaintenance, 3, trunkteststate::kWaitSetMaintenance,
                 "trunk 3 being put into maintenance mode"}),
    [](const ::testing::TestParamInfo<WorkCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane::testing
