#include "fakeClock.h"

namespace fakes {

namespace {

uint32_t g_nowMs;

uint32_t FakeNow()
{
    return g_nowMs;
}

}  // namespace

FakeClock::FakeClock(uint32_t startMs)
{
    g_nowMs = startMs;
    previous_ = stdTime_SetClock(FakeNow);
}

FakeClock::~FakeClock()
{
    stdTime_SetClock(previous_);
}

void FakeClock::Set(uint32_t ms) { g_nowMs = ms; }
void FakeClock::Advance(uint32_t ms) { g_nowMs += ms; }
uint32_t FakeClock::Now() const { return g_nowMs; }

}  // namespace fakes
