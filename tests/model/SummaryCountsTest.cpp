#include <gtest/gtest.h>

#include <random>

#include "fakes/TrunkBetween.h"
#include "model/ModelTestSupport.h"

namespace corvane {
namespace {

using testing::DocTest;

class SummaryCountsTest : public DocTest {};

TEST_F(SummaryCountsTest, LongRandomSequenceAgreesWithTheTrunks) {
    constexpr unsigned kSeed = 20240611;
    SCOPED_TRACE(kSeed);
    std::mt19937 random(kSeed);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    // Few intercoms and trunks, so that counts are shared and moved often.
    auto trunk = [&] { return pick(1, 400); };
    auto intercom = [&] { return pick(1, 12) == 12 ? 256 : pick(1, 11); };

    for (int step = 1; step <= 40000; ++step) {
        switch (pick(0, 9)) {
            case 0:
            case 1: {
                TrunkDefinition d = testing::TrunkBetween(trunk(), intercom(), pick(1, 1024),
                                                          intercom(), pick(1, 1024));
                if (pick(0, 15) == 0) {
                    d.end2Intercom = pick(0, 1) ? kNone : -pick(1, 5);  // no definition
                }
                doc->SetTrunkDefinition(d, true);
                break;
            }
            case 2:
                doc->UndefineTrunk(trunk() - 1);
                break;
            case 3:
            case 4:
            case 5:
                doc->SetTrunkState(trunk(), pick(0, 3), true);
                break;
            case 6:
            case 7:
                doc->SetTrunkOutOfService(trunk(), pick(0, 1), true);
                break;
            case 8:
                doc->MarkTrunkAbsent(trunk());
                break;
            default:
                // Refused values never move a count.
                doc->SetTrunkState(trunk(), pick(0, 1) ? 4 : -1, true);
                doc->SetTrunkOutOfService(trunk(), pick(0, 1) ? 2 : -1, true);
                break;
        }
        if (step % 5000 == 0) {
            ASSERT_NO_FATAL_FAILURE(ExpectCountsAgree()) << "after step " << step;
            if (HasFailure()) {
                return;
            }
        }
    }
}

}  // namespace
}  // namespace corvane
