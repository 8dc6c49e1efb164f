// The live model's memory, measured by counting what its construction allocates, and the cost
// of the setters the poll thread calls most.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "document/VorlinDoc.h"
#include "fakes/ManualClock.h"
#include "platform/StringTable.h"
#include "settings/AppSettings.h"

namespace {

std::atomic<size_t> g_allocated{0};

}  // namespace

void* operator new(size_t size) {
    g_allocated.fetch_add(size, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
// The replaced new allocates with malloc, so free is the matching release; the compiler, seeing
// a new expression, would say otherwise.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace corvane {
namespace {

struct Model {
    SharedSettings settings;
    testing::ManualClock clock;
    std::unique_ptr<CVorlinDoc> doc = std::make_unique<CVorlinDoc>(settings, clock);
};

// Bytes allocated while a document is built: the whole model, since it never grows but for
// its queues.
size_t MeasureModelBytes() {
    LoadString(ids::kAppCaption);  // the string table is built once, for the whole program
    SharedSettings settings;
    testing::ManualClock clock;
    const size_t before = g_allocated.load();
    auto doc = std::make_unique<CVorlinDoc>(settings, clock);
    return g_allocated.load() - before;
}

void BM_ConstructModel(benchmark::State& state) {
    SharedSettings settings;
    testing::ManualClock clock;
    for (auto _ : state) {
        auto doc = std::make_unique<CVorlinDoc>(settings, clock);
        benchmark::DoNotOptimize(doc.get());
    }
    state.counters["model_bytes"] = static_cast<double>(MeasureModelBytes());
}
BENCHMARK(BM_ConstructModel)->Unit(benchmark::kMillisecond);

// A state change of a defined trunk moves four summary counts under two locks.
void BM_SetTrunkState(benchmark::State& state) {
    Model m;
    for (int t = 1; t <= 1000; ++t) {
        TrunkDefinition d;
        d.trunk = t;
        d.end1Intercom = t % 256 + 1;
        d.end1Number = 1;
        d.end2Intercom = (t * 7) % 256 + 1;
        d.end2Number = 2;
        m.doc->SetTrunkDefinition(d, true);
    }
    int n = 0;
    for (auto _ : state) {
        m.doc->SetTrunkState(n % 1000 + 1, n % 4, true);
        ++n;
    }
}
BENCHMARK(BM_SetTrunkState);

// The steady state of an inspect reply: one usage refreshed, then the purge.
void BM_RefreshTrunkUsage(benchmark::State& state) {
    Model m;
    EndpointAddress source;
    source.intercom = 1;
    source.number = 5;
    EndpointAddress destination;
    destination.intercom = 2;
    destination.number = 6;
    int n = 0;
    for (auto _ : state) {
        source.talk = static_cast<uint8_t>(n++ & 1);
        m.doc->SetTrunkUsage(42, kNone, source, destination, true);
        m.doc->PurgeStaleTrunkUsage(42, true);
    }
}
BENCHMARK(BM_RefreshTrunkUsage);

void BM_AddAlarm(benchmark::State& state) {
    Model m;
    for (auto _ : state) {
        m.doc->AddAlarm(devicetype::kRequest, 17, alarmcat::kBusy, 0, "a : T/- : b", "", 0);
        auto lock = m.doc->LockAlarms();
        if (m.doc->AlarmQueue().size() > 10000) {
            m.doc->AlarmQueue().clear();
        }
    }
}
BENCHMARK(BM_AddAlarm);

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
    using corvane::CVorlinDoc;
    const size_t bytes = corvane::MeasureModelBytes();
    std::printf(
        "Live model: %zu bytes (%.1f MiB) allocated once at construction; "
        "%d intercoms x %zu bytes + %d trunks x %zu bytes = %zu bytes of arrays\n",
        bytes, static_cast<double>(bytes) / (1024.0 * 1024.0), corvane::kIntercomCount,
        sizeof(CVorlinDoc::CIntercomData), corvane::kTrunkCount, sizeof(CVorlinDoc::CTrunkData),
        CVorlinDoc::ModelArrayBytes());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
