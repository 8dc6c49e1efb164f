#include "ui/SignalCloser.h"

#include <gtest/gtest.h>

#include "qtsupport/QtWait.h"

namespace corvane {
namespace {

TEST(SignalCloser, SignalsArriveOnTheEventLoop) {
    CSignalCloser closer;
    std::string error;
    ASSERT_TRUE(closer.Install(error)) << error;
    CSignalCloser second;
    EXPECT_FALSE(second.Install(error));
    std::vector<int> received;
    QObject::connect(&closer, &CSignalCloser::SignalReceived,
                     [&](int signalNumber) { received.push_back(signalNumber); });
    ::raise(SIGTERM);
    ::raise(SIGINT);
    EXPECT_TRUE(received.empty());
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT}));
}

TEST(SignalCloser, RemovedItLeavesTheOldHandlers) {
    struct sigaction before {};
    ::sigaction(SIGTERM, nullptr, &before);
    {
        CSignalCloser closer;
        std::string error;
        ASSERT_TRUE(closer.Install(error));
    }
    struct sigaction after {};
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    CSignalCloser again;
    std::string error;
    EXPECT_TRUE(again.Install(error)) << error;
}

// Once the program stops, a signal no longer ends it, also after the closer has gone.
TEST(SignalCloser, IgnoringOutlivesTheCloser) {
    struct sigaction before[2]{};
    ::sigaction(SIGTERM, nullptr, &before[0]);
    ::sigaction(SIGINT, nullptr, &before[1]);
    {
        CSignalCloser closer;
        std::string error;
        ASSERT_TRUE(closer.Install(error)) << error;
        closer.IgnoreFromNowOn();
    }
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        struct sigaction now {};
        ::sigaction(signalNumber, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_IGN) << signalNumber;
        ::raise(signalNumber);  // the test goes on
    }
    ::sigaction(SIGTERM, &before[0], nullptr);
    ::sigaction(SIGINT, &before[1], nullptr);
    CSignalCloser again;
    std::string error;
    EXPECT_TRUE(again.Install(error)) << error;
}

}  // namespace
}  // namespace corvane
