#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace corvix::test {

// Handles events until condition holds or timeoutMs passed; returns whether it holds. Tests
// wait on conditions, never for a fixed time. The condition is checked every few milliseconds
// while the event loop sleeps in between.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(2);
    QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
    tick.start();
    while (!condition()) {
        if (deadline.hasExpired()) {
            return condition();
        }
        loop.exec();
    }
    return true;
}

}  // namespace corvix::test
