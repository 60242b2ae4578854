// Page control: a tab control whose pages are containers of ours. The tabs can be hidden (one
// page shows at a time, chosen by the program). A page's caption is its window text.
#pragma once
#include "StdControl.h"
#include <memory>
#include <vector>

class TPageControl;

class TTabSheet : public TControl {
public:
    TPageControl* PageControl() const { return owner_; }
    int PageIndex() const;
    std::string Caption() const { return Text(); }

private:
    friend class TPageControl;
    explicit TTabSheet(TPageControl* owner) : owner_(owner) {}
    bool Make(const std::string& caption);
    TPageControl* owner_;
};

class TPageControl : public TStdControl {
public:
    bool Create(TControl* parent, int left, int top, int width, int height);
    // A new last page (the first page made becomes the active one).
    TTabSheet* AddPage(const std::string& caption);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Page(int index) const;

    TTabSheet* ActivePage() const { return Page(active_); }
    int ActivePageIndex() const { return active_; }
    // By program: no events.
    void SetActivePage(TTabSheet* page);
    void SetActivePageIndex(int index);

    void SetTabsVisible(bool visible);
    bool TabsVisible() const { return tabsVisible_; }

    // The user picks another tab: OnChanging may refuse, OnChange follows the change.
    std::function<void(bool& allow)> OnChanging;
    std::function<void()> OnChange;

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;
    bool ControlMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void LayoutPages();
    void ShowActive();

    std::vector<std::unique_ptr<TTabSheet>> pages_;
    int active_ = -1;
    bool tabsVisible_ = true;
};
