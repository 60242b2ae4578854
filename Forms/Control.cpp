#include "Control.h"
#include "Application.h"
#include "Menu.h"
#include <commctrl.h>
#include <algorithm>
#include <unordered_map>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
const char kWrapperProp[] = "KorbaltControl";
const char kContainerClass[] = "KorbaltForms";
bool g_classRegistered = false;

// The wrappers of this module by window. Wine keeps window properties in its server, so looking
// the property up for every message (a tree view deleting a branch notifies once per item) costs
// a round trip each; the map answers for our own windows, the property for those of another
// module (a panel inside its host). Never freed: wrappers may outlive static destruction.
std::unordered_map<HWND, TControl*>& Wrappers()
{
    static auto* wrappers = new std::unordered_map<HWND, TControl*>;
    return *wrappers;
}
}  // namespace

bool TControl::EnsureClasses()
{
    if (g_classRegistered)
        return true;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ContainerProc;
    wc.hInstance = FormsInstance();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kContainerClass;
    g_classRegistered = RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return g_classRegistered;
}

HINSTANCE FormsInstance()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void UnregisterFormClasses()
{
    if (g_classRegistered)
        UnregisterClassA(kContainerClass, FormsInstance());
    g_classRegistered = false;
}

TControl::~TControl()
{
    for (TControl* child : children_)
        child->parent_ = nullptr;
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    DestroyHandle();
}

TControl* TControl::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    const auto found = Wrappers().find(hwnd);
    if (found != Wrappers().end())
        return found->second;
    return static_cast<TControl*>(GetPropA(hwnd, kWrapperProp));
}

void TControl::Attach(HWND hwnd)
{
    hwnd_ = hwnd;
    SetPropA(hwnd, kWrapperProp, this);
    Wrappers()[hwnd] = this;
}

void TControl::Detach()
{
    const auto found = Wrappers().find(hwnd_);
    if (found != Wrappers().end() && found->second == this)
        Wrappers().erase(found);
    if (hwnd_ && IsWindow(hwnd_) && GetPropA(hwnd_, kWrapperProp) == this)
        RemovePropA(hwnd_, kWrapperProp);
    hwnd_ = nullptr;
    HandleDestroyed();
}

bool TControl::CreateHandle(TControl* parent, HWND parentWindow, const char* className,
                            const std::string& text, DWORD style, DWORD exStyle,
                            int left, int top, int width, int height)
{
    if (hwnd_ || !EnsureClasses())
        return false;
    if (parent)
        parentWindow = parent->Handle();
    const bool container = className == nullptr;
    parent_ = parent;
    if (parent)
        parent->children_.push_back(this);
    // Our container windows attach themselves at WM_NCCREATE so that they see WM_CREATE.
    HWND hwnd = CreateWindowExA(exStyle, container ? kContainerClass : className, text.c_str(), style,
                                left, top, width, height, parentWindow, nullptr, FormsInstance(),
                                container ? this : nullptr);
    if (!hwnd) {
        if (parent) {
            auto& siblings = parent->children_;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        }
        parent_ = nullptr;
        return false;
    }
    if (!container)
        Attach(hwnd);
    return true;
}

void TControl::DestroyHandle()
{
    if (hwnd_ && IsWindow(hwnd_) && GetPropA(hwnd_, kWrapperProp) == this) {
        HWND hwnd = hwnd_;
        DestroyWindow(hwnd);  // containers detach at WM_NCDESTROY
    }
    if (hwnd_)
        Detach();
}

LRESULT CALLBACK TControl::ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (cs->lpCreateParams)
            static_cast<TControl*>(cs->lpCreateParams)->Attach(hwnd);
    }
    TControl* self = FromHandle(hwnd);
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->WndProc(msg, wParam, lParam);
    } catch (...) {
        Application().ShowCaughtException();
    }
    if (msg == WM_NCDESTROY) {
        // Standard controls below us are gone now; tell their wrappers.
        for (TControl* child : self->children_)
            if (child->hwnd_ && !IsWindow(child->hwnd_))
                child->Detach();
        self->Detach();
    }
    return result;
}

bool TControl::SubclassWindow()
{
    if (!hwnd_ || oldProc_)
        return false;
    oldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    return oldProc_ != nullptr;
}

bool TControl::ControlMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT CALLBACK TControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TControl* self = FromHandle(hwnd);
    if (!self || !self->oldProc_)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    const WNDPROC original = self->oldProc_;
    LRESULT result = 0;
    try {
        if (self->ControlMessage(msg, wParam, lParam, result))
            return result;
    } catch (...) {
        Application().ShowCaughtException();
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        self->oldProc_ = nullptr;
    }
    return CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

LRESULT TControl::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT TControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (TControl* child = FromHandle(header->hwndFrom))
            if (child != this && child->Notify(header, result))
                return result;
        break;
    }
    case WM_COMMAND:
        if (lParam)
            if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam)))
                if (child != this && child->CommandId(LOWORD(wParam), HIWORD(wParam)))
                    return 0;
        if (!lParam && HIWORD(wParam) == 0 && DispatchMenuCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_INITMENUPOPUP:
        DispatchMenuPopup(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            LRESULT result = 0;
            if (child != this && child->Reflected(msg, wParam, lParam, result))
                return result;
        }
        break;
    case WM_SIZE:
        AlignControls();
        break;
    case WM_SETCURSOR:
        if (Application().WaitCursor()) {  // busy: the wait cursor stays over all our windows
            SetCursor(LoadCursorA(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}

bool TControl::Notify(NMHDR*, LRESULT&)
{
    return false;
}

bool TControl::Command(WORD)
{
    return false;
}

bool TControl::Reflected(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

std::string TControl::Text() const
{
    if (!hwnd_)
        return "";
    const int length = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(hwnd_, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void TControl::SetText(const std::string& text)
{
    if (hwnd_)
        SetWindowTextA(hwnd_, text.c_str());
}

namespace {
RECT BoundsInParent(HWND hwnd)
{
    RECT r = {};
    GetWindowRect(hwnd, &r);
    HWND parent = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
    if (parent)
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
}  // namespace

int TControl::Left() const { return hwnd_ ? BoundsInParent(hwnd_).left : 0; }
int TControl::Top() const { return hwnd_ ? BoundsInParent(hwnd_).top : 0; }

int TControl::Width() const
{
    RECT r = {};
    if (hwnd_)
        GetWindowRect(hwnd_, &r);
    return r.right - r.left;
}

int TControl::Height() const
{
    RECT r = {};
    if (hwnd_)
        GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}

int TControl::ClientWidth() const
{
    RECT r = {};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return r.right;
}

int TControl::ClientHeight() const
{
    RECT r = {};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return r.bottom;
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (hwnd_)
        MoveWindow(hwnd_, left, top, width, height, TRUE);
}

bool TControl::Visible() const
{
    return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetVisible(bool visible)
{
    if (!hwnd_ || visible == Visible())
        return;
    ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

bool TControl::Enabled() const
{
    return hwnd_ && IsWindowEnabled(hwnd_);
}

void TControl::SetEnabled(bool enabled)
{
    if (hwnd_)
        EnableWindow(hwnd_, enabled);
}

void TControl::SetFocus()
{
    if (hwnd_)
        ::SetFocus(hwnd_);
}

bool TControl::Focused() const
{
    return hwnd_ && GetFocus() == hwnd_;
}

void TControl::SetAlign(TAlign align)
{
    align_ = align;
    if (parent_)
        parent_->AlignControls();
}

void TControl::AlignControls()
{
    if (!hwnd_)
        return;
    RECT area = {};
    GetClientRect(hwnd_, &area);
    const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign pass : order) {
        for (TControl* c : children_) {
            if (c->align_ != pass || !c->Visible())
                continue;
            const int w = c->Width();
            const int h = c->Height();
            switch (pass) {
            case alTop:
                c->SetBounds(area.left, area.top, area.right - area.left, h);
                area.top += h;
                break;
            case alBottom:
                c->SetBounds(area.left, area.bottom - h, area.right - area.left, h);
                area.bottom -= h;
                break;
            case alLeft:
                c->SetBounds(area.left, area.top, w, area.bottom - area.top);
                area.left += w;
                break;
            case alRight:
                c->SetBounds(area.right - w, area.top, w, area.bottom - area.top);
                area.right -= w;
                break;
            default:
                c->SetBounds(area.left, area.top, std::max<LONG>(0, area.right - area.left),
                             std::max<LONG>(0, area.bottom - area.top));
                break;
            }
        }
    }
}
