#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "platform/Clock.h"

namespace corvane {

// Every wait of the analyzer driver, and the clock it measures them with, so that tests can
// run the worker on a clock of their own.
struct RT2MOptions {
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    const IClock* clock = &RealClock();
    // Blocks the worker; a test's sleeper moves its own clock instead.
    Sleeper sleep = [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); };

    std::chrono::milliseconds loopPause{100};      // between passes of the worker loop
    std::chrono::milliseconds errorPoll{1000};     // idle reads of the error queue
    std::chrono::milliseconds resultPoll{100};     // error queue reads during a measurement
    std::chrono::milliseconds resetPoll{100};      // error queue reads after a reset
    std::chrono::milliseconds resetSettle{10000};  // answers before this decide nothing
    std::chrono::milliseconds resetLimit{15000};   // no valid answer by then: reset again
    std::chrono::milliseconds resetRetry{100};     // after a failed reset command
    // The read time-out is the TurnaroundTime setting, but never below this.
    std::chrono::milliseconds minimumTurnaround{100};
    // The longest one read waits: a longer turnaround is read in pieces of this, with the
    // stop and request flags checked between them.
    std::chrono::milliseconds longestRead{5000};
    // Silence on the line that ends an unfinished response.
    std::chrono::milliseconds readInterval{16};
    std::chrono::milliseconds writeTimeout{2000};
    int baudRate = 38400;
    // Called on the worker thread whenever the analyzer was reset or lost: the next trunk
    // test measures the instrument port's loop-back first.
    std::function<void()> loopbackDue;
};

}  // namespace corvane
