#pragma once
// Real monotonic time that a test can move forward, and a fixed local date.
#include "shell/clock.h"

namespace testing_support {

class FakeClock : public shell::Clock {
public:
    FakeClock() { timer_.start(); }
    int64_t monotonicMs() override
    {
        offsetMs_ += stepPerReadMs_;
        return timer_.elapsed() + offsetMs_;
    }
    QDateTime localNow() override { return QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)).addMSecs(offsetMs_); }
    void advance(int64_t ms) { offsetMs_ += ms; }
    // From now on every reading is ms later than the one before: every time
    // limit passes at the first look, whatever the machine's speed.
    void advanceOnEveryRead(int64_t ms) { stepPerReadMs_ = ms; }

private:
    QElapsedTimer timer_;
    int64_t offsetMs_ = 0;
    int64_t stepPerReadMs_ = 0;
};

}  // namespace testing_support
