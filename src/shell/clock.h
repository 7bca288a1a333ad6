#pragma once
// The monotonic millisecond clock and the local date and time, injectable so
// that tests can move time on.
#include <QDateTime>
#include <QElapsedTimer>
#include <cstdint>

namespace shell {

class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t monotonicMs() = 0;
    virtual QDateTime localNow() = 0;
};

class SystemClock : public Clock {
public:
    SystemClock() { timer_.start(); }
    int64_t monotonicMs() override { return timer_.elapsed(); }
    QDateTime localNow() override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer timer_;
};

}  // namespace shell
