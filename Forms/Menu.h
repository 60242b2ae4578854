// Main menu, popup menu and their items. The Windows menu holds captions and states; a
// TMenuItem is the program's handle to one entry, with its click handler and, for a submenu,
// its children. Each item gets a command id of its own; our container windows hand the menu
// commands they receive to DispatchMenuCommand.
#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TMenuItem;
using TMenuEvent = std::function<void(TMenuItem* sender)>;

class TMenuItem {
public:
    ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    // Children: appended, inserted at an index, removed (the item and its children end).
    TMenuItem* Add(const std::string& caption, TMenuEvent onClick = nullptr);
    TMenuItem* Insert(int index, const std::string& caption, TMenuEvent onClick = nullptr);
    TMenuItem* AddSeparator();
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Item(int index) const { return items_[index].get(); }
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return parent_; }

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Checked() const;
    void SetChecked(bool checked);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool IsSeparator() const { return separator_; }
    WORD Command() const { return id_; }
    // The submenu of the item (created with its first child), or the menu of a root.
    HMENU SubMenu() const { return sub_; }

    // Runs OnClick as a choice of the item would (nothing when disabled).
    void Click();

    TMenuEvent OnClick;
    // Before the item's submenu opens: fill or update it here.
    TMenuEvent OnPopup;

protected:
    explicit TMenuItem(HMENU rootMenu);  // the root of a main or popup menu

private:
    friend bool DispatchMenuCommand(WORD id);
    friend bool DispatchMenuPopup(HMENU menu);
    TMenuItem(TMenuItem* parent, bool separator);
    int Position() const;  // place in the parent's menu
    bool EnsureSubMenu();
    bool ItemInfo(MENUITEMINFOA& info) const;

    TMenuItem* parent_ = nullptr;
    HMENU sub_ = nullptr;
    bool ownsMenu_ = false;
    bool separator_ = false;
    WORD id_ = 0;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

class TMainMenu : public TMenuItem {
public:
    TMainMenu() : TMenuItem(CreateMenu()) {}
    ~TMainMenu();
    // Shows the menu bar in the window (a form's handle).
    bool AttachTo(HWND window);
    // After changing the top-level captions or states of an attached menu.
    void Refresh();

private:
    HWND window_ = nullptr;
};

class TPopupMenu : public TMenuItem {
public:
    TPopupMenu() : TMenuItem(CreatePopupMenu()) {}
    // Shows the menu at a screen point for the owner window and waits for the choice; the
    // chosen item is clicked and returned (nullptr when the menu was dismissed).
    TMenuItem* Popup(HWND owner, int screenX, int screenY);
};

// The item with the command id of this module's menus: clicks it; false when none has it.
bool DispatchMenuCommand(WORD id);
// A submenu is about to open: runs the OnPopup of the item that owns it.
bool DispatchMenuPopup(HMENU menu);
