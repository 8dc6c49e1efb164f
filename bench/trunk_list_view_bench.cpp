// The trunk list over a full network (256 matrices, 10000 trunks from the fake controller on
// loopback, 9800 of them defined), offscreen: opening it, a tick in which every trunk changed
// while it is open, and a header-click sort; each against raw SQLite in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <cstdio>
#include <memory>
#include <set>

#include "RatioReporter.h"
#include "fakes/SupervisionRig.h"
#include "graphics/GraphicLayouts.h"
#include "presentation/FilterData.h"
#include "presentation/ViewId.h"
#include "settings/ColorSettings.h"
#include "store/DaoSqlText.h"
#include "store/ListQueries.h"
#include "store/VorlinDatabase.h"
#include "ui/AppResources.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/TrunkListView.h"

using namespace corvane;

namespace {

// Counts the rows the list paints.
class CountingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        rows.insert(index.row());
        QStyledItemDelegate::paint(painter, option, index);
    }
    mutable std::set<int> rows;
};

// The live document synced with a full fake network, and a window of child frames over it.
struct Console {
    Console() : rig(testing::BuildFakeNetwork(256, 10000)) {
        resources.Load(QApplication::palette());
        doc = &rig.Start();
        const size_t trunks = 9800;
        rig.TickUntil([&] { return Count("Trunks") >= trunks && Count("Intercoms") >= 255; },
                      std::chrono::seconds(300));
        window.setCentralWidget(&area);
        window.resize(1100, 700);
        context = std::make_unique<ViewContext>(
            ViewContext{*doc, rig.settings, colors, rig.profile, resources, layouts,
                        [](ViewKind, int, int) { return false; }});
        // The last frame stays open.
        Open(ViewKind::Intercoms);
        window.show();
        QCoreApplication::processEvents();
    }
    size_t Count(const std::string& table) {
        CDaoRecordset rs(doc->Database()->Database());
        rs.Open(DaoOpenType::Dynaset, "SELECT COUNT(*) FROM " + table);
        return static_cast<size_t>(rs.GetFieldValue(0).AsInteger());
    }
    // A new frame on a kind, as the navigation tree opens one in a new window.
    CChildFrame* Open(ViewKind kind) {
        const std::unique_ptr<CVorlinFilterData> filter =
            NewViewFilter(kind, kViewIdAll, kViewIdAll);
        auto* frame = new CChildFrame(*context, kind, filter.get());
        area.addSubWindow(frame);
        frame->showMaximized();
        return frame;
    }
    // Every trunk in another state, as a burst of controller reports would leave them.
    void ChangeEveryTrunk() {
        ++round;
        for (int t = 1; t <= 10000; ++t) {
            doc->SetTrunkState(t, (t + round) % 3, true);
        }
    }
    void Tick() {
        rig.clock.Advance(std::chrono::milliseconds(100));
        doc->OnSupervisionTick();
    }

    testing::SupervisionRig rig;
    CVorlinDoc* doc = nullptr;
    CAppResources resources;
    ColorSettings colors;
    CGraphicLayouts layouts{"../views"};
    QMainWindow window;
    QMdiArea area;
    std::unique_ptr<ViewContext> context;
    int round = 0;
};

Console* console = nullptr;
// The rows a maximised trunk list shows in the window of the console.
constexpr int kRowsOnScreen = 25;

// The list's rows on screen drawn now, as its next paint event would draw them.
void Paint(CTrunkListView& list) {
    QPixmap pixmap(list.viewport()->size());
    list.viewport()->render(&pixmap);
}

CTrunkListView* TrunkList(CChildFrame* frame) {
    return dynamic_cast<CTrunkListView*>(frame->ListView());
}

// Query, sort and the first paint of the rows on screen, as the navigation tree opens the
// trunk list: the frame's panes switch from another kind to the trunks.
void OpenTrunkList(benchmark::State& state) {
    CChildFrame* frame = console->Open(ViewKind::Intercoms);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        frame->SetViewKind(ViewKind::Trunks, nullptr);
        QCoreApplication::processEvents();  // laid out and painted
        state.PauseTiming();
        CTrunkListView* list = TrunkList(frame);
        if (list == nullptr || list->Model().rowCount() != 9800) {
            state.SkipWithError("the trunk list does not show every trunk");
        }
        frame->SetViewKind(ViewKind::Intercoms, nullptr);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    delete frame;
    QCoreApplication::processEvents();
}

// The SQL of the trunk list in an order, run to its last row.
void RawTrunkListQuery(benchmark::State& state, const std::string& sort) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(console->doc->Database()->GetDatabasePath().c_str(), &db,
                    SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::string sql = ApplyFilterAndSort(TrunkListQuery().sql, "", sort);
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        int64_t keys = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            keys += sqlite3_column_int64(stmt, 0);
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(keys);
    }
    sqlite3_close_v2(db);
}

void BM_OpenTrunkList(benchmark::State& state) {
    OpenTrunkList(state);
}
BENCHMARK(BM_OpenTrunkList)->Unit(benchmark::kMillisecond);

void BM_RawTrunkListQuery(benchmark::State& state) {
    RawTrunkListQuery(state, "Trunks.TrunkIndex");
}
BENCHMARK(BM_RawTrunkListQuery)->Unit(benchmark::kMillisecond);

// The same in a new child frame of its own, which builds its navigation tree too and reads
// no other kind's rows.
void BM_OpenTrunkListInANewFrame(benchmark::State& state) {
    for (auto _ : state) {
        CChildFrame* frame = console->Open(ViewKind::Trunks);
        QCoreApplication::processEvents();
        state.PauseTiming();
        delete frame;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenTrunkListInANewFrame)->Unit(benchmark::kMillisecond);

// A trunk list opened after the operator sorted one by its first port.
void BM_OpenTrunkListSortedByPort(benchmark::State& state) {
    CChildFrame* sorter = console->Open(ViewKind::Trunks);
    emit TrunkList(sorter)->horizontalHeader()->sectionClicked(5);
    delete sorter;
    OpenTrunkList(state);
    CChildFrame* unsorter = console->Open(ViewKind::Trunks);
    emit TrunkList(unsorter)->horizontalHeader()->sectionClicked(-1);  // no sort again
    delete unsorter;
}
BENCHMARK(BM_OpenTrunkListSortedByPort)->Unit(benchmark::kMillisecond);

void BM_RawTrunkListQueryByPort(benchmark::State& state) {
    RawTrunkListQuery(state, "22 ASC, Trunks.TrunkIndex");
}
BENCHMARK(BM_RawTrunkListQueryByPort)->Unit(benchmark::kMillisecond);

// A trunk list open and painted, with a delegate that counts the rows it paints.
struct OpenTrunkListFrame {
    OpenTrunkListFrame() : frame(console->Open(ViewKind::Trunks)), list(TrunkList(frame)) {
        delegate = new CountingDelegate(list);
        list->setItemDelegate(delegate);
        QObject::connect(&list->Model(), &QAbstractItemModel::modelReset, [this] { ++resets; });
        QCoreApplication::processEvents();
        Paint(*list);
    }
    ~OpenTrunkListFrame() {
        delete frame;
        QCoreApplication::processEvents();
    }
    CChildFrame* frame;
    CTrunkListView* list;
    CountingDelegate* delegate;
    int resets = 0;
};

// A tick in which every trunk changed: its write-back, and the list's reaction and repaint
// when one is open.
void Tick(benchmark::State& state, bool withList) {
    std::unique_ptr<OpenTrunkListFrame> open;
    if (withList) {
        open = std::make_unique<OpenTrunkListFrame>();
    }
    for (auto _ : state) {
        state.PauseTiming();
        console->ChangeEveryTrunk();
        state.ResumeTiming();
        console->Tick();
        if (open != nullptr) {
            Paint(*open->list);
        }
    }
}

void BM_TickWithTrunkList(benchmark::State& state) {
    Tick(state, true);
}
BENCHMARK(BM_TickWithTrunkList)->Unit(benchmark::kMillisecond);

void BM_TickWithoutTrunkList(benchmark::State& state) {
    Tick(state, false);
}
BENCHMARK(BM_TickWithoutTrunkList)->Unit(benchmark::kMillisecond);

// The list's part of such a tick, alone: its reaction to the tick's hint (the counts of the
// bars shown read again) and the repaint, which reads the rows on screen again. The
// write-back runs untimed, with the list away from the views.
void BM_TrunkListShareOfTheTick(benchmark::State& state) {
    OpenTrunkListFrame open;
    size_t painted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        console->ChangeEveryTrunk();
        console->doc->Views().Unsubscribe(open.list);
        console->rig.updates.clear();
        console->Tick();
        console->doc->Views().Subscribe(open.list);
        const ViewUpdateHint hint = console->rig.updates.empty() ? 0 : console->rig.updates.back();
        open.delegate->rows.clear();
        state.ResumeTiming();
        open.list->OnUpdate(nullptr, hint, {});
        Paint(*open.list);
        state.PauseTiming();
        painted += open.delegate->rows.size();
        state.ResumeTiming();
    }
    const double perTick = static_cast<double>(painted) / static_cast<double>(state.iterations());
    state.counters["rows_painted"] = perTick;
    if (open.resets != 0) {
        state.SkipWithError("the tick requeried the trunk list");
    } else if (perTick > kRowsOnScreen) {
        state.SkipWithError("the tick read rows that are not on screen");
    }
}
BENCHMARK(BM_TrunkListShareOfTheTick)->Unit(benchmark::kMillisecond);

// The same by hand: the rows on screen read by their keys with a prepared statement, and the
// two counts of the first bar.
void BM_RawVisibleRowsAndCounts(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(console->doc->Database()->GetDatabasePath().c_str(), &db,
                    SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::string byKey = ApplyFilterAndSort(TrunkListQuery().sql, "Trunks.TrunkIndex = ?", "");
    const char* counts[] = {
        "SELECT TrunkStates.StateIndex AS [StateIndex], Trunks.State AS [State], COUNT (*) AS "
        "[Count] FROM Trunks, TrunkStates WHERE TrunkStates.State = Trunks.State GROUP BY "
        "TrunkStates.StateIndex, Trunks.State ORDER BY TrunkStates.StateIndex ",
        "SELECT COUNT (*) AS [Count] FROM Trunks WHERE Trunks.OOS = -1 "};
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db, byKey.c_str(), -1, &row, nullptr);
    for (auto _ : state) {
        int64_t sum = 0;
        for (int trunk = 1; trunk <= kRowsOnScreen; ++trunk) {
            sqlite3_bind_int(row, 1, trunk);
            while (sqlite3_step(row) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(row); ++c) {
                    sum += sqlite3_column_bytes(row, c);
                }
            }
            sqlite3_reset(row);
        }
        for (const char* sql : counts) {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                sum += sqlite3_column_int(stmt, 0);
            }
            sqlite3_finalize(stmt);
        }
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_finalize(row);
    sqlite3_close_v2(db);
}
BENCHMARK(BM_RawVisibleRowsAndCounts)->Unit(benchmark::kMillisecond);

// One header click on "Port": the requery in the other direction and the repaint.
void BM_HeaderClickSort(benchmark::State& state) {
    OpenTrunkListFrame open;
    QHeaderView* header = open.list->horizontalHeader();
    for (auto _ : state) {
        emit header->sectionClicked(5);
        Paint(*open.list);
    }
    emit header->sectionClicked(-1);
}
BENCHMARK(BM_HeaderClickSort)->Unit(benchmark::kMillisecond);

void BM_RawOrderByPort(benchmark::State& state) {
    RawTrunkListQuery(state, "22 DESC, Trunks.TrunkIndex");
}
BENCHMARK(BM_RawOrderByPort)->Unit(benchmark::kMillisecond);

// Drawing the same rows again with nothing changed: what any repaint of the list costs.
void BM_TrunkListRedraw(benchmark::State& state) {
    OpenTrunkListFrame open;
    for (auto _ : state) {
        Paint(*open.list);
    }
}
BENCHMARK(BM_TrunkListRedraw)->Unit(benchmark::kMillisecond);

void Ratio(const std::map<std::string, double>& t, const char* what, const char* a, const char* b,
           double limit) {
    if (t.count(a) && t.count(b) && t.at(b) > 0) {
        std::printf("%s %.2f ms, raw %.2f ms, ratio %.2f", what, t.at(a), t.at(b),
                    t.at(a) / t.at(b));
        std::printf(limit > 0 ? " (limit %.1f)\n" : "\n", limit);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    Console shared;
    console = &shared;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times;
    Ratio(t, "open", "BM_OpenTrunkList", "BM_RawTrunkListQuery", 1.5);
    Ratio(t, "open in a new frame", "BM_OpenTrunkListInANewFrame", "BM_RawTrunkListQuery", 1.5);
    Ratio(t, "open sorted by port", "BM_OpenTrunkListSortedByPort", "BM_RawTrunkListQueryByPort",
          1.5);
    Ratio(t, "header-click sort", "BM_HeaderClickSort", "BM_RawOrderByPort", 2.0);
    if (t.count("BM_TickWithTrunkList") && t.count("BM_TickWithoutTrunkList")) {
        std::printf("tick with the list %.2f ms, without %.2f ms\n", t.at("BM_TickWithTrunkList"),
                    t.at("BM_TickWithoutTrunkList"));
    }
    Ratio(t, "the list's part of the tick", "BM_TrunkListShareOfTheTick",
          "BM_RawVisibleRowsAndCounts", 0);
    if (t.count("BM_TrunkListShareOfTheTick") && t.count("BM_TrunkListRedraw")) {
        std::printf("drawing the rows %.2f ms; the list adds %.2f ms to the tick (limit 5)\n",
                    t.at("BM_TrunkListRedraw"),
                    t.at("BM_TrunkListShareOfTheTick") - t.at("BM_TrunkListRedraw"));
    }
    console = nullptr;
    benchmark::Shutdown();
    return 0;
}
