// A millisecond clock for tests: while one lives, stdTime_GetMs (and with it the frame clock
// renderTimer) reads its time, which moves only when the test moves it.
//
//   fakes::FakeClock clock(5000);   // now = 5000 ms
//   renderTimer_Start(&timer);
//   clock.Advance(40);
//   renderTimer_Tick(&timer);       // a 40 ms step
#pragma once
#include <cstdint>

#include "stdTime.h"

namespace fakes {

class FakeClock {
public:
    explicit FakeClock(uint32_t startMs = 1000);
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void Set(uint32_t ms);
    void Advance(uint32_t ms);
    uint32_t Now() const;

private:
    stdTimeClockFunc previous_;
};

}  // namespace fakes
