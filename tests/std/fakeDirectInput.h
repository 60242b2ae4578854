// A double of DirectInput 7 installed into the input module's seam: two devices whose
// acquisition, event buffers and mouse state a test scripts, for what a real device does not do
// on demand (acquisition refused, input lost, a given stream of events).
#pragma once
#include "stdInput.h"

#include <deque>
#include <string>
#include <vector>

struct FakeInputDevice {
    // Set up by the test.
    bool bCreateFails = false;
    std::deque<HRESULT> acquireResults;        // results of the next Acquire calls; then DI_OK
    std::deque<HRESULT> readResults;           // results of the next GetDeviceData calls; then DI_OK
    std::vector<DIDEVICEOBJECTDATA> events;    // handed out and emptied by GetDeviceData
    DIMOUSESTATE2 state = {};                  // what GetDeviceState gives
    // Seen by the test.
    int acquireCalls = 0;
    int readCalls = 0;
    DWORD cooperation = 0;
    HWND window = nullptr;
    LPCDIDATAFORMAT format = nullptr;
    DWORD bufferSize = 0;
    int refCount = 0;
};

struct FakeInput {
    bool bCreateFails = false;
    HINSTANCE instance = nullptr;
    DWORD version = 0;
    FakeInputDevice keyboard;
    FakeInputDevice mouse;
};

// Installs a fresh double and returns it; fakeInput_Uninstall puts the system back.
FakeInput& fakeInput_Install();
void fakeInput_Uninstall();

// Event records: a key or button going down (0x80) or up at a time stamp.
DIDEVICEOBJECTDATA fakeInput_Event(DWORD offset, bool down, DWORD time);
DIDEVICEOBJECTDATA fakeInput_Axis(DWORD offset, LONG value, DWORD time);
