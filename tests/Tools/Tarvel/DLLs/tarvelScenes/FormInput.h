// What a user does to the panel's windows, sent as the mouse messages and control notifications
// that the real controls produce, and a script of steps run one by one inside a modal loop.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <deque>
#include <functional>
#include <string>

inline void FormInput_ClickAt(HWND hwnd, int x, int y)
{
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

inline void FormInput_DoubleClickAt(HWND hwnd, int x, int y)
{
    FormInput_ClickAt(hwnd, x, y);
    SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

inline void FormInput_ClickRect(HWND hwnd, const RECT& r)
{
    FormInput_ClickAt(hwnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A row of a list view (also a check list), clicked on its text.
inline void FormInput_ClickRow(HWND list, int row)
{
    RECT r = {};
    r.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, row, (LPARAM)&r);
    FormInput_ClickRect(list, r);
}

inline void FormInput_DoubleClickRow(HWND list, int row)
{
    RECT r = {};
    r.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, row, (LPARAM)&r);
    FormInput_DoubleClickAt(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Ticks or clears an item's check box as a click on it does.
inline void FormInput_Tick(HWND list, int row, bool ticked)
{
    ListView_SetCheckState(list, row, ticked ? TRUE : FALSE);
}

// The tool button of a command, clicked.
inline void FormInput_ClickToolButton(HWND bar, WORD command)
{
    int index = (int)SendMessageA(bar, TB_COMMANDTOINDEX, command, 0);
    RECT r = {};
    SendMessageA(bar, TB_GETITEMRECT, index, (LPARAM)&r);
    FormInput_ClickRect(bar, r);
}

inline void FormInput_ClickTab(HWND tabs, int index)
{
    RECT r = {};
    SendMessageA(tabs, TCM_GETITEMRECT, index, (LPARAM)&r);
    FormInput_ClickRect(tabs, r);
}

// A child button of a container by its caption (radio items), clicked.
inline void FormInput_ClickButton(HWND parent, const char* caption)
{
    HWND button = FindWindowExA(parent, nullptr, "Button", caption);
    SendMessageA(button, BM_CLICK, 0, 0);
}

// A drop-down list's choice, as the control reports it to its parent.
inline void FormInput_ChooseComboItem(HWND combo, int index)
{
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), (LPARAM)combo);
}

// The up arrow of an up-down control, clicked.
inline void FormInput_ClickUp(HWND updown)
{
    RECT r = {};
    GetClientRect(updown, &r);
    FormInput_ClickAt(updown, r.right / 2, r.bottom / 4);
}

// Steps run one per timer tick, also inside modal loops that a step opens; the script ends with
// the step that closes the outermost window.
class TFormScript {
public:
    std::deque<std::function<void()>> steps;

    void Start(UINT interval = 15)
    {
        if (timer_)
            KillTimer(nullptr, timer_);  // a second run of the same script
        current() = this;
        timer_ = SetTimer(nullptr, 0, interval, Tick);
    }
    ~TFormScript()
    {
        if (timer_)
            KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    bool Done() const { return steps.empty(); }

private:
    static TFormScript*& current()
    {
        static TFormScript* script = nullptr;
        return script;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TFormScript* script = current();
        if (!script || script->steps.empty())
            return;
        std::function<void()> step = std::move(script->steps.front());
        script->steps.pop_front();
        step();
    }
    UINT_PTR timer_ = 0;
};
