#include "Menu.h"
#include <map>

namespace {
std::map<WORD, TMenuItem*>& Commands()
{
    // Never freed: menus of static objects may end after every other static.
    static auto* commands = new std::map<WORD, TMenuItem*>;
    return *commands;
}

// Ids below 100 stay free for the program's own commands.
WORD NewCommandId(TMenuItem* item)
{
    static WORD next = 100;
    for (int tries = 0; tries < 0x10000; ++tries) {
        const WORD id = next++;
        if (next < 100)
            next = 100;
        if (id >= 100 && !Commands().count(id)) {
            Commands()[id] = item;
            return id;
        }
    }
    return 0;
}
}  // namespace

TMenuItem::TMenuItem(HMENU rootMenu) : sub_(rootMenu), ownsMenu_(true) {}

TMenuItem::TMenuItem(TMenuItem* parent, bool separator) : parent_(parent), separator_(separator)
{
    id_ = NewCommandId(this);
}

TMenuItem::~TMenuItem()
{
    items_.clear();
    if (id_)
        Commands().erase(id_);
    if (ownsMenu_ && sub_)
        DestroyMenu(sub_);  // a submenu inside a parent is destroyed with the parent's entry
}

int TMenuItem::Position() const
{
    return parent_ ? parent_->IndexOf(this) : -1;
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

bool TMenuItem::ItemInfo(MENUITEMINFOA& info) const
{
    return parent_ && GetMenuItemInfoA(parent_->sub_, static_cast<UINT>(Position()), TRUE, &info);
}

bool TMenuItem::EnsureSubMenu()
{
    if (sub_)
        return true;
    sub_ = CreatePopupMenu();
    if (!sub_ || !parent_)
        return sub_ != nullptr;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU;
    info.hSubMenu = sub_;
    return SetMenuItemInfoA(parent_->sub_, static_cast<UINT>(Position()), TRUE, &info);
}

TMenuItem* TMenuItem::Insert(int index, const std::string& caption, TMenuEvent onClick)
{
    if (!EnsureSubMenu() || index < 0 || index > Count())
        return nullptr;
    const bool separator = caption == "-";
    std::unique_ptr<TMenuItem> item(new TMenuItem(this, separator));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | (separator ? 0 : MIIM_STRING);
    info.fType = separator ? MFT_SEPARATOR : MFT_STRING;
    info.wID = item->id_;
    info.dwTypeData = const_cast<char*>(caption.c_str());
    if (!InsertMenuItemA(sub_, static_cast<UINT>(index), TRUE, &info))
        return nullptr;
    item->OnClick = std::move(onClick);
    items_.insert(items_.begin() + index, std::move(item));
    return items_[index].get();
}

TMenuItem* TMenuItem::Add(const std::string& caption, TMenuEvent onClick)
{
    return Insert(Count(), caption, std::move(onClick));
}

TMenuItem* TMenuItem::AddSeparator()
{
    return Add("-");
}

void TMenuItem::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    DeleteMenu(sub_, static_cast<UINT>(index), MF_BYPOSITION);  // destroys its submenu too
    items_.erase(items_.begin() + index);
}

void TMenuItem::Clear()
{
    while (Count() > 0)
        Delete(Count() - 1);
}

std::string TMenuItem::Caption() const
{
    char buffer[512] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = sizeof buffer;
    return ItemInfo(info) ? buffer : "";
}

void TMenuItem::SetCaption(const std::string& caption)
{
    if (!parent_)
        return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(caption.c_str());
    SetMenuItemInfoA(parent_->sub_, static_cast<UINT>(Position()), TRUE, &info);
}

bool TMenuItem::Checked() const
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    return ItemInfo(info) && (info.fState & MFS_CHECKED);
}

void TMenuItem::SetChecked(bool checked)
{
    if (parent_)
        CheckMenuItem(parent_->sub_, static_cast<UINT>(Position()),
                      MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool TMenuItem::Enabled() const
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    return ItemInfo(info) && !(info.fState & MFS_DISABLED);
}

void TMenuItem::SetEnabled(bool enabled)
{
    if (parent_)
        EnableMenuItem(parent_->sub_, static_cast<UINT>(Position()),
                       MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TMenuItem::Click()
{
    if (parent_ && !Enabled())
        return;
    if (OnClick)
        OnClick(this);
}

bool DispatchMenuCommand(WORD id)
{
    auto it = Commands().find(id);
    if (it == Commands().end())
        return false;
    it->second->Click();
    return true;
}

bool DispatchMenuPopup(HMENU menu)
{
    for (auto& [id, item] : Commands())
        if (item->sub_ == menu) {
            if (item->OnPopup)
                item->OnPopup(item);
            return true;
        }
    return false;
}

TMainMenu::~TMainMenu()
{
    if (window_ && IsWindow(window_) && GetMenu(window_) == SubMenu())
        SetMenu(window_, nullptr);
}

bool TMainMenu::AttachTo(HWND window)
{
    window_ = window;
    return SetMenu(window, SubMenu()) != FALSE;
}

void TMainMenu::Refresh()
{
    if (window_)
        DrawMenuBar(window_);
}

TMenuItem* TPopupMenu::Popup(HWND owner, int screenX, int screenY)
{
    if (OnPopup)
        OnPopup(this);
    const UINT id = TrackPopupMenu(SubMenu(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                   screenX, screenY, 0, owner, nullptr);
    auto it = Commands().find(static_cast<WORD>(id));
    if (!id || it == Commands().end())
        return nullptr;
    TMenuItem* item = it->second;
    item->Click();
    return item;
}
