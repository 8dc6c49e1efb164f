#include <gtest/gtest.h>

#include <cmath>

#include "GraphicalViewRig.h"
#include "graphics/GraphicLayout.h"
#include "graphics/LayoutEditing.h"

namespace corvane {
namespace {

using testing::BuildFakeNetwork;
using testing::GraphicalViewRig;
using testing::ViewsRig;

TEST(GraphicalViewScreenshot, ADozenIntercomsOfARealisticNetwork) {
    ViewsRig rig(BuildFakeNetwork(40, 400));
    GraphicalViewRig views(rig);
    CGraphicLayout& layout = views.Open(0);
    // Twelve intercoms round a circle, as an operator might place a region of the network.
    constexpr int kCount = 12;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < kCount; ++i) {
        const double angle = 2 * pi * i / kCount - pi / 2;
        ShowIntercom(layout, views.Model(), 1 + 3 * i, true,
                     {static_cast<int32_t>(450 + 390 * std::cos(angle)),
                      static_cast<int32_t>(325 + 285 * std::sin(angle))});
    }
    for (int i = 0; i < kCount; ++i) {
        ShowTrunkSetsToVisible(layout, views.Model(), 1 + 3 * i, {});
    }
    EXPECT_GT(layout.TrunkSets().GetCount(), 0u);
    CVorlinScrollView* view = views.OpenView(0);
    GraphicalViewRig::Click(view, {450, 40});
    rig.Screenshot("view-graphical.png");
}

}  // namespace
}  // namespace corvane
