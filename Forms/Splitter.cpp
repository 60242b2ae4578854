#include "Splitter.h"
#include <algorithm>

bool TSplitter::Create(TControl* parent, TControl* control, int thickness)
{
    if (!control || control->Align() == alNone || control->Align() == alClient)
        return false;
    control_ = control;
    const bool vertical = control->Align() == alLeft || control->Align() == alRight;
    if (!CreateHandle(parent, nullptr, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                      0, vertical ? thickness : 10, vertical ? 10 : thickness))
        return false;
    SetAlign(control->Align());
    return true;
}

bool TSplitter::Horizontal() const
{
    return control_->Align() == alLeft || control_->Align() == alRight;
}

int TSplitter::ControlSize() const
{
    return Horizontal() ? control_->Width() : control_->Height();
}

int TSplitter::MousePos(LPARAM lParam) const
{
    POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MapWindowPoints(Handle(), GetParent(Handle()), &p, 1);
    return Horizontal() ? p.x : p.y;
}

bool TSplitter::MoveTo(int newSize)
{
    if (!control_ || !Parent())
        return false;
    const int room = (Horizontal() ? Parent()->ClientWidth() : Parent()->ClientHeight()) -
                     (Horizontal() ? Width() : Height());
    int upper = maxSize_ > 0 ? std::min(maxSize_, room) : room;
    newSize = std::max(minSize_, std::min(newSize, upper));
    bool accept = true;
    if (OnCanResize)
        OnCanResize(newSize, accept);
    if (!accept || newSize == ControlSize() || newSize < 0)
        return false;
    if (Horizontal())
        control_->SetBounds(control_->Left(), control_->Top(), newSize, control_->Height());
    else
        control_->SetBounds(control_->Left(), control_->Top(), control_->Width(), newSize);
    Parent()->AlignControls();
    return true;
}

LRESULT TSplitter::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorA(nullptr, Horizontal() ? IDC_SIZEWE : IDC_SIZENS));
        return TRUE;
    case WM_LBUTTONDOWN:
        dragging_ = true;
        dragStart_ = MousePos(lParam);
        sizeAtStart_ = ControlSize();
        SetCapture(Handle());
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_) {
            const int delta = MousePos(lParam) - dragStart_;
            const bool grows = control_->Align() == alLeft || control_->Align() == alTop;
            MoveTo(sizeAtStart_ + (grows ? delta : -delta));
        }
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ReleaseCapture();
            if (OnMoved)
                OnMoved();
        }
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
    default:
        return TControl::WndProc(msg, wParam, lParam);
    }
}
