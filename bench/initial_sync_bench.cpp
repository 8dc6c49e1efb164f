// The initial sync of a full network (256 matrices, 10000 trunks) from the fake controller
// over loopback UDP into the document, with the loopback round trip of one request measured
// in the same run for comparison.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "document/VorlinDoc.h"
#include "fakes/FakeController.h"
#include "fakes/FakeControllerModel.h"
#include "fakes/FakeNetworkBuilder.h"
#include "link/ControllerMessages.h"
#include "link/NetworkConnection.h"
#include "link/Quillex.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

using testing::FakeController;
using testing::FakeControllerModel;
using testing::FakeControllerOptions;
using testing::FakeRequest;

FakeControllerOptions LoopbackOptions() {
    FakeControllerOptions o;
    o.recordRequests = false;
    return o;
}

// The compatibility query is the last request of the poll pass that reads everything.
class SyncSignal {
public:
    void Set() {
        std::lock_guard lock(mutex_);
        done_ = true;
        cv_.notify_all();
    }
    bool Wait(std::chrono::seconds limit) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, limit, [&] { return done_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
};

void BM_InitialSync(benchmark::State& state) {
    const int matrices = static_cast<int>(state.range(0));
    const int trunks = static_cast<int>(state.range(1));
    const testing::FakeNetwork network = testing::BuildFakeNetwork(matrices, trunks);
    testing::FakeTraffic traffic;
    for (auto _ : state) {
        FakeController fake(LoopbackOptions());
        FakeControllerModel model(network);
        model.Install(fake);
        SyncSignal synced;
        fake.SetHandler(73, [&](const FakeRequest& r) {
            synced.Set();
            return model.Answer(r);
        });
        fake.StartUdp();
        SharedSettings settings;
        CVorlinDoc doc(settings, RealClock());
        QuillexOptions options;
        options.network.port = fake.UdpPort();
        CQuillex quillex(doc, settings, options);
        doc.SetTrunkChecker(&quillex);

        const auto start = std::chrono::steady_clock::now();
        quillex.SetNetworkAddresses("127.0.0.1", "127.0.0.2");
        quillex.StartPolling();
        if (!synced.Wait(std::chrono::seconds(600))) {
            state.SkipWithError("the sync did not end");
            break;
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        quillex.Stop();
        doc.SetTrunkChecker(nullptr);
        traffic = fake.Traffic();
        fake.Stop();
    }
    state.counters["requests"] = static_cast<double>(traffic.requests);
    state.counters["bytes_sent"] = static_cast<double>(traffic.bytesIn);
    state.counters["bytes_received"] = static_cast<double>(traffic.bytesOut);
    state.counters["requests_per_s"] = benchmark::Counter(
        static_cast<double>(traffic.requests) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InitialSync)
    ->Args({256, 10000})
    ->Args({32, 1000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One Hello transaction over the network link against the same fake: the loopback round
// trip that every request of the sync pays.
class NullOwner final : public IConnectionOwner {
public:
    void CheckAbort() override {}
    void OnContactLost() override {}
    void OnContactRegained() override {}
    void SetPartnerAddresses(const std::string&, const std::string&) override {}
};

void BM_LoopbackRoundTrip(benchmark::State& state) {
    FakeController fake(LoopbackOptions());
    FakeControllerModel model(testing::BuildFakeNetwork(1, 0));
    model.Install(fake);
    fake.StartUdp();
    NullOwner owner;
    CDiagLogSource log;
    NetworkLinkSettings link;
    link.port = fake.UdpPort();
    CNetworkConnection connection(owner, log, link);
    connection.Open("127.0.0.1", "");
    connection.OpenSession();
    const QuillexRequest hello = HelloRequest();
    for (auto _ : state) {
        hello.BuildOn(connection);
        connection.Transact([] { return true; });
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoopbackRoundTrip)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace
}  // namespace corvane

BENCHMARK_MAIN();
