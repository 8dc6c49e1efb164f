#pragma once

#include <chrono>
#include <functional>

#include "link/SerialPort.h"
#include "platform/Clock.h"
#include "platform/ProfileStore.h"

namespace corvane {

// Every wait of the test set driver, so that tests can run it fast, and the clock its
// intervals are measured on.
struct TonexaOptions {
    const IClock* clock = &RealClock();
    // Bounds of each write, wait for a character and read on the serial line.
    SerialPortTimeouts serial{};
    // Holds "TonexaTimeout", how many seconds a reply may take to reach its prompt once
    // reading has begun; read anew at every command.
    const CProfileStore* profile = &Profile();
    std::chrono::milliseconds keepAliveInterval{std::chrono::seconds(1)};
    // The pause of every pass of the worker, and the extra pause while out of contact.
    std::chrono::milliseconds passInterval{100};
    std::chrono::milliseconds outOfContactInterval{100};
    // What StartTest tells the caller to wait before it counts a measurement as timed out.
    int testTimeOutSeconds = 20;
    int baudRate = 9600;
    // Called on the worker thread whenever contact with the test set is lost, so that the
    // next trunk test measures the instrument port's loop-back first.
    std::function<void()> loopbackDue;
};

}  // namespace corvane
