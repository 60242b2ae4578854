// Key routing of forms. A message hook of the GUI thread sees every key message before it is
// dispatched, also in a loop that is not ours (a host program's loop around a panel DLL's
// form), and offers it to the form that holds the window.
#include "Button.h"
#include "Form.h"

namespace {
HHOOK g_hook = nullptr;
int g_forms = 0;

bool IsKeyMessage(UINT msg)
{
    return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR || msg == WM_SYSKEYDOWN ||
           msg == WM_SYSKEYUP;
}

TForm* FormOf(HWND hwnd)
{
    for (; hwnd; hwnd = GetParent(hwnd))
        if (auto* form = dynamic_cast<TForm*>(TControl::FromHandle(hwnd)))
            return form;
    return nullptr;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (IsKeyMessage(msg->message))
            if (TForm* form = FormOf(msg->hwnd))
                if (form->PreviewKey(*msg))
                    msg->message = WM_NULL;
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

UINT ShiftState()
{
    return ((GetKeyState(VK_SHIFT) & 0x8000) ? MK_SHIFT : 0) |
           ((GetKeyState(VK_CONTROL) & 0x8000) ? MK_CONTROL : 0);
}

bool Pressable(TButton* button)
{
    return button && button->HandleAllocated() && IsWindowVisible(button->Handle()) &&
           IsWindowEnabled(button->Handle());
}

LRESULT DialogCode(HWND hwnd, MSG& msg)
{
    return hwnd ? SendMessageA(hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) : 0;
}
}  // namespace

bool AddKeyRouting()
{
    if (!g_hook)
        g_hook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    if (!g_hook)
        return false;
    ++g_forms;
    return true;
}

void ReleaseKeyRouting()
{
    if (g_forms > 0 && --g_forms == 0 && g_hook) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
}

void TForm::SelectNext(bool forward)
{
    if (!HandleAllocated())
        return;
    HWND focus = GetFocus();
    if (focus && !IsChild(Handle(), focus))
        focus = nullptr;
    HWND next = GetNextDlgTabItem(Handle(), focus, forward ? FALSE : TRUE);
    if (next)
        ::SetFocus(next);
}

bool TForm::PreviewKey(MSG& msg)
{
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    if (KeyPreview) {
        if ((down && OnKeyDown) || (up && OnKeyUp)) {
            WORD key = static_cast<WORD>(msg.wParam);
            (down ? OnKeyDown : OnKeyUp)(key, ShiftState());
            if (key == 0)
                return true;
            msg.wParam = key;
        } else if (msg.message == WM_CHAR && OnKeyPress) {
            char key = static_cast<char>(msg.wParam);
            OnKeyPress(key);
            if (key == 0)
                return true;
            msg.wParam = static_cast<unsigned char>(key);
        }
    }
    if (msg.message != WM_KEYDOWN)
        return false;
    const UINT shift = ShiftState();
    const LRESULT wants = DialogCode(msg.hwnd, msg);
    switch (msg.wParam) {
    case VK_TAB:
        if ((shift & MK_CONTROL) || (wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS)))
            return false;
        SelectNext(!(shift & MK_SHIFT));
        return true;
    case VK_RETURN: {
        if (wants & DLGC_WANTALLKEYS)
            return false;
        if (auto* focused = dynamic_cast<TButton*>(TControl::FromHandle(msg.hwnd))) {
            focused->Click();
            return true;
        }
        if (!Pressable(DefaultButton))
            return false;
        DefaultButton->Click();
        return true;
    }
    case VK_ESCAPE:
        if (!Pressable(CancelButton))
            return false;
        CancelButton->Click();
        return true;
    default:
        return false;
    }
}
