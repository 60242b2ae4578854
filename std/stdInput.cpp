#include "stdInput.h"

#include <cstring>


stdInputState stdInput_state;
stdInputApi stdInput_api = {DirectInputCreateEx};

namespace {

struct InputDevice {
    IDirectInputDevice7A* pDevice;
    int bLost;          // not acquired: acquire again at the next poll
    DWORD firstOffset;  // event offset of the first key of the device
    int firstKey;       // its entry in the key state table
    int numKeys;
};

IDirectInput7A* g_pInput;
InputDevice g_keyboard = {nullptr, 0, 0, 0, STDINPUT_NUM_SCANCODES};
InputDevice g_mouse = {nullptr, 0, STDINPUT_MOUSE_BUTTON_OFS, STDINPUT_MOUSE_BUTTON0,
                       STDINPUT_NUM_MOUSE_BUTTONS};

void ReleaseDevice(InputDevice* device)
{
    if (device->pDevice) {
        device->pDevice->Unacquire();
        device->pDevice->Release();
    }
    device->pDevice = nullptr;
    device->bLost = 0;
}

// Makes one device with its data format, cooperative level and event buffer; 0 when any step
// fails (nothing is kept then). Acquisition may fail while the window is in the background: the
// device is then marked lost and the next poll tries again.
int CreateDevice(InputDevice* device, HWND window, REFGUID guid, LPCDIDATAFORMAT format,
                 DWORD cooperation)
{
    IDirectInputDevice7A* pDevice = nullptr;
    if (FAILED(g_pInput->CreateDeviceEx(guid, IID_IDirectInputDevice7A, (void**)&pDevice, nullptr)) ||
        !pDevice)
        return 0;
    DIPROPDWORD buffer = {};
    buffer.diph.dwSize = sizeof(buffer);
    buffer.diph.dwHeaderSize = sizeof(buffer.diph);
    buffer.diph.dwObj = 0;
    buffer.diph.dwHow = DIPH_DEVICE;
    buffer.dwData = STDINPUT_BUFFER_EVENTS;
    if (FAILED(pDevice->SetDataFormat(format)) ||
        FAILED(pDevice->SetCooperativeLevel(window, cooperation)) ||
        FAILED(pDevice->SetProperty(DIPROP_BUFFERSIZE, &buffer.diph))) {
        pDevice->Release();
        return 0;
    }
    device->pDevice = pDevice;
    device->bLost = FAILED(pDevice->Acquire()) ? 1 : 0;
    return 1;
}

void SetKeysUp(const InputDevice* device)
{
    for (int i = 0; i < device->numKeys; ++i) stdInput_state.aKeys[device->firstKey + i].down = 0;
}

// A device that is not acquired is acquired first; after a time without acquisition its keys
// start up, since their releases were never seen. 0 when the device cannot be read this frame.
int MakeReady(InputDevice* device)
{
    if (!device->bLost) return 1;
    if (FAILED(device->pDevice->Acquire())) return 0;
    device->bLost = 0;
    SetKeysUp(device);
    return 1;
}

// Reads the device's buffered events into the table; the number read, or -1 when the device was
// lost on the way.
int ReadEvents(InputDevice* device)
{
    DIDEVICEOBJECTDATA records[STDINPUT_BUFFER_EVENTS];
    DWORD count = STDINPUT_BUFFER_EVENTS;
    HRESULT hr = device->pDevice->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0);
    if (hr == DIERR_INPUTLOST || hr == DIERR_NOTACQUIRED) {
        device->bLost = 1;
        return -1;
    }
    if (FAILED(hr)) return 0;
    if (count > STDINPUT_BUFFER_EVENTS) count = STDINPUT_BUFFER_EVENTS;
    stdInput_ApplyRecords(&stdInput_state, records, count, device->firstOffset, device->firstKey,
                          device->numKeys);
    return (int)count;
}

}  // namespace

void stdInput_UseSystem() { stdInput_api.pfnCreateEx = DirectInputCreateEx; }

void stdInput_ApplyRecords(stdInputState* state, const DIDEVICEOBJECTDATA* records, DWORD count,
                           DWORD firstOffset, int firstKey, int numKeys)
{
    for (DWORD i = 0; i < count; ++i) {
        const DIDEVICEOBJECTDATA& record = records[i];
        DWORD index = record.dwOfs - firstOffset;   // offsets below the first wrap and are skipped
        if (index >= (DWORD)numKeys) continue;
        stdInputKey& key = state->aKeys[firstKey + index];
        if (!(record.dwData & STDINPUT_DOWN)) key.heldTime = record.dwTimeStamp - key.time;
        key.time = record.dwTimeStamp;
        key.down = record.dwData & STDINPUT_DOWN;
        key.frame = state->pollCounter;
    }
}

// Starts from a clear table, so that nothing of an earlier start shows, also when this one
// fails.
int stdInput_Startup(HINSTANCE instance, HWND window)
{
    stdInput_Shutdown();
    if (FAILED(stdInput_api.pfnCreateEx(instance, 0x0700, IID_IDirectInput7A,
                                        (void**)&g_pInput, nullptr)) ||
        !g_pInput) {
        g_pInput = nullptr;
        return 0;
    }
    if (!CreateDevice(&g_keyboard, window, GUID_SysKeyboard, &c_dfDIKeyboard,
                      DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY))
        return 0;
    if (!CreateDevice(&g_mouse, window, GUID_SysMouse, &c_dfDIMouse2,
                      DISCL_EXCLUSIVE | DISCL_FOREGROUND))
        return 0;
    stdInput_Reset();
    return 1;
}

void stdInput_Poll()
{
    ++stdInput_state.pollCounter;
    if (g_keyboard.pDevice && MakeReady(&g_keyboard)) ReadEvents(&g_keyboard);

    stdInput_state.mouseDx = stdInput_state.mouseDy = stdInput_state.mouseDz = 0;
    if (!g_mouse.pDevice || !MakeReady(&g_mouse)) return;
    if (ReadEvents(&g_mouse) <= 0) return;
    DIMOUSESTATE2 state;
    if (SUCCEEDED(g_mouse.pDevice->GetDeviceState(sizeof(state), &state))) {
        stdInput_state.mouseDx = state.lX;
        stdInput_state.mouseDy = state.lY;
        stdInput_state.mouseDz = state.lZ;
    }
}

int stdInput_Reset()
{
    memset(stdInput_state.aKeys, 0, sizeof(stdInput_state.aKeys));
    return 0;
}

void stdInput_Shutdown()
{
    ReleaseDevice(&g_mouse);
    ReleaseDevice(&g_keyboard);
    if (g_pInput) g_pInput->Release();
    g_pInput = nullptr;
    memset(&stdInput_state, 0, sizeof stdInput_state);
}

int stdInput_KeyPressed(const stdInputState* state, int key)
{
    if (key < 0 || key >= STDINPUT_NUM_KEYS) return 0;
    const stdInputKey& entry = state->aKeys[key];
    return entry.down && entry.frame == state->pollCounter;
}

int stdInput_KeyHeld(const stdInputState* state, int key)
{
    if (key < 0 || key >= STDINPUT_NUM_KEYS) return 0;
    return state->aKeys[key].down != 0;
}

int stdInput_IsPressed(int key) { return stdInput_KeyPressed(&stdInput_state, key); }
int stdInput_IsHeld(int key) { return stdInput_KeyHeld(&stdInput_state, key); }
