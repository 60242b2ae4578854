#include "ToolBar.h"
#include "Application.h"
#include "ImageList.h"

bool TToolBar::Create(TControl* parent, int left, int top, int width, int height)
{
    // Our parent's alignment places the bar: no self-placement, no divider line.
    const DWORD style = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE |
                        CCS_NODIVIDER;
    if (!CreateControl(parent, TOOLBARCLASSNAMEA, "", style, 0, left, top, width, height))
        return false;
    Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

void TToolBar::UseStandardImages()
{
    Send(TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
}

void TToolBar::SetImages(TImageList* images)
{
    Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

TToolButton* TToolBar::AddButton(int image, const std::string& hint, TToolButtonEvent onClick,
                                 bool check)
{
    TBBUTTON b = {};
    b.iBitmap = image;
    b.idCommand = nextId_;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = check ? BTNS_CHECK : BTNS_BUTTON;
    if (!Send(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b)))
        return nullptr;
    buttons_.emplace_back(new TToolButton(this, nextId_++));
    TToolButton* button = buttons_.back().get();
    button->OnClick = std::move(onClick);
    button->SetHint(hint);
    return button;
}

void TToolBar::AddSeparator()
{
    TBBUTTON b = {};
    b.iBitmap = 6;  // the gap's width
    b.fsStyle = BTNS_SEP;
    Send(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
}

int TToolBar::ButtonCount() const
{
    return static_cast<int>(Send(TB_BUTTONCOUNT));
}

TToolButton* TToolBar::Button(WORD command) const
{
    for (const auto& b : buttons_)
        if (b->id_ == command)
            return b.get();
    return nullptr;
}

bool TToolBar::CommandId(WORD id, WORD code)
{
    TToolButton* button = Button(id);
    if (!button || code != BN_CLICKED)
        return false;
    if (button->OnClick)
        button->OnClick(button);
    return true;
}

bool TToolBar::Notify(NMHDR* header, LRESULT&)
{
    if (header->code != TBN_HOTITEMCHANGE)
        return false;
    const auto* nm = reinterpret_cast<const NMTBHOTITEM*>(header);
    const TToolButton* button = (nm->dwFlags & HICF_LEAVING) ? nullptr : Button(static_cast<WORD>(nm->idNew));
    // The bar's own hint follows the hot button, so the application's hint of the control under
    // the mouse is the button's.
    SetHint(button ? button->hint_ : std::string());
    Application().SetHint(Hint());
    return false;
}

// ---- TToolButton ----

bool TToolButton::Enabled() const
{
    return bar_->Send(TB_ISBUTTONENABLED, id_) != 0;
}

void TToolButton::SetEnabled(bool enabled)
{
    bar_->Send(TB_ENABLEBUTTON, id_, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool TToolButton::Down() const
{
    return bar_->Send(TB_ISBUTTONCHECKED, id_) != 0;
}

void TToolButton::SetDown(bool down)
{
    bar_->Send(TB_CHECKBUTTON, id_, MAKELPARAM(down ? TRUE : FALSE, 0));
}

int TToolButton::ImageIndex() const
{
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    return bar_->Send(TB_GETBUTTONINFOA, id_, reinterpret_cast<LPARAM>(&info)) >= 0 ? info.iImage : -1;
}

void TToolButton::SetHint(const std::string& hint)
{
    hint_ = hint;
    // The bar made a tool per button in its tooltip; give it our short text.
    HWND tooltip = reinterpret_cast<HWND>(bar_->Send(TB_GETTOOLTIPS));
    if (!tooltip)
        return;
    const std::string shortHint = TApplication::GetShortHint(hint);
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = bar_->Handle();
    info.uId = id_;
    info.lpszText = const_cast<char*>(shortHint.c_str());
    SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void TToolButton::Click()
{
    if (!Enabled())
        return;
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE;
    bar_->Send(TB_GETBUTTONINFOA, id_, reinterpret_cast<LPARAM>(&info));
    if (info.fsStyle & BTNS_CHECK)
        SetDown(!Down());
    if (OnClick)
        OnClick(this);
}
