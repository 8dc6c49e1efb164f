#include <gtest/gtest.h>

#include "GraphicalViewRig.h"
#include "document/PreferenceTarget.h"
#include "graphics/CaptionObj.h"
#include "graphics/IcomObj.h"
#include "graphics/IntercomPairKey.h"
#include "graphics/LayoutEditing.h"
#include "graphics/TrunkSetObj.h"
#include "ui/views/QtGraphicPainter.h"

namespace corvane {
namespace {

using testing::GraphicalViewRig;
using testing::SmallTrunkNetwork;
using testing::ViewsRig;

QRgb Rgb(const ColorSettings& colors, DisplayColor c) {
    return CQtGraphicPainter::ToQColor(colors.Get(c)).rgb();
}

// Intercoms 1 and 2 on one row with their trunk set, 3 (not communicating) and 4 (at 9600
// baud) below them.
class GraphicalViewPicture : public ::testing::Test {
protected:
    GraphicalViewPicture() {
        EXPECT_TRUE(views.TickUntilSmallNetworkSettled());
        CGraphicLayout& layout = views.Open(0);
        ShowIntercom(layout, views.Model(), 1, true, {100, 100});
        ShowIntercom(layout, views.Model(), 2, true, {300, 100});
        ShowIntercom(layout, views.Model(), 3, true, {100, 250});
        ShowIntercom(layout, views.Model(), 4, true, {300, 250});
        ShowTrunkSet(layout, views.Model(), 1, 2, true);
        view = views.OpenView(0);
    }
    QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
    QRgb Colour(DisplayColor c) { return Rgb(rig.colors, c) & 0xFFFFFF; }

    ViewsRig rig{SmallTrunkNetwork()};
    GraphicalViewRig views{rig};
    CVorlinScrollView* view = nullptr;
};

TEST_F(GraphicalViewPicture, IntercomsShowTheirStateOnTheBackground) {
    const QImage picture = GraphicalViewRig::Picture(view);
    EXPECT_EQ(At(picture, 200, 200), Colour(DisplayColor::Background));
    EXPECT_EQ(At(picture, 600, 400), Colour(DisplayColor::Background)) << "beyond the layout";
    EXPECT_EQ(At(picture, 100, 100), Colour(DisplayColor::IntercomInterior)) << "online";
    EXPECT_EQ(At(picture, 100, 250), Colour(DisplayColor::DisconnectedIntercomInterior));
    EXPECT_EQ(At(picture, 300, 250), Colour(DisplayColor::RemoteIntercomInterior)) << "9600";
    EXPECT_EQ(At(picture, 300, 238), Colour(DisplayColor::IntercomInterior)) << "around the mark";
    // The outline lies inside the box (284, 234)-(316, 266): its last column is 315.
    EXPECT_EQ(At(picture, 315, 250), Colour(DisplayColor::IntercomBorder));
    EXPECT_EQ(At(picture, 316, 250), Colour(DisplayColor::Background));

    GraphicalViewRig::Click(view, {100, 100});
    const QImage selected = GraphicalViewRig::Picture(view);
    EXPECT_EQ(At(selected, 100, 100), Colour(DisplayColor::SelectedIntercomInterior));
    const QRect caption = [&] {
        const GraphicRect r = view->Layout()->FindIntercom(1)->Caption()->GetRect();
        return QRect(r.left, r.top, r.Width(), r.Height());
    }();
    EXPECT_EQ(At(selected, caption.left() + 1, caption.center().y()),
              Colour(DisplayColor::SelectedIntercomCaptionBackground));
    EXPECT_EQ(At(selected, caption.left(), caption.center().y()),
              Colour(DisplayColor::SelectedIntercomCaptionBorder));
}

TEST_F(GraphicalViewPicture, ATrunkSetShowsItsTrunksByStateOneRowEach) {
    const CTrunkSetObj* set = view->Layout()->FindTrunkSet(MakePairKey(1, 2));
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->Counts(), (TrunkSetCounts{10, 3, 0, 2, 0}));
    EXPECT_EQ(set->Caption()->GetText(), " 5 / 3 / 2 ");
    // Ten rows around y = 100: the idle line, rows 95-104; the five allocated and in use
    // shifted two up, rows 96-100; the two unavailable shifted four up, rows 95-96.
    const QImage picture = GraphicalViewRig::Picture(view);
    const struct {
        int y;
        DisplayColor colour;
    } rows[] = {
        {93, DisplayColor::Background},        {94, DisplayColor::Background},
        {95, DisplayColor::TrunksUnavailable}, {96, DisplayColor::TrunksUnavailable},
        {97, DisplayColor::TrunksAllocated},   {100, DisplayColor::TrunksAllocated},
        {101, DisplayColor::TrunksIdle},       {104, DisplayColor::TrunksIdle},
        {105, DisplayColor::Background},       {106, DisplayColor::Background},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(At(picture, 140, row.y), Colour(row.colour)) << "row " << row.y;
    }
}

TEST_F(GraphicalViewPicture, AnEmptyTrunkSetIsDottedOrHidden) {
    CGraphicLayout* layout = view->Layout();
    ShowTrunkSet(*layout, views.Model(), 3, 4, true);
    view->viewport()->update();
    QImage picture = GraphicalViewRig::Picture(view);
    // A dotted line of one unit: every other pixel along y = 250.
    int dots = 0;
    for (int x = 120; x < 140; ++x) {
        dots += At(picture, x, 250) == Colour(DisplayColor::TrunksUnavailable) ? 1 : 0;
    }
    EXPECT_EQ(dots, 10);
    EXPECT_EQ(At(picture, 130, 251), Colour(DisplayColor::Background));

    rig.supervision.settings.Modify([](AppSettings& s) { s.AutoHideEmptyTrunkSets = true; });
    rig.doc->PreferenceTarget()->UpdateAllViews(hint::kLayoutDisplay, 0);
    picture = GraphicalViewRig::Picture(view);
    for (int x = 120; x < 140; ++x) {
        EXPECT_EQ(At(picture, x, 250), Colour(DisplayColor::Background)) << x;
    }
}

}  // namespace
}  // namespace corvane
