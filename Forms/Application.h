// The application object: title, the message loop, nested modal loops, the hint line and the
// wait cursor. One per module; forms reach it through Application(). The application, the
// controls and the forms know each other: see Control.h.
#pragma once
#include <windows.h>
#include <exception>
#include <functional>
#include <string>

class TForm;

class TApplication {
public:
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // Runs the message loop until Terminate() or the main form closes. The first form passed to
    // SetMainForm is the main form; closing it ends Run.
    void SetMainForm(TForm* form) { mainForm_ = form; }
    TForm* MainForm() const { return mainForm_; }
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Handles every message waiting in the queue without blocking; false once the loop must end.
    bool ProcessMessages();
    // Waits for one message and handles it; false when WM_QUIT came.
    bool HandleMessage();
    // A nested loop that runs until done() answers true or the application ends (the quit
    // message is posted again so that the outer loop ends too). Modal forms run inside one.
    void RunModalLoop(const std::function<bool()>& done);
    int ModalLevel() const { return modalLevel_; }

    // The hint of the control under the mouse, "short|long"; OnHint runs at every change.
    void SetHint(const std::string& hint);
    const std::string& Hint() const { return hint_; }
    std::function<void()> OnHint;
    static std::string GetShortHint(const std::string& hint);
    static std::string GetLongHint(const std::string& hint);

    // Wait cursor while the program is busy, arrow otherwise.
    void SetWaitCursor(bool wait);
    bool WaitCursor() const { return waitCursor_; }

    // An exception caught at the message loop or in a window procedure: shown, not fatal.
    void ShowException(const std::exception& e);
    // Inside a catch block at a boundary with Windows: shows what was caught, of any type, and
    // lets nothing escape.
    void ShowCaughtException();

    // The hint of the control under the mouse: its own, or its nearest parent's.
    void UpdateHintFor(HWND hwnd);

    // What our loops do before a message is dispatched: hints, key preview, default and cancel
    // buttons, Tab. True when the message was handled and must not be dispatched.
    bool PreDispatch(MSG& msg);
    // In a DLL the host runs the message loop: this hook on the calling thread runs PreDispatch
    // for every message that the host's loop takes, so panels behave as in our own loops.
    bool HookHostMessageLoop();
    void UnhookHostMessageLoop();
    bool HostMessageLoopHooked() const { return messageHook_ != nullptr; }

private:
    void Dispatch(MSG& msg);
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK messageHook_ = nullptr;

    std::string title_;
    std::string hint_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool waitCursor_ = false;
    int modalLevel_ = 0;
};

TApplication& Application();
