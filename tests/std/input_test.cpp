// Input: event records applied to the key state table, the pressed and held rules, the mouse
// movement, acquisition and loss through a DirectInput double, and start-up on the real
// DirectInput that wine gives.
#include <gtest/gtest.h>

#include "fakeDirectInput.h"
#include "render.h"
#include "stdInput.h"

namespace {

const DWORD MOUSE_BUTTON = STDINPUT_MOUSE_BUTTON_OFS;   // offset of mouse button 0

class InputTest : public testing::Test {
protected:
    void SetUp() override { fake = &fakeInput_Install(); }
    void TearDown() override
    {
        fakeInput_Uninstall();
        render_SetWindow(nullptr);
    }

    const stdInputKey& Key(int key) { return stdInput_state.aKeys[key]; }
    FakeInput* fake = nullptr;
};

TEST(InputRecords, PressHoldReleaseAndOneFramePressFollowThePollCounter)
{
    static stdInputState state = {};
    const DIDEVICEOBJECTDATA pressF[] = {fakeInput_Event(DIK_F, true, 1000)};
    state.pollCounter = 1;
    stdInput_ApplyRecords(&state, pressF, 1, 0, 0, STDINPUT_NUM_SCANCODES);
    EXPECT_EQ(0x80u, state.aKeys[DIK_F].down);
    EXPECT_EQ(1u, state.aKeys[DIK_F].frame);
    EXPECT_EQ(1000u, state.aKeys[DIK_F].time);

    // A tap within one poll: up at the end, its frame is this poll, heldTime measures the tap;
    // the earlier key is untouched and its release in the same batch gives its hold time.
    const DIDEVICEOBJECTDATA batch[] = {fakeInput_Event(DIK_SPACE, true, 1500),
                                        fakeInput_Event(DIK_SPACE, false, 1540),
                                        fakeInput_Event(DIK_F, false, 1750)};
    state.pollCounter = 2;
    stdInput_ApplyRecords(&state, batch, 3, 0, 0, STDINPUT_NUM_SCANCODES);
    EXPECT_EQ(0u, state.aKeys[DIK_SPACE].down);
    EXPECT_EQ(2u, state.aKeys[DIK_SPACE].frame);
    EXPECT_EQ(40u, state.aKeys[DIK_SPACE].heldTime);
    EXPECT_EQ(0u, state.aKeys[DIK_F].down);
    EXPECT_EQ(750u, state.aKeys[DIK_F].heldTime);

    // Mouse records: axes (0, 4, 8) are skipped, button b lands in entry 256 + b.
    const DIDEVICEOBJECTDATA mouse[] = {fakeInput_Axis(0, 5, 1800), fakeInput_Axis(4, -3, 1800),
                                        fakeInput_Axis(8, 120, 1800),
                                        fakeInput_Event(MOUSE_BUTTON + 0, true, 1801),
                                        fakeInput_Event(MOUSE_BUTTON + 7, true, 1802)};
    stdInput_ApplyRecords(&state, mouse, 5, STDINPUT_MOUSE_BUTTON_OFS, STDINPUT_MOUSE_BUTTON0,
                          STDINPUT_NUM_MOUSE_BUTTONS);
    EXPECT_EQ(0x80u, state.aKeys[256].down);
    EXPECT_EQ(0x80u, state.aKeys[263].down);
    EXPECT_EQ(1802u, state.aKeys[263].time);
    for (int key = 0; key < STDINPUT_NUM_SCANCODES; ++key) {
        if (key != DIK_F && key != DIK_SPACE) {
            ASSERT_EQ(0u, state.aKeys[key].time) << key;
        }
    }
}

TEST_F(InputTest, StartupMakesBothDevicesAsTheViewerNeedsThem)
{
    HWND window = (HWND)0x1234;
    render_SetWindow(window);
    ASSERT_EQ(1, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    EXPECT_EQ(0x0700u, fake->version);
    EXPECT_EQ(render_GetInstance(), fake->instance);
    EXPECT_EQ(&c_dfDIKeyboard, fake->keyboard.format);
    EXPECT_EQ(0x16u, fake->keyboard.cooperation);
    EXPECT_EQ(&c_dfDIMouse2, fake->mouse.format);
    EXPECT_EQ(0x5u, fake->mouse.cooperation);
    EXPECT_EQ(window, fake->keyboard.window);
    EXPECT_EQ(window, fake->mouse.window);
    EXPECT_EQ(256u, fake->keyboard.bufferSize);
    EXPECT_EQ(256u, fake->mouse.bufferSize);
    EXPECT_EQ(1, fake->keyboard.acquireCalls);
    EXPECT_EQ(1, fake->mouse.acquireCalls);
    EXPECT_EQ(0u, stdInput_state.pollCounter);
}

TEST_F(InputTest, PressedOnlyInThePollThatReadItHeldUntilReleased)
{
    ASSERT_EQ(1, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    fake->keyboard.events = {fakeInput_Event(DIK_L, true, 100)};
    stdInput_Poll();
    EXPECT_TRUE(stdInput_IsPressed(DIK_L));
    EXPECT_TRUE(stdInput_IsHeld(DIK_L));
    stdInput_Poll();
    EXPECT_FALSE(stdInput_IsPressed(DIK_L));
    EXPECT_TRUE(stdInput_IsHeld(DIK_L));
    fake->keyboard.events = {fakeInput_Event(DIK_L, false, 300), fakeInput_Event(DIK_X, true, 310),
                             fakeInput_Event(DIK_X, false, 320)};
    stdInput_Poll();
    EXPECT_FALSE(stdInput_IsHeld(DIK_L));
    EXPECT_EQ(200u, Key(DIK_L).heldTime);
    EXPECT_FALSE(stdInput_IsPressed(DIK_X));   // pressed and released between two polls
    EXPECT_FALSE(stdInput_IsHeld(DIK_X));
    EXPECT_EQ(3u, stdInput_state.pollCounter);
    EXPECT_FALSE(stdInput_IsPressed(-1));
    EXPECT_FALSE(stdInput_IsHeld(STDINPUT_NUM_KEYS));
}

TEST_F(InputTest, MouseMovesOnlyInAPollWithEventsAndButtonsLandAfterTheScanCodes)
{
    ASSERT_EQ(1, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    fake->mouse.state.lX = 7;
    fake->mouse.state.lY = -4;
    fake->mouse.state.lZ = 120;
    fake->mouse.events = {fakeInput_Axis(0, 7, 50), fakeInput_Axis(4, -4, 50),
                          fakeInput_Axis(8, 120, 50), fakeInput_Event(MOUSE_BUTTON + 1, true, 51)};
    stdInput_Poll();
    EXPECT_EQ(7, stdInput_state.mouseDx);
    EXPECT_EQ(-4, stdInput_state.mouseDy);
    EXPECT_EQ(120, stdInput_state.mouseDz);
    EXPECT_TRUE(stdInput_IsPressed(STDINPUT_MOUSE_BUTTON0 + 1));
    EXPECT_FALSE(stdInput_IsHeld(STDINPUT_MOUSE_BUTTON0));
    stdInput_Poll();   // no mouse events: no movement, whatever the state says
    EXPECT_EQ(0, stdInput_state.mouseDx);
    EXPECT_EQ(0, stdInput_state.mouseDy);
    EXPECT_EQ(0, stdInput_state.mouseDz);
    EXPECT_TRUE(stdInput_IsHeld(STDINPUT_MOUSE_BUTTON0 + 1));
}

// A device whose first acquisition is refused (the window was not in front yet) is acquired at
// the next poll and read from then on; while it stays refused, the poll skips it.
TEST_F(InputTest, DeviceRefusedAtStartupIsAcquiredAtALaterPoll)
{
    fake->keyboard.acquireResults = {DIERR_OTHERAPPHASPRIO, DIERR_OTHERAPPHASPRIO};
    fake->mouse.acquireResults = {DIERR_OTHERAPPHASPRIO};
    ASSERT_EQ(1, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    fake->keyboard.events = {fakeInput_Event(DIK_Z, true, 10)};
    stdInput_Poll();   // keyboard still refused, mouse acquired
    EXPECT_EQ(0, fake->keyboard.readCalls);
    EXPECT_EQ(1, fake->mouse.readCalls);
    EXPECT_FALSE(stdInput_IsHeld(DIK_Z));
    stdInput_Poll();
    EXPECT_EQ(3, fake->keyboard.acquireCalls);
    EXPECT_TRUE(stdInput_IsPressed(DIK_Z));
    stdInput_Poll();
    EXPECT_EQ(3, fake->keyboard.acquireCalls);   // acquired now: no more attempts
    EXPECT_EQ(2, fake->keyboard.readCalls);
}

// Input lost (or no longer acquired) while keys were down: the releases were never seen, so
// when the device comes back its keys start up; the other device's keys stand.
TEST_F(InputTest, LostDeviceComesBackWithItsKeysUp)
{
    for (HRESULT loss : {DIERR_INPUTLOST, DIERR_NOTACQUIRED}) {
        SCOPED_TRACE(loss);
        fake = &fakeInput_Install();
        ASSERT_EQ(1, stdInput_Startup(render_GetInstance(), render_GetWindow()));
        fake->keyboard.events = {fakeInput_Event(DIK_UP, true, 10)};
        fake->mouse.events = {fakeInput_Event(MOUSE_BUTTON, true, 10)};
        stdInput_Poll();
        ASSERT_TRUE(stdInput_IsHeld(DIK_UP));
        ASSERT_TRUE(stdInput_IsHeld(STDINPUT_MOUSE_BUTTON0));

        fake->keyboard.readResults = {loss};
        fake->keyboard.acquireResults = {DIERR_OTHERAPPHASPRIO};
        stdInput_Poll();   // lost now; the table is not touched in this poll
        EXPECT_TRUE(stdInput_IsHeld(DIK_UP));
        stdInput_Poll();   // acquisition refused: skipped
        EXPECT_TRUE(stdInput_IsHeld(DIK_UP));
        fake->keyboard.events = {fakeInput_Event(DIK_DOWN, true, 900)};
        stdInput_Poll();   // back: keys up, then this poll's events
        EXPECT_FALSE(stdInput_IsHeld(DIK_UP));
        EXPECT_TRUE(stdInput_IsPressed(DIK_DOWN));
        EXPECT_TRUE(stdInput_IsHeld(STDINPUT_MOUSE_BUTTON0));
        EXPECT_EQ(3, fake->keyboard.acquireCalls);
    }
}

TEST_F(InputTest, LostMouseEndsThePollButTheKeyboardWasRead)
{
    ASSERT_EQ(1, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    fake->mouse.state.lX = 3;
    fake->mouse.readResults = {DIERR_INPUTLOST};
    fake->mouse.acquireResults = {DIERR_OTHERAPPHASPRIO};
    fake->keyboard.events = {fakeInput_Event(DIK_J, true, 5)};
    stdInput_Poll();
    EXPECT_TRUE(stdInput_IsPressed(DIK_J));
    EXPECT_EQ(0, stdInput_state.mouseDx);
    stdInput_Poll();
    EXPECT_EQ(2, fake->mouse.acquireCalls);
    EXPECT_EQ(1, fake->mouse.readCalls);
    stdInput_Poll();
    EXPECT_EQ(3, fake->mouse.acquireCalls);
    EXPECT_EQ(2, fake->mouse.readCalls);
}

TEST_F(InputTest, OtherReadFailuresAreIgnoredAndTheDeviceStaysAcquired)
{
    ASSERT_EQ(1, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    fake->keyboard.readResults = {DIERR_INVALIDPARAM};
    fake->keyboard.events = {fakeInput_Event(DIK_H, true, 5)};
    stdInput_Poll();
    EXPECT_FALSE(stdInput_IsHeld(DIK_H));
    stdInput_Poll();
    EXPECT_TRUE(stdInput_IsPressed(DIK_H));
    EXPECT_EQ(1, fake->keyboard.acquireCalls);
}

// Start-up stops at the first failure and keeps what it made; the poll skips a device that
// was not made.
TEST_F(InputTest, FailedStartupKeepsWhatWasMadeAndThePollSkipsTheRest)
{
    fake->bCreateFails = true;
    EXPECT_EQ(0, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    stdInput_Poll();
    EXPECT_EQ(0, fake->keyboard.refCount);

    fake = &fakeInput_Install();
    fake->keyboard.bCreateFails = true;
    EXPECT_EQ(0, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    fake->mouse.events = {fakeInput_Event(MOUSE_BUTTON, true, 5)};
    stdInput_Poll();
    EXPECT_EQ(0, fake->mouse.refCount);
    EXPECT_FALSE(stdInput_IsHeld(STDINPUT_MOUSE_BUTTON0));

    fake = &fakeInput_Install();
    fake->mouse.bCreateFails = true;
    EXPECT_EQ(0, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    fake->keyboard.events = {fakeInput_Event(DIK_D, true, 5)};
    stdInput_Poll();
    EXPECT_TRUE(stdInput_IsPressed(DIK_D));
    EXPECT_EQ(1, fake->keyboard.refCount);
    stdInput_Shutdown();
    EXPECT_EQ(0, fake->keyboard.refCount);
}

TEST_F(InputTest, ResetClearsTheKeyTable)
{
    ASSERT_EQ(1, stdInput_Startup(render_GetInstance(), render_GetWindow()));
    fake->keyboard.events = {fakeInput_Event(DIK_F, true, 5)};
    stdInput_Poll();
    EXPECT_EQ(0, stdInput_Reset());
    EXPECT_FALSE(stdInput_IsHeld(DIK_F));
    EXPECT_EQ(0u, Key(DIK_F).time);
}

// The real DirectInput of wine: both devices are made on a real window, and a key sent to the
// window in front reaches the table.
// The keyboard device reads only while its window is in front; there is no window manager to
// put it there.
void BringToFront(HWND window)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    SetFocus(window);
}

class InputDevice : public testing::Test {
protected:
    void TearDown() override
    {
        stdInput_Shutdown();
        render_SetWindow(nullptr);
        render_SetInstance(nullptr);
        if (window) DestroyWindow(window);
    }

    HWND window = nullptr;
};

TEST_F(InputDevice, RealDevicesReadAKeySentToTheWindowInFront)
{
    stdInput_UseSystem();
    render_SetInstance(GetModuleHandleA(nullptr));
    window = CreateWindowExA(0, "STATIC", "input", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64,
                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    BringToFront(window);
    render_SetWindow(window);
    ASSERT_EQ(1, stdInput_Startup(render_GetInstance(), render_GetWindow()));

    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = 'G';
    keys[0].ki.wScan = keys[1].ki.wScan = DIK_G;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    bool bSeen = false;
    for (int attempt = 0; attempt < 100 && !bSeen; ++attempt) {
        // Windows of other test programs on the display may take the front between attempts.
        if (GetForegroundWindow() != window) BringToFront(window);
        SendInput(1, &keys[0], sizeof(INPUT));
        MSG msg;
        for (int i = 0; i < 5; ++i) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(10);
        }
        stdInput_Poll();
        bSeen = stdInput_IsHeld(DIK_G);
    }
    EXPECT_TRUE(bSeen);
    SendInput(1, &keys[1], sizeof(INPUT));
}

}  // namespace
