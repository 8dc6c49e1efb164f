// 10000 Trunks rows changed in one transaction through the recordset layer (Seek, Edit,
// Update), against a raw prepared UPDATE of the same rows in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <string>

#include "BenchDatabase.h"
#include "RatioReporter.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingUiBridge.h"
#include "fakes/TempDir.h"
#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"
#include "store/VorlinDatabase.h"

using namespace corvane;

namespace {

constexpr int kTrunks = 10000;

// A database of 10000 tested trunks.
struct TrunksFile : BenchDatabase {
    TrunksFile() {
        store.Database().Execute(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
            "INSERT INTO Trunks (TrunkIndex, State, TestTime, TestResult, TestData, "
            "End1IntercomIndex, End1Number, End2IntercomIndex, End2Number, UseFixed, CanCascade) "
            "SELECT i, 'Idle', '2024-05-06 07:08:09', 'Pass', 'Loss 0.5 dB at 1004 Hz', "
            "i % 256, i % 1000, (i + 1) % 256, (i + 7) % 1000, 0, -1 FROM n");
        store.Trunks().MoveFirst();
    }
};

const char* StateOfRound(int round) {
    return round % 2 ? "Idle" : "Maint";
}

void BM_LayerTrunksEdit(benchmark::State& state) {
    TrunksFile file;
    CTrunksRS& rs = file.store.Trunks();
    int round = 0;
    for (auto _ : state) {
        const std::string s = StateOfRound(round++);
        CDaoTransaction transaction(file.store.Database());
        for (int i = 1; i <= kTrunks; ++i) {
            rs.Seek(i);
            rs.Edit();
            rs.m_State = s;
            rs.Update();
        }
        transaction.Commit();
    }
}
BENCHMARK(BM_LayerTrunksEdit)->Unit(benchmark::kMillisecond);

void BM_LayerTrunkStatesEdit(benchmark::State& state) {
    TrunksFile file;
    CTrunks2RS& rs = file.store.TrunkStates();
    int round = 0;
    for (auto _ : state) {
        const std::string s = StateOfRound(round++);
        CDaoTransaction transaction(file.store.Database());
        for (int i = 1; i <= kTrunks; ++i) {
            rs.Seek(i);
            rs.Edit();
            rs.m_State = s;
            rs.Update();
        }
        transaction.Commit();
    }
}
BENCHMARK(BM_LayerTrunkStatesEdit)->Unit(benchmark::kMillisecond);

void BM_RawPreparedUpdate(benchmark::State& state) {
    TrunksFile file;
    const std::string path = file.store.GetDatabasePath();
    file.store.CloseDatabase();
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr,
                 nullptr);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE Trunks SET State = ? WHERE TrunkIndex = ?", -1, &update,
                       nullptr);
    int round = 0;
    for (auto _ : state) {
        const char* s = StateOfRound(round++);
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int i = 1; i <= kTrunks; ++i) {
            sqlite3_bind_text(update, 1, s, -1, SQLITE_STATIC);
            sqlite3_bind_int(update, 2, i);
            if (sqlite3_step(update) != SQLITE_DONE) {
                state.SkipWithError(sqlite3_errmsg(db));
            }
            sqlite3_reset(update);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(update);
    sqlite3_close_v2(db);
}
BENCHMARK(BM_RawPreparedUpdate)->Unit(benchmark::kMillisecond);

// The SQL the layer runs for each row, written by hand: the keyed SELECT of the whole row,
// then the UPDATE by rowid. The layer's own cost is its time over this.
void BM_RawSelectThenUpdate(benchmark::State& state) {
    TrunksFile file;
    const std::string path = file.store.GetDatabasePath();
    file.store.CloseDatabase();
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr,
                 nullptr);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT rowid, TrunkIndex, State, OOS, TestTime, TestResult, TestData, "
                       "CascadedTrunkIndex, UseFixed, CanCascade, End1IntercomIndex, End1Number, "
                       "End2IntercomIndex, End2Number, Fixed1IntercomIndex, Fixed1Function, "
                       "Fixed1Number, Fixed2IntercomIndex, Fixed2Function, Fixed2Number, Alarms, "
                       "AutoTest, Notify FROM Trunks WHERE TrunkIndex = ?",
                       -1, &select, nullptr);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE Trunks SET State = ? WHERE rowid = ?", -1, &update, nullptr);
    int round = 0;
    int64_t sink = 0;
    for (auto _ : state) {
        const char* s = StateOfRound(round++);
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int i = 1; i <= kTrunks; ++i) {
            sqlite3_bind_int(select, 1, i);
            if (sqlite3_step(select) != SQLITE_ROW) {
                state.SkipWithError("no row");
            }
            const int64_t rowid = sqlite3_column_int64(select, 0);
            for (int c = 1; c < sqlite3_column_count(select); ++c) {
                sink += sqlite3_column_type(select, c) == SQLITE_TEXT
                            ? sqlite3_column_bytes(select, c)
                            : sqlite3_column_int64(select, c);
            }
            sqlite3_reset(select);
            sqlite3_bind_text(update, 1, s, -1, SQLITE_STATIC);
            sqlite3_bind_int64(update, 2, rowid);
            sqlite3_step(update);
            sqlite3_reset(update);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    benchmark::DoNotOptimize(sink);
    sqlite3_finalize(select);
    sqlite3_finalize(update);
    sqlite3_close_v2(db);
}
BENCHMARK(BM_RawSelectThenUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* a, const char* b) {
        if (reporter.times.count(a) && reporter.times.count(b) && reporter.times[b] > 0) {
            std::printf("%s / %s = %.2f\n", a, b, reporter.times[a] / reporter.times[b]);
        }
    };
    ratio("BM_LayerTrunkStatesEdit", "BM_RawPreparedUpdate");
    ratio("BM_LayerTrunksEdit", "BM_RawPreparedUpdate");
    ratio("BM_LayerTrunksEdit", "BM_RawSelectThenUpdate");
    benchmark::Shutdown();
    return 0;
}
