#include "Form.h"
#include "Application.h"
#include "Hooks.h"
#include <vector>

TForm::~TForm()
{
    if (Application().MainForm() == this)
        Application().SetMainForm(nullptr);
    DestroyHandle();
}

bool TForm::CreateForm(const std::string& caption, int left, int top, int width, int height,
                       TFormKind kind, HWND host)
{
    kind_ = kind;
    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    switch (kind) {
    case fkTopLevel:
        style |= WS_OVERLAPPEDWINDOW;
        break;
    case fkChildOfHost:
        style |= WS_CHILD | WS_CLIPSIBLINGS;
        parent = host;
        break;
    case fkPlainTopLevel:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        break;
    case fkDialog:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (!CreateHandle(nullptr, parent, nullptr, caption, style, exStyle, left, top, width, height))
        return false;
    CreateComponents();
    AlignControls();
    if (OnCreate)
        OnCreate();
    return true;
}

void TForm::BringToFront()
{
    if (HandleAllocated())
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void TForm::CenterOnScreen()
{
    const int x = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
    SetBounds(x, y, Width(), Height());
}

TForm* TForm::FormOfWindow(HWND hwnd)
{
    for (HWND h = hwnd; h; h = (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
        if (auto* form = dynamic_cast<TForm*>(FromHandle(h)))
            return form;
    return nullptr;
}

bool TForm::PreviewKey(MSG& msg)
{
    keyWindow_ = msg.hwnd;
    if (keyPreview_) {
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && OnKeyDown) {
            WORD key = static_cast<WORD>(msg.wParam);
            OnKeyDown(key);
            if (key == 0)
                return true;
            msg.wParam = key;
        } else if ((msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && OnKeyUp) {
            WORD key = static_cast<WORD>(msg.wParam);
            OnKeyUp(key);
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
    if (msg.message == WM_KEYDOWN) {
        TControl* button = msg.wParam == VK_RETURN ? defaultButton_ : msg.wParam == VK_ESCAPE ? cancelButton_ : nullptr;
        if (button && button->Enabled() && button->Visible()) {
            button->Click();
            return true;
        }
    }
    // Tab only: arrows and Enter stay with the control (tree views and lists need them).
    return (msg.message == WM_KEYDOWN || msg.message == WM_CHAR) && msg.wParam == VK_TAB &&
           IsDialogMessageA(Handle(), &msg);
}

bool TForm::Close()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(canClose);
    if (!canClose)
        return false;
    if (inModal_) {
        if (modalResult_ == mrNone)
            modalResult_ = mrCancel;
        return true;  // the modal loop hides the form
    }
    Hide();
    if (Application().MainForm() == this)
        Application().Terminate();
    return true;
}

int TForm::ShowModal()
{
    return ModalHooks().ShowModal(*this, [this] { return RunModalLoop(); });
}

namespace {
struct DisabledWindows {
    HWND keep;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM param)
{
    auto* d = reinterpret_cast<DisabledWindows*>(param);
    if (hwnd != d->keep && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        d->windows.push_back(hwnd);
    }
    return TRUE;
}
}  // namespace

int TForm::RunModalLoop()
{
    if (!HandleAllocated() || inModal_)
        return mrNone;
    DisabledWindows disabled{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
    modalResult_ = mrNone;
    inModal_ = true;
    Show();
    BringToFront();
    Application().RunModalLoop([this] { return modalResult_ != mrNone || !HandleAllocated(); });
    inModal_ = false;
    for (HWND hwnd : disabled.windows)
        if (IsWindow(hwnd))
            EnableWindow(hwnd, TRUE);
    Hide();
    return modalResult_ == mrNone ? mrCancel : modalResult_;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && OnActivate)
            OnActivate();
        break;
    case WM_SHOWWINDOW:
        if (wParam && OnShow)
            OnShow();
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        if (OnDestroy)
            OnDestroy();
        break;
    case WM_MOVE:
        if (OnMove)
            OnMove();
        break;
    case WM_SIZE: {
        const LRESULT r = TControl::WndProc(msg, wParam, lParam);
        if (OnResize)
            OnResize();
        return r;
    }
    default:
        break;
    }
    return TControl::WndProc(msg, wParam, lParam);
}
