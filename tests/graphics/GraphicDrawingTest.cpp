#include <gtest/gtest.h>

#include "LayoutFixtures.h"
#include "platform/Format.h"

namespace corvane {
namespace {

using testing::RecordingPainter;

// Every colour its own value, so that the calls show which one was taken.
ColorSettings NumberedColors() {
    ColorSettings colors;
    for (int i = 0; i < kDisplayColorCount; ++i) {
        colors.Set(static_cast<DisplayColor>(i), static_cast<ColorRef>(0x100 + i));
    }
    return colors;
}

std::string H(DisplayColor c) {
    return StrFormat("%06X", 0x100 + static_cast<int>(c));
}

class GraphicDrawingTest : public ::testing::Test {
protected:
    std::vector<std::string> Draw(CGraphicObj& obj, GraphicOptions options = {}) {
        RecordingPainter painter;
        obj.Draw(painter, {colors, options});
        return painter.calls;
    }

    const ColorSettings colors = NumberedColors();
    CGraphicLayout layout;
    CIcomObj& north = layout.AddIntercom(1, {100, 50}, "North");  // box (84,34)-(116,66)
};

TEST_F(GraphicDrawingTest, AnIntercomIsAnEllipseInTheColoursOfItsState) {
    using DC = DisplayColor;
    const struct {
        bool selected, online;
        DC outline, fill;
    } cases[] = {
        {false, true, DC::IntercomBorder, DC::IntercomInterior},
        {false, false, DC::IntercomBorder, DC::DisconnectedIntercomInterior},
        {true, false, DC::SelectedIntercomBorder, DC::SelectedIntercomInterior},
        {true, true, DC::SelectedIntercomBorder, DC::SelectedIntercomInterior},
    };
    for (const auto& c : cases) {
        north.Select(c.selected);
        north.SetOnline(c.online);
        EXPECT_EQ(Draw(north), std::vector<std::string>{"ellipse (84,34,116,66) " + H(c.outline) +
                                                        " " + H(c.fill)});
    }
}

TEST_F(GraphicDrawingTest, ARemoteIntercomHasAnInnerEllipseAThirdIn) {
    north.SetBaud9600Mark(true);
    const std::vector<std::string> calls = Draw(north);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], "ellipse (94,44,106,56) " + H(DisplayColor::IntercomBorder) + " " +
                            H(DisplayColor::RemoteIntercomInterior));
}

TEST_F(GraphicDrawingTest, HiddenObjectsDrawNothing) {
    north.Show(false);
    EXPECT_TRUE(Draw(north).empty());
    EXPECT_TRUE(Draw(*north.Caption()).empty());
}

TEST_F(GraphicDrawingTest, ACaptionFitsItsRectangleToTheTextAtItsFirstDrawing) {
    CIcomCaption& caption = *north.Caption();
    // " North ": 7 characters of 7 by 13 around the old centre (100, 82).
    const std::vector<std::string> expected = {
        "text (76,76,125,89) ' North ' " + H(DisplayColor::IntercomCaptionText) + " on " +
            H(DisplayColor::DisconnectedIntercomCaptionBackground),
        "frame (76,76,125,89) " + H(DisplayColor::IntercomCaptionBorder)};
    EXPECT_EQ(Draw(caption), expected);
    EXPECT_FALSE(caption.NeedsMeasuring());
    EXPECT_EQ(Draw(caption), expected) << "measured once";

    caption.SetText("N");
    EXPECT_TRUE(caption.NeedsMeasuring());
    Draw(caption);
    EXPECT_EQ(caption.GetRect(), (GraphicRect{90, 76, 111, 89}));
}

TEST_F(GraphicDrawingTest, CaptionColoursFollowSelectionAndTheOwnersState) {
    using DC = DisplayColor;
    CIcomObj& south = layout.AddIntercom(2, {300, 50}, "South");
    CTrunkSetObj& set = layout.AddTrunkSet(north, south, {1, 0, 0, 0, 0});
    const struct {
        CCaptionObj* caption;
        bool selected, online;
        DC border, text, background;
    } cases[] = {
        {north.Caption(), false, true, DC::IntercomCaptionBorder, DC::IntercomCaptionText,
         DC::IntercomCaptionBackground},
        {north.Caption(), false, false, DC::IntercomCaptionBorder, DC::IntercomCaptionText,
         DC::DisconnectedIntercomCaptionBackground},
        {north.Caption(), true, false, DC::SelectedIntercomCaptionBorder,
         DC::SelectedIntercomCaptionText, DC::SelectedIntercomCaptionBackground},
        {set.Caption(), false, false, DC::TrunkCaptionBorder, DC::TrunkCaptionText,
         DC::TrunkCaptionBackground},
        {set.Caption(), true, false, DC::SelectedTrunkCaptionBorder, DC::SelectedTrunkCaptionText,
         DC::SelectedTrunkCaptionBackground},
    };
    for (const auto& c : cases) {
        c.caption->Select(c.selected);
        north.SetOnline(c.online);
        const std::vector<std::string> calls = Draw(*c.caption);
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_NE(calls[0].find("' " + H(c.text) + " on " + H(c.background)), std::string::npos)
            << calls[0];
        EXPECT_NE(calls[1].find(") " + H(c.border)), std::string::npos) << calls[1];
    }
}

TEST_F(GraphicDrawingTest, ATrunkSetDrawsItsBandsInTheTrunkColours) {
    CIcomObj& south = layout.AddIntercom(2, {300, 50}, "South");
    CTrunkSetObj& set = layout.AddTrunkSet(north, south, {10, 3, 0, 2, 0});
    EXPECT_EQ(Draw(set), (std::vector<std::string>{
                             "line (100,50)-(300,50) w10 " + H(DisplayColor::TrunksIdle),
                             "line (100,48)-(300,48) w5 " + H(DisplayColor::TrunksAllocated),
                             "line (100,46)-(300,46) w2 " + H(DisplayColor::TrunksUnavailable)}));
    set.SetTrunkCounts({});
    EXPECT_EQ(Draw(set), std::vector<std::string>{"line (100,50)-(300,50) w1 " +
                                                  H(DisplayColor::TrunksUnavailable) + " dotted"});
    EXPECT_TRUE(Draw(set, GraphicOptions{true}).empty());
}

TEST_F(GraphicDrawingTest, AListDrawsFromItsHead) {
    layout.AddIntercom(2, {300, 50}, "South");
    RecordingPainter painter;
    layout.Intercoms().DrawAll(painter, {colors, {}});
    ASSERT_EQ(painter.calls.size(), 2u);
    EXPECT_NE(painter.calls[0].find("(284,34,316,66)"), std::string::npos);
    EXPECT_NE(painter.calls[1].find("(84,34,116,66)"), std::string::npos);
}

}  // namespace
}  // namespace corvane
