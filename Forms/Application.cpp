#include "Application.h"
#include "Form.h"
#include "Hooks.h"

TApplication& Application()
{
    static TApplication application;
    return application;
}

void TApplication::UpdateHintFor(HWND hwnd)
{
    for (HWND h = hwnd; h; h = GetParent(h)) {
        const TControl* control = TControl::FromHandle(h);
        if (control && !control->Hint().empty()) {
            SetHint(control->Hint());
            return;
        }
    }
    SetHint("");
}

bool TApplication::PreDispatch(MSG& msg)
{
    if (msg.message == WM_MOUSEMOVE)
        UpdateHintFor(msg.hwnd);
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
        if (TForm* form = TForm::FormOfWindow(msg.hwnd))
            return form->PreviewKey(msg);
    return false;
}

LRESULT CALLBACK TApplication::GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    TApplication& app = Application();
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        try {
            if (app.PreDispatch(*msg))
                msg->message = WM_NULL;  // handled: the host dispatches nothing
        } catch (...) {
            app.ShowCaughtException();
        }
    }
    return CallNextHookEx(app.messageHook_, code, wParam, lParam);
}

bool TApplication::HookHostMessageLoop()
{
    if (!messageHook_)
        messageHook_ = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    return messageHook_ != nullptr;
}

void TApplication::UnhookHostMessageLoop()
{
    if (messageHook_)
        UnhookWindowsHookEx(messageHook_);
    messageHook_ = nullptr;
}

void TApplication::Dispatch(MSG& msg)
{
    // With the hook in place GetMessage and PeekMessage have already run PreDispatch.
    if (!messageHook_ && PreDispatch(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

bool TApplication::HandleMessage()
{
    MSG msg;
    const BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
        terminated_ = true;
        return false;
    }
    Dispatch(msg);
    return true;
}

bool TApplication::ProcessMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return false;
        }
        Dispatch(msg);
    }
    return !terminated_;
}

void TApplication::Run()
{
    terminated_ = false;
    while (!terminated_ && HandleMessage()) {
    }
}

void TApplication::Terminate()
{
    if (!terminated_)
        PostQuitMessage(0);
}

void TApplication::RunModalLoop(const std::function<bool()>& done)
{
    ++modalLevel_;
    MSG msg;
    while (!done()) {
        const BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // let the outer loop end as well
            terminated_ = true;
            break;
        }
        Dispatch(msg);
    }
    --modalLevel_;
}

void TApplication::SetHint(const std::string& hint)
{
    if (hint == hint_)
        return;
    hint_ = hint;
    if (OnHint)
        OnHint();
}

std::string TApplication::GetShortHint(const std::string& hint)
{
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string TApplication::GetLongHint(const std::string& hint)
{
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

void TApplication::SetWaitCursor(bool wait)
{
    waitCursor_ = wait;
    // The system's shared cursors, looked up once: a command shows and hides the wait cursor
    // every time it runs.
    static const HCURSOR waitCursor = LoadCursorA(nullptr, IDC_WAIT);
    static const HCURSOR arrowCursor = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(wait ? waitCursor : arrowCursor);
}

void TApplication::ShowException(const std::exception& e)
{
    MessageDlg(e.what(), title_.empty() ? "Error" : title_, MB_OK, MB_ICONERROR);
}

void TApplication::ShowCaughtException()
{
    // Nothing may leave here: the caller is a procedure that Windows called.
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            ShowException(e);
        } catch (...) {
            MessageDlg("An unexpected error stopped the last action.", title_.empty() ? "Error" : title_, MB_OK,
                       MB_ICONERROR);
        }
    } catch (...) {
    }
}
