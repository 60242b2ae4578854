// Keyboard and mouse input of the viewer over DirectInput 7. Once a frame the poll reads both
// devices' event buffers into one key state table (256 keyboard scan codes, then 8 mouse
// buttons) and keeps the mouse movement of the frame. Readers ask the table, nothing is
// event-driven.
#pragma once
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0700
#endif
#include <windows.h>
#include <dinput.h>

#include <cstddef>
#include <cstdint>

static_assert(DIRECTINPUT_VERSION == 0x0700, "the event records must have their version 7 layout");

enum {
    STDINPUT_NUM_SCANCODES = 256,
    STDINPUT_NUM_MOUSE_BUTTONS = 8,
    STDINPUT_NUM_KEYS = STDINPUT_NUM_SCANCODES + STDINPUT_NUM_MOUSE_BUTTONS,
    STDINPUT_MOUSE_BUTTON0 = STDINPUT_NUM_SCANCODES,   // the left button
    STDINPUT_BUFFER_EVENTS = 256,
    STDINPUT_DOWN = 0x80,
    STDINPUT_MOUSE_BUTTON_OFS = 12,                    // offset of button 0 in DIMOUSESTATE2
};

struct stdInputKey {
    uint32_t down;       // 0x80 while down, 0 when up
    uint32_t frame;      // poll counter at the last event
    uint32_t time;       // event time stamp of the last event, milliseconds
    uint32_t heldTime;   // set on a release: how long the key was down
};
static_assert(sizeof(stdInputKey) == 16);

// One device's event record and the mouse state, as DirectInput 7 writes them.
static_assert(sizeof(DIDEVICEOBJECTDATA) == 16);
static_assert(offsetof(DIDEVICEOBJECTDATA, dwData) == 4);
static_assert(offsetof(DIDEVICEOBJECTDATA, dwTimeStamp) == 8);
static_assert(sizeof(DIMOUSESTATE2) == 20);
static_assert(offsetof(DIMOUSESTATE2, rgbButtons) == STDINPUT_MOUSE_BUTTON_OFS);

struct stdInputState {
    stdInputKey aKeys[STDINPUT_NUM_KEYS];
    uint32_t pollCounter;           // 0 after start-up, +1 at the start of every poll
    int32_t mouseDx, mouseDy, mouseDz;   // movement of the last poll, device counts
};

extern stdInputState stdInput_state;

// Creates the DirectInput object for the program's instance and both devices for its window,
// with a clear table; 0 at the first failure, keeping what was made. A device that cannot be
// acquired now is acquired at the next poll.
int stdInput_Startup(HINSTANCE instance, HWND window);
// Reads the frame's events of both devices into the table.
void stdInput_Poll();
// Clears the key state table; returns 0.
int stdInput_Reset();
// Gives back the devices and the DirectInput object and clears the table (the viewer leaves
// them to process end).
void stdInput_Shutdown();

// Pressed in this poll: down and the last event came in this poll. Held: down.
int stdInput_IsPressed(int key);
int stdInput_IsHeld(int key);
// The same rules over a given table.
int stdInput_KeyPressed(const stdInputState* state, int key);
int stdInput_KeyHeld(const stdInputState* state, int key);

// Applies event records to the table: key = record offset - firstOffset + firstKey; records
// outside [firstKey, firstKey + numKeys) are skipped.
void stdInput_ApplyRecords(stdInputState* state, const DIDEVICEOBJECTDATA* records, DWORD count,
                           DWORD firstOffset, int firstKey, int numKeys);

// The entry point the module starts from, replaceable so a test can stand in a double.
struct stdInputApi {
    HRESULT(WINAPI* pfnCreateEx)(HINSTANCE instance, DWORD version, REFIID iid, void** object,
                                 IUnknown* outer);
};
extern stdInputApi stdInput_api;
void stdInput_UseSystem();
