#include "ui/Splash.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "qtsupport/QtWait.h"

namespace corvane {
namespace {

TEST(Splash, TheCommandLineCanSuppressIt) {
    struct Case {
        std::vector<std::string> arguments;
        unsigned flags;
        bool shown;
    };
    const Case cases[] = {
        {{}, CSplash::kCloseOnInput, true},
        {{"-nologo"}, CSplash::kCloseOnInput, false},
        {{"/nologo"}, CSplash::kCloseOnInput, false},
        {{"nologo"}, CSplash::kCloseOnInput, true},
        {{"-x", "-nologo"}, 0, false},
        {{"-nologo"}, CSplash::kIgnoreCommandLine, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        CSplash splash(142, CSplash::kNoTimer, c.flags, c.arguments, [] { return false; });
        EXPECT_EQ(splash.IsShown(), c.shown);
        if (c.shown) {
            EXPECT_EQ(splash.Window()->size(), QSize(400, 240));
        }
    }
}

TEST(Splash, AMissingBitmapShowsNothing) {
    CSplash splash(999, 10, 0, {}, [] { return true; });
    EXPECT_FALSE(splash.IsShown());
    splash.HideSplash();
}

TEST(Splash, ItStaysUntilTheMainWindowExists) {
    bool mainWindow = false;
    CSplash splash(142, 1, 0, {}, [&] { return mainWindow; });
    ASSERT_TRUE(splash.IsShown());
    // The display time has passed many times over; without a main window it stays.
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_TRUE(splash.IsShown());
    mainWindow = true;
    EXPECT_TRUE(testing::ProcessEventsUntil([&] { return !splash.IsShown(); }));
}

TEST(Splash, CloseWithoutMainWindowOnTheDisplayTime) {
    CSplash splash(142, 1, CSplash::kCloseWithoutMainWindow, {}, [] { return false; });
    EXPECT_TRUE(testing::ProcessEventsUntil([&] { return !splash.IsShown(); }));
}

TEST(Splash, InputClosesItWhenAsked) {
    for (unsigned flags : {0u, CSplash::kCloseOnInput}) {
        SCOPED_TRACE(flags);
        CSplash splash(142, CSplash::kNoTimer, flags, {}, [] { return true; });
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(splash.Window(), &press);
        QCoreApplication::processEvents();
        EXPECT_EQ(splash.IsShown(), flags == 0);
    }
}

TEST(Splash, HideSplashPostsTheClose) {
    CSplash splash(142, CSplash::kNoTimer, 0, {}, [] { return true; });
    splash.HideSplash();
    EXPECT_TRUE(splash.IsShown());
    QCoreApplication::processEvents();
    EXPECT_FALSE(splash.IsShown());
}

}  // namespace
}  // namespace corvane
