#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace corvane::testing {

// Runs the event loop until the condition holds; false when it did not within the bound.
inline bool ProcessEventsUntil(const std::function<bool()>& done, int boundMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > boundMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace corvane::testing
