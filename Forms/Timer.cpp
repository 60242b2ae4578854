#include "Timer.h"
#include "Application.h"
#include <map>

namespace {
// Timers without a window: the system gives the id, we find our object by it.
std::map<UINT_PTR, TTimer*>& Running()
{
    // Never freed: timers of static objects may end after every other static.
    static auto* running = new std::map<UINT_PTR, TTimer*>;
    return *running;
}
}  // namespace

void TTimer::SetInterval(unsigned milliseconds)
{
    interval_ = milliseconds;
    if (Enabled()) {
        Stop();
        SetEnabled(true);
    }
}

bool TTimer::SetEnabled(bool enabled)
{
    if (!enabled) {
        Stop();
        return true;
    }
    if (id_)
        return true;
    id_ = SetTimer(nullptr, 0, interval_, TimerProc);
    if (id_)
        Running()[id_] = this;
    return id_ != 0;
}

void TTimer::Stop()
{
    if (!id_)
        return;
    KillTimer(nullptr, id_);
    Running().erase(id_);
    id_ = 0;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = Running().find(id);
    try {
        if (it != Running().end() && it->second->OnTimer)
            it->second->OnTimer();
    } catch (...) {
        Application().ShowCaughtException();
    }
}
