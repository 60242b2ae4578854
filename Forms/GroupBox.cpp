#include "GroupBox.h"

namespace {
const int kRowHeight = 20;
const int kFirstRow = 16;
}  // namespace

bool TGroupBox::Create(TControl* parent, const std::string& caption, int left, int top, int width,
                       int height)
{
    if (!CreateHandle(parent, nullptr, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                      WS_EX_CONTROLPARENT, left, top, width, height))
        return false;
    frame_ = CreateWindowExA(0, "BUTTON", caption.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0, width,
                             height, Handle(), nullptr, FormsInstance(), nullptr);
    if (!frame_)
        return false;
    SendMessageA(frame_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetWindowPos(frame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

std::string TGroupBox::Caption() const
{
    char buffer[256] = {};
    if (frame_)
        GetWindowTextA(frame_, buffer, sizeof buffer);
    return buffer;
}

void TGroupBox::SetCaption(const std::string& caption)
{
    if (frame_)
        SetWindowTextA(frame_, caption.c_str());
}

LRESULT TGroupBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SIZE && frame_)
        MoveWindow(frame_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return TControl::WndProc(msg, wParam, lParam);
}

int TRadioGroup::AddItem(const std::string& caption)
{
    const int index = Count();
    std::unique_ptr<TRadioButton> button(new TRadioButton);
    if (!button->Create(this, caption, 8, kFirstRow + index * kRowHeight, ClientWidth() - 16,
                        kRowHeight - 2, index == 0))
        return -1;
    button->OnClick = [this](TControl*) {
        if (OnClick)
            OnClick(this);
    };
    buttons_.push_back(std::move(button));
    return index;
}

std::string TRadioGroup::Item(int index) const
{
    return index >= 0 && index < Count() ? buttons_[static_cast<size_t>(index)]->Text() : "";
}

int TRadioGroup::ItemIndex() const
{
    for (int i = 0; i < Count(); ++i)
        if (buttons_[static_cast<size_t>(i)]->Checked())
            return i;
    return -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    for (int i = 0; i < Count(); ++i)
        buttons_[static_cast<size_t>(i)]->SetChecked(i == index);
}
