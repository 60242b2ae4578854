#include "PageControl.h"
#include <commctrl.h>

int TTabSheet::PageIndex() const
{
    for (int i = 0; i < owner_->PageCount(); ++i)
        if (owner_->Page(i) == this)
            return i;
    return -1;
}

bool TTabSheet::Make(const std::string& caption)
{
    // Pages are our containers, children of the tab control: the notifications of their
    // controls reach the page and from there the controls' wrappers.
    return CreateHandle(owner_, nullptr, nullptr, caption, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        WS_EX_CONTROLPARENT, 0, 0, 10, 10);
}

bool TPageControl::Create(TControl* parent, int left, int top, int width, int height)
{
    if (!CreateControl(parent, WC_TABCONTROLA, "", WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                       WS_EX_CONTROLPARENT, left, top, width, height))
        return false;
    return SubclassWindow();
}

TTabSheet* TPageControl::Page(int index) const
{
    return index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)].get() : nullptr;
}

TTabSheet* TPageControl::AddPage(const std::string& caption)
{
    std::unique_ptr<TTabSheet> page(new TTabSheet(this));
    if (!page->Make(caption))
        return nullptr;
    if (tabsVisible_) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(caption.c_str());
        Send(TCM_INSERTITEMA, pages_.size(), reinterpret_cast<LPARAM>(&item));
    }
    pages_.push_back(std::move(page));
    if (active_ < 0)
        active_ = 0;
    LayoutPages();
    ShowActive();
    return pages_.back().get();
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->owner_ == this)
        SetActivePageIndex(page->PageIndex());
}

void TPageControl::SetActivePageIndex(int index)
{
    if (!Page(index))
        return;
    active_ = index;
    if (tabsVisible_)
        Send(TCM_SETCURSEL, static_cast<WPARAM>(index));
    ShowActive();
}

void TPageControl::SetTabsVisible(bool visible)
{
    if (visible == tabsVisible_)
        return;
    tabsVisible_ = visible;
    Send(TCM_DELETEALLITEMS);
    if (visible) {
        for (size_t i = 0; i < pages_.size(); ++i) {
            const std::string caption = pages_[i]->Caption();
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(caption.c_str());
            Send(TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        Send(TCM_SETCURSEL, static_cast<WPARAM>(active_));
    }
    LayoutPages();
}

void TPageControl::LayoutPages()
{
    RECT r = {};
    GetClientRect(Handle(), &r);
    if (tabsVisible_)
        Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    for (auto& page : pages_)
        page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::ShowActive()
{
    for (int i = 0; i < PageCount(); ++i)
        pages_[static_cast<size_t>(i)]->SetVisible(i == active_);
}

bool TPageControl::Notify(NMHDR* header, LRESULT& result)
{
    switch (header->code) {
    case TCN_SELCHANGING: {
        bool allow = true;
        if (OnChanging)
            OnChanging(allow);
        result = allow ? FALSE : TRUE;
        return true;
    }
    case TCN_SELCHANGE:
        active_ = static_cast<int>(Send(TCM_GETCURSEL));
        ShowActive();
        if (OnChange)
            OnChange();
        return true;
    default:
        return false;
    }
}

bool TPageControl::ControlMessage(UINT msg, WPARAM, LPARAM, LRESULT&)
{
    if (msg == WM_SIZE)
        LayoutPages();
    return false;
}
