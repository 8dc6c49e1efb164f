#include "ui/VorlinStatusBar.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace corvane {
namespace {

TEST(VorlinStatusBar, PanesStartWithTheirStrings) {
    CVorlinStatusBar bar(59394, nullptr);
    bar.SetIndicators({0, 212, 5346});
    ASSERT_EQ(bar.PaneCount(), 3);
    EXPECT_EQ(bar.Pane(0), nullptr);  // the message area
    EXPECT_EQ(bar.PaneText(1), "Quillex");
    EXPECT_EQ(bar.PaneWidth(1), bar.TextWidth("Quillex"));
    bar.SetPaneText(0, "Ready");
    EXPECT_EQ(bar.PaneText(0), "Ready");
    bar.SetPaneInfoFromString(2, 5347, CVorlinStatusBar::kNormal, 5347);
    EXPECT_EQ(bar.PaneId(2), 5347);
    EXPECT_EQ(bar.PaneWidth(2), bar.TextWidth("Testing: In Progress"));
    EXPECT_EQ(bar.PaneText(7), "");
    EXPECT_EQ(bar.PaneWidth(-1), 0);
}

TEST(VorlinStatusBar, SetPaneTextSized) {
    struct Case {
        const char* first;
        const char* second;
        bool growOnly;
        bool changed;
        const char* widthOf;
    };
    const Case cases[] = {
        {"short", "a much longer text", false, true, "a much longer text"},
        {"a much longer text", "short", false, true, "short"},
        {"a much longer text", "short", true, true, "a much longer text"},
        {"short", "a much longer text", true, true, "a much longer text"},
        {"same", "same", false, false, "same"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.second);
        CVorlinStatusBar bar(59394, nullptr);
        bar.SetIndicators({0, 201});
        bar.SetPaneTextSized(1, c.first, false);
        EXPECT_EQ(bar.SetPaneTextSized(1, c.second, c.growOnly), c.changed);
        EXPECT_EQ(bar.PaneText(1), c.second);
        EXPECT_EQ(bar.PaneWidth(1), bar.TextWidth(c.widthOf));
    }
}

TEST(VorlinStatusBar, HelpHitTest) {
    CVorlinStatusBar bar(59393, nullptr);
    bar.SetIndicators({0, 212, 211});
    bar.resize(600, 24);
    bar.show();
    QCoreApplication::processEvents();
    const QPoint onQuillex = bar.Pane(1)->geometry().center();
    const QPoint onMessages(3, 12);
    EXPECT_EQ(bar.HelpHitTest(onQuillex), 212 | 0x50000000);
    EXPECT_EQ(bar.HelpHitTest(onMessages), 59393 | 0x50000000);
    EXPECT_EQ(bar.HelpHitTest(onQuillex, 3), (212 + 3 * 65536) | 0x50000000);

    CVorlinStatusBar noId(0, nullptr);
    EXPECT_EQ(noId.HelpHitTest(QPoint(1, 1)), 0);
}

}  // namespace
}  // namespace corvane
