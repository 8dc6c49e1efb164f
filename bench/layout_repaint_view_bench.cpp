// A full repaint, offscreen, of a graphical view showing a layout of 256 intercoms with the
// trunk sets of a network of 256 matrices: every pair with trunks between them, counted by
// state as the trunk summary counts them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "document/VorlinDoc.h"
#include "fakes/FakeNetworkBuilder.h"
#include "fakes/ManualClock.h"
#include "fakes/TempDir.h"
#include "graphics/GraphicLayouts.h"
#include "graphics/IcomObj.h"
#include "graphics/TrunkSetObj.h"
#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"
#include "settings/ColorSettings.h"
#include "ui/AppResources.h"
#include "ui/views/ViewContext.h"
#include "ui/views/VorlinScrollView.h"

using namespace corvane;

namespace {

constexpr int kIntercoms = 256;
constexpr int kGrid = 16;
constexpr int kSpacing = 100;

// The trunk sets of the network: counts by pair of intercoms (1-based, smaller first).
std::map<std::pair<int, int>, TrunkSetCounts> PairsOf(const testing::FakeNetwork& network) {
    std::map<std::pair<int, int>, TrunkSetCounts> pairs;
    for (const testing::FakeTrunk& t : network.trunks) {
        if (!t.defined || t.end1Intercom == t.end2Intercom) {
            continue;
        }
        const int a = std::min(t.end1Intercom, t.end2Intercom) + 1;
        const int b = std::max(t.end1Intercom, t.end2Intercom) + 1;
        TrunkSetCounts& c = pairs[{a, b}];
        ++c.total;
        c.allocated += t.status == 2 ? 1 : 0;
        c.inUse += t.status == 3 ? 1 : 0;
        c.maint += t.status == 4 ? 1 : 0;
        c.oos += t.outOfService ? 1 : 0;
    }
    return pairs;
}

struct Picture {
    Picture() {
        profile.Load("");
        std::string error;
        if (layouts.LoadGraphicalLayout(0, error) == CGraphicLayouts::Opened::Failed) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        CGraphicLayout& layout = *layouts.GetGraphicLayout(0);
        const testing::FakeNetwork network = testing::BuildFakeNetwork(kIntercoms, 10000);
        for (int n = 1; n <= kIntercoms; ++n) {
            const int i = n - 1;
            CIcomObj& box = layout.AddIntercom(
                n, {kSpacing / 2 + kSpacing * (i % kGrid), kSpacing / 2 + kSpacing * (i / kGrid)},
                network.matrices[static_cast<size_t>(i)].name);
            box.SetOnline(network.matrices[static_cast<size_t>(i)].commStatus == 0x81);
        }
        for (const auto& [pair, counts] : PairsOf(network)) {
            layout.AddTrunkSet(*layout.FindIntercom(pair.first), *layout.FindIntercom(pair.second),
                               counts);
        }
        trunkSets = layout.TrunkSets().GetCount();
        view.SetLayoutIndex(0);
        view.resize(kGrid * kSpacing + 10, kGrid * kSpacing + 10);
        view.show();
        view.OnInitialUpdate();
        screen = QImage(view.viewport()->size(), QImage::Format_RGB32);
        view.viewport()->render(&screen);  // the captions are fitted to their texts once
    }
    static DocumentParts Parts(CProfileStore& profile) {
        DocumentParts parts;
        parts.profile = &profile;
        return parts;
    }

    testing::TempDir dir;
    CProfileStore profile;
    SharedSettings settings;
    testing::ManualClock clock;
    CVorlinDoc doc{settings, clock, Parts(profile)};
    ColorSettings colors;
    CAppResources resources;
    CGraphicLayouts layouts{dir.Path().string()};
    ViewContext context{doc,
                        settings,
                        colors,
                        profile,
                        resources,
                        layouts,
                        [](ViewKind, int, int) { return false; }};
    CVorlinScrollView view{context, nullptr};
    QImage screen;
    size_t trunkSets = 0;
};

Picture* picture = nullptr;

void BM_RepaintLayout(benchmark::State& state) {
    for (auto _ : state) {
        // The view's own paint: the picture drawn off-screen, then copied to the target.
        picture->view.viewport()->render(&picture->screen);
    }
    state.counters["intercoms"] = kIntercoms;
    state.counters["trunk_sets"] = static_cast<double>(picture->trunkSets);
    state.counters["pixels"] =
        picture->view.viewport()->width() * picture->view.viewport()->height();
}
BENCHMARK(BM_RepaintLayout)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Picture shown;
    picture = &shown;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    picture = nullptr;
    return 0;
}
