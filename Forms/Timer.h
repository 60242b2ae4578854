// A timer of the GUI thread: OnTimer runs from the message loop every Interval milliseconds
// while the timer is enabled.
#pragma once
#include <windows.h>
#include <functional>

class TTimer {
public:
    TTimer() = default;
    ~TTimer() { Stop(); }
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    unsigned Interval() const { return interval_; }
    // A running timer restarts with the new interval.
    void SetInterval(unsigned milliseconds);
    bool Enabled() const { return id_ != 0; }
    // False when the system has no timer left.
    bool SetEnabled(bool enabled);

    std::function<void()> OnTimer;

private:
    void Stop();
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

    unsigned interval_ = 1000;
    UINT_PTR id_ = 0;
};
