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

}  // namespace
}  // namespace corvane
