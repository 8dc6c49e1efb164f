// One write-back tick of a full model: 10000 trunks with a changed state and a changed usage
// (their Requests rows) and 256 intercoms with a changed row, against a raw SQLite baseline
// doing the same row changes, prepared, in one transaction, in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "BenchDatabase.h"
#include "RatioReporter.h"
#include "document/VorlinDoc.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingUiBridge.h"
#include "fakes/TempDir.h"
#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"
#include "store/ModelWriteBack.h"
#include "store/VorlinDatabase.h"

using namespace corvane;

namespace {

constexpr int kTrunks = 10000;
constexpr int kIntercoms = 256;

int End1(int trunk) {
    return (trunk - 1) % kIntercoms + 1;
}
int End2(int trunk) {
    return trunk % kIntercoms + 1;
}

EndpointAddress Port(int intercom, int number, bool talk) {
    EndpointAddress a;
    a.intercom = static_cast<uint16_t>(intercom);
    a.number = static_cast<uint16_t>(number);
    a.talk = talk ? 1 : 0;
    a.listen = 1;
    return a;
}

// A written model of 256 intercoms and 10000 trunks, each trunk carrying one request.
struct ModelFile : BenchDatabase {
    ModelFile() {
        for (int i = 1; i <= kIntercoms; ++i) {
            doc.SetIntercomCommStatus(i, "OK", true);
        }
        for (int t = 1; t <= kTrunks; ++t) {
            TrunkDefinition d;
            d.trunk = t;
            d.end1Intercom = End1(t);
            d.end1Number = t % kMaxPortNumber + 1;
            d.end2Intercom = End2(t);
            d.end2Number = t % kMaxPortNumber + 1;
            doc.SetTrunkDefinition(d, true);
        }
        Change(0);
        Tick();
    }
    // Every trunk's state and usage flags and every intercom's row, by round.
    void Change(int round) {
        const bool odd = round % 2 != 0;
        for (int t = 1; t <= kTrunks; ++t) {
            doc.SetTrunkState(t, odd ? 2 : 1, true);
            doc.SetTrunkUsage(t, kNone, Port(End1(t), t % kMaxPortNumber + 1, odd),
                              Port(End2(t), t % kMaxPortNumber + 1, false), true);
        }
        for (int i = 1; i <= kIntercoms; ++i) {
            doc.SetIntercomBaudRate(i, odd ? 9600 : 19200, true);
        }
    }
    ViewUpdateHint Tick() {
        ViewUpdateHint hint = 0;
        if (doc.TakeDirty(ModelCollection::Intercoms)) {
            writeBack.UpdateIntercomsInDatabase(hint);
        }
        if (doc.TakeDirty(ModelCollection::Trunks)) {
            writeBack.UpdateTrunksInDatabase(hint);
        }
        if (doc.TakeDirty(ModelCollection::Alphas)) {
            writeBack.UpdateAlphasInDatabase(hint);
        }
        if (doc.TakeDirty(ModelCollection::Alarms)) {
            writeBack.UpdateAlarmsInDatabase(hint);
        }
        return hint;
    }
    CVorlinDoc doc{settings, clock};
    CModelWriteBack writeBack{doc, store, settings};
};

void BM_WriteBackTick(benchmark::State& state) {
    ModelFile file;
    int round = 1;
    for (auto _ : state) {
        state.PauseTiming();
        file.Change(round++);
        state.ResumeTiming();
        benchmark::DoNotOptimize(file.Tick());
    }
    if (!file.ui.DatabaseErrors().empty()) {
        state.SkipWithError(file.ui.DatabaseErrors().front().c_str());
    }
}
BENCHMARK(BM_WriteBackTick)->Unit(benchmark::kMillisecond);

// The slowest of 30 full-change ticks in a row, and the WAL's largest size meanwhile: the
// window waits for the slowest one.
void BM_SlowestOfThirtyTicks(benchmark::State& state) {
    ModelFile file;
    int round = 1;
    double slowest = 0;
    double walBytes = 0;
    for (auto _ : state) {
        for (int i = 0; i < 30; ++i) {
            state.PauseTiming();
            file.Change(round++);
            state.ResumeTiming();
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(file.Tick());
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            slowest = std::max(slowest, took.count());
            std::error_code error;
            const auto wal = std::filesystem::file_size(file.dir.Path() / "vorlin.mdb-wal", error);
            walBytes = std::max(walBytes, error ? 0.0 : static_cast<double>(wal));
        }
    }
    state.counters["slowest_ms"] = slowest;
    state.counters["largest_wal_MB"] = walBytes / 1e6;
}
BENCHMARK(BM_SlowestOfThirtyTicks)->Iterations(1)->Unit(benchmark::kMillisecond);

struct Stmt {
    Stmt(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr); }
    ~Stmt() { sqlite3_finalize(stmt); }
    // Binds the text (when given) first, then the numbers.
    void Run(std::initializer_list<int> numbers, const char* text = nullptr) {
        int i = 1;
        if (text) {
            sqlite3_bind_text(stmt, i++, text, -1, SQLITE_STATIC);
        }
        for (int v : numbers) {
            sqlite3_bind_int(stmt, i++, v);
        }
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_stmt* stmt = nullptr;
};

// The same rows changed by hand: trunk states, the requests' talk flag and state, the
// intercoms' baud rate and the summary counts the states move.
void BM_RawSqliteBaseline(benchmark::State& state) {
    ModelFile file;
    const std::string path = file.store.GetDatabasePath();
    std::vector<int> requestIds;
    for (int t = 1; t <= kTrunks; ++t) {
        requestIds.push_back(file.doc.Trunks()[t].Usage()[0].requestNumber);
    }
    file.store.CloseDatabase();
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr,
                 nullptr);
    std::vector<std::pair<int, int>> pairs;
    {
        Stmt list(db, "SELECT FromIntercomIndex, ToIntercomIndex FROM TrunkSummary");
        while (sqlite3_step(list.stmt) == SQLITE_ROW) {
            pairs.emplace_back(sqlite3_column_int(list.stmt, 0), sqlite3_column_int(list.stmt, 1));
        }
    }
    Stmt trunk(db, "UPDATE Trunks SET State = ? WHERE TrunkIndex = ?");
    Stmt request(db,
                 "UPDATE Requests SET State = ?, End1Talk = ?, End1Listen = ?, End1Inactive = ?, "
                 "End2Talk = ?, End2Listen = ?, End2Inactive = ? WHERE RequestID = ?");
    Stmt icom(db, "UPDATE Intercoms SET BaudRate = ? WHERE IntercomIndex = ?");
    Stmt summary(db,
                 "UPDATE TrunkSummary SET NumAllocated = NumInUse, NumInUse = NumAllocated "
                 "WHERE FromIntercomIndex = ? AND ToIntercomIndex = ?");
    int round = 1;
    for (auto _ : state) {
        const bool odd = round++ % 2 != 0;
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int t = 1; t <= kTrunks; ++t) {
            trunk.Run({t}, odd ? "In Use" : "Alloc");
            request.Run({odd ? -1 : 0, -1, 0, 0, -1, 0, requestIds[t - 1]},
                        odd ? "Active" : "Alloc");
        }
        for (int i = 1; i <= kIntercoms; ++i) {
            icom.Run({odd ? 9600 : 19200, i});
        }
        for (auto [from, to] : pairs) {
            summary.Run({from, to});
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close_v2(db);
}
BENCHMARK(BM_RawSqliteBaseline)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times;
    if (t.count("BM_WriteBackTick") && t.count("BM_RawSqliteBaseline") &&
        t.at("BM_RawSqliteBaseline") > 0) {
        std::printf("write-back tick %.1f ms, raw %.1f ms, ratio %.2f\n", t.at("BM_WriteBackTick"),
                    t.at("BM_RawSqliteBaseline"),
                    t.at("BM_WriteBackTick") / t.at("BM_RawSqliteBaseline"));
    }
    benchmark::Shutdown();
    return 0;
}
