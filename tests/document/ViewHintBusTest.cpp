#include "document/ViewHintBus.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace corvane {
namespace {

// A view that logs what it gets and may act on the bus while it is told: its next reaction
// runs once, taken out before it runs, so that it may set another or end the view.
struct LoggingView : IViewHintReceiver {
    LoggingView(std::string n, std::vector<std::string>& l) : name(std::move(n)), log(l) {}
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override {
        log.push_back(name + ":" + std::to_string(hint) + ":" +
                      std::to_string(payload.layoutIndex));
        if (const std::function<void()> now = std::exchange(next, nullptr)) {
            now();
        }
    }
    std::string name;
    std::vector<std::string>& log;
    std::function<void()> next;
};

TEST(ViewHintBus, EveryViewButTheSenderGetsTheHintAndItsPayload) {
    std::vector<std::string> log;
    CViewHintBus bus;
    LoggingView a("a", log), b("b", log), c("c", log);
    bus.Subscribe(&a);
    bus.Subscribe(&b);
    bus.Subscribe(&c);
    bus.Subscribe(&b);  // twice is once
    bus.Broadcast(&b, hint::kLayoutRenamed, {nullptr, 3});
    EXPECT_EQ(log, (std::vector<std::string>{"a:1048576:3", "c:1048576:3"}));
    EXPECT_EQ(bus.ViewCount(), 3);
}

TEST(ViewHintBus, ViewsLeavingAndJoiningDuringABroadcast) {
    std::vector<std::string> log;
    CViewHintBus bus;
    LoggingView a("a", log), b("b", log), c("c", log), d("d", log);
    bus.Subscribe(&a);
    bus.Subscribe(&b);
    bus.Subscribe(&c);
    // a closes b's frame and opens d's; b is told nothing more, d waits for the next hint.
    a.next = [&] {
        bus.Unsubscribe(&b);
        bus.Subscribe(&d);
    };
    bus.Broadcast(nullptr, 0x8);
    EXPECT_EQ(log, (std::vector<std::string>{"a:8:0", "c:8:0"}));
    log.clear();
    bus.Broadcast(nullptr, 0x4);
    EXPECT_EQ(log, (std::vector<std::string>{"a:4:0", "c:4:0", "d:4:0"}));
    EXPECT_EQ(bus.ViewCount(), 3);
}

TEST(ViewHintBus, AViewThatLeavesWhileANestedBroadcastRunsIsDroppedOnce) {
    std::vector<std::string> log;
    CViewHintBus bus;
    LoggingView a("a", log), b("b", log);
    bus.Subscribe(&a);
    bus.Subscribe(&b);
    a.next = [&] {
        bus.Broadcast(&a, 0x10);  // a's reaction tells the others
        bus.Unsubscribe(&a);
    };
    bus.Broadcast(nullptr, 0x8);
    EXPECT_EQ(log, (std::vector<std::string>{"a:8:0", "b:16:0", "b:8:0"}));
    EXPECT_EQ(bus.ViewCount(), 1);
    bus.Unsubscribe(&a);  // gone already: nothing happens
    EXPECT_EQ(bus.ViewCount(), 1);
}

TEST(ViewHintBus, ViewsEndedWhileTheyAreToldAreNeverTouchedAgain) {
    std::vector<std::string> log;
    CViewHintBus bus;
    auto a = std::make_unique<LoggingView>("a", log);
    auto b = std::make_unique<LoggingView>("b", log);
    auto c = std::make_unique<LoggingView>("c", log);
    LoggingView d("d", log);
    bus.Subscribe(a.get());
    bus.Subscribe(b.get());
    bus.Subscribe(c.get());
    bus.Subscribe(&d);
    // a closes its own frame, b closes c's, as a frame's views leave with it.
    a->next = [&] {
        bus.Unsubscribe(a.get());
        a.reset();
    };
    b->next = [&] {
        bus.Unsubscribe(c.get());
        c.reset();
    };
    bus.Broadcast(nullptr, 0x8);
    EXPECT_EQ(log, (std::vector<std::string>{"a:8:0", "b:8:0", "d:8:0"}));
    EXPECT_EQ(bus.ViewCount(), 2);
    log.clear();
    bus.Broadcast(nullptr, 0x4);
    EXPECT_EQ(log, (std::vector<std::string>{"b:4:0", "d:4:0"}));
}

}  // namespace
}  // namespace corvane
