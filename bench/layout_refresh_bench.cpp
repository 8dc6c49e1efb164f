// The refresh of a graphical layout's trunk-set counts on a summary change, over a database of
// 256 intercoms with trunks between every intercom and its 36 nearest numbers: one read of the
// summary against a seek per trunk set.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "BenchDatabase.h"
#include "fakes/LookupsOnlySource.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingUiBridge.h"
#include "fakes/TempDir.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "graphics/LayoutRecordsets.h"
#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"
#include "store/VorlinDatabase.h"

using namespace corvane;

namespace {

constexpr int kIntercoms = 256;
constexpr int kReach = 36;

struct SummaryFile : BenchDatabase {
    SummaryFile() {
        store.Database().Execute(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 256) "
            "INSERT INTO TrunkSummary (FromIntercomIndex, ToIntercomIndex, NumTrunks, "
            "NumAllocated, NumInUse, NumMaint, NumOOS) SELECT a.i, b.i, 1 + (a.i + b.i) % 3, "
            "(a.i * b.i) % 2, 0, 0, 0 FROM n AS a, n AS b WHERE a.i <> b.i AND abs(a.i - b.i) "
            "<= 36");
        for (int n = 1; n <= kIntercoms; ++n) {
            layout.AddIntercom(n, {10 * n, 10 * n}, "?");
        }
        for (int a = 1; a <= kIntercoms; ++a) {
            for (int b = a + 1; b <= std::min(kIntercoms, a + kReach); ++b) {
                layout.AddTrunkSet(*layout.FindIntercom(a), *layout.FindIntercom(b), {});
            }
        }
        recordsets.Open();
    }
    CGraphicLayout layout;
    CLayoutRecordsets recordsets{store.Database()};
};

SummaryFile* file = nullptr;

void Refresh(benchmark::State& state, LayoutModelSource& source) {
    for (auto _ : state) {
        const LayoutRefreshResult result = RefreshTrunkSetCounts(file->layout, source);
        benchmark::DoNotOptimize(result.changed);
    }
    state.counters["trunk_sets"] = static_cast<double>(file->layout.TrunkSets().GetCount());
}

void BM_RefreshByOneRead(benchmark::State& state) {
    Refresh(state, file->recordsets);
}
BENCHMARK(BM_RefreshByOneRead)->Unit(benchmark::kMillisecond);

void BM_RefreshBySeeks(benchmark::State& state) {
    testing::LookupsOnlySource seeks(file->recordsets);
    Refresh(state, seeks);
}
BENCHMARK(BM_RefreshBySeeks)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    SummaryFile shown;
    file = &shown;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    file = nullptr;
    return 0;
}
