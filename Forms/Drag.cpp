#include "Drag.h"

namespace {
class TDragWindow : public TControl {
public:
    bool Start()
    {
        if (!HandleAllocated() &&
            !CreateHandle(nullptr, nullptr, nullptr, "", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0))
            return false;
        SetCapture(Handle());
        return true;
    }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

TControl* g_source = nullptr;
TDragWindow* g_window = nullptr;

struct TTopSearch {
    POINT screen;
    HWND found;
};

BOOL CALLBACK FindOwnTopAt(HWND top, LPARAM param)
{
    auto* search = reinterpret_cast<TTopSearch*>(param);
    RECT r = {};
    if (GetWindowThreadProcessId(top, nullptr) != GetCurrentThreadId() || !IsWindowVisible(top) ||
        !GetWindowRect(top, &r) || !PtInRect(&r, search->screen))
        return TRUE;
    search->found = top;
    return FALSE;
}

// The innermost visible window of this thread under a screen point. Drags stay within the
// program, so windows of other programs above ours do not count. EnumWindows walks a snapshot
// of the z-order: walking it with GetWindow would stop short whenever another program destroys
// the window it stands on.
HWND OwnWindowAt(POINT screen)
{
    TTopSearch search = {screen, nullptr};
    EnumWindows(FindOwnTopAt, reinterpret_cast<LPARAM>(&search));
    for (HWND hwnd = search.found; hwnd;) {
        POINT client = screen;
        ScreenToClient(hwnd, &client);
        HWND child = ChildWindowFromPointEx(hwnd, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == hwnd)
            return hwnd;
        hwnd = child;
    }
    return nullptr;
}

// The control under a screen point that accepts drops, and the point in its client area.
TDragTarget* TargetAt(POINT screen, TControl*& control, POINT& client)
{
    for (HWND hwnd = OwnWindowAt(screen); hwnd; hwnd = GetParent(hwnd)) {
        control = TControl::FromHandle(hwnd);
        if (auto* target = dynamic_cast<TDragTarget*>(control)) {
            client = screen;
            ScreenToClient(hwnd, &client);
            return target;
        }
    }
    return nullptr;
}

bool Ask(TDragTarget* target, POINT client)
{
    bool accept = true;
    if (!target->OnDragOver)
        return false;
    target->OnDragOver(g_source, client.x, client.y, accept);
    return accept;
}

void EndDrag()
{
    g_source = nullptr;
    if (!g_window || !g_window->HandleAllocated())
        return;
    if (GetCapture() == g_window->Handle())
        ReleaseCapture();
    PostMessageA(g_window->Handle(), WM_CLOSE, 0, 0);
}

LRESULT TDragWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
    case WM_MOUSEMOVE:
        if (g_source) {
            ClientToScreen(Handle(), &p);
            SetCursor(LoadCursorA(nullptr, DragOverAt(p) ? IDC_ARROW : IDC_NO));
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (g_source) {
            ClientToScreen(Handle(), &p);
            DropAt(p);
        }
        return 0;
    case WM_CAPTURECHANGED:
        g_source = nullptr;
        return 0;
    case WM_CLOSE:
        // The window lives only during a drag, so that no window of ours outlives a DLL.
        if (!g_source)
            DestroyWindow(Handle());
        return 0;
    default:
        return TControl::WndProc(msg, wParam, lParam);
    }
}
}  // namespace

bool BeginDrag(TControl* source)
{
    if (g_source || !source)
        return false;
    static TDragWindow window;  // its window exists only while a drag runs
    g_window = &window;
    g_source = source;
    if (!window.Start()) {
        g_source = nullptr;
        return false;
    }
    return true;
}

bool Dragging()
{
    return g_source != nullptr;
}

TControl* DragSource()
{
    return g_source;
}

bool DragOverAt(POINT screen)
{
    TControl* control = nullptr;
    POINT client = {};
    TDragTarget* target = g_source ? TargetAt(screen, control, client) : nullptr;
    return target && Ask(target, client);
}

bool DropAt(POINT screen)
{
    TControl* control = nullptr;
    POINT client = {};
    TDragTarget* target = g_source ? TargetAt(screen, control, client) : nullptr;
    const bool dropped = target && Ask(target, client) && target->OnDragDrop;
    TControl* source = g_source;
    EndDrag();
    if (dropped)
        target->OnDragDrop(source, client.x, client.y);
    return dropped;
}

void CancelDrag()
{
    EndDrag();
}
