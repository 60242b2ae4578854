#include "CheckListBox.h"
#include <commctrl.h>
#include <vector>

bool TCheckListBox::Create(TControl* parent, int left, int top, int width, int height)
{
    if (!CreateControl(parent, WC_LISTVIEWA, "",
                       LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                       WS_EX_CLIENTEDGE, left, top, width, height))
        return false;
    Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
         LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNA col = {};
    col.mask = LVCF_WIDTH;
    col.cx = width - GetSystemMetrics(SM_CXVSCROLL) - 4;
    Send(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    return true;
}

int TCheckListBox::AddItem(const std::string& text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = Count();
    item.pszText = const_cast<char*>(text.c_str());
    ++settingByProgram_;  // the new item's state image arrives as a change
    const int index = static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    --settingByProgram_;
    return index;
}

void TCheckListBox::Clear()
{
    Send(LVM_DELETEALLITEMS);
}

int TCheckListBox::Count() const
{
    return static_cast<int>(Send(LVM_GETITEMCOUNT));
}

std::string TCheckListBox::Item(int index) const
{
    char buffer[1024] = {};
    LVITEMA lv = {};
    lv.pszText = buffer;
    lv.cchTextMax = sizeof buffer;
    Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lv));
    return buffer;
}

void TCheckListBox::SetItem(int index, const std::string& text)
{
    LVITEMA lv = {};
    lv.pszText = const_cast<char*>(text.c_str());
    Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lv));
}

bool TCheckListBox::Checked(int index) const
{
    // State image 2 is the ticked box, 1 the empty one.
    return (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void TCheckListBox::SetChecked(int index, bool checked)
{
    LVITEMA lv = {};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    ++settingByProgram_;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lv));
    --settingByProgram_;
}

int TCheckListBox::ItemIndex() const
{
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCheckListBox::SetItemIndex(int index)
{
    LVITEMA lv = {};
    lv.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (index < 0) {
        Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&lv));
        return;
    }
    lv.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lv));
}

bool TCheckListBox::Notify(NMHDR* header, LRESULT&)
{
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        const auto* nm = reinterpret_cast<const NMLISTVIEW*>(header);
        const UINT changed = (nm->uOldState ^ nm->uNewState) & LVIS_STATEIMAGEMASK;
        // A first state image (0 to 1) is the item being made, not a tick.
        if ((nm->uChanged & LVIF_STATE) && changed && (nm->uOldState & LVIS_STATEIMAGEMASK) &&
            !settingByProgram_ && OnClickCheck)
            OnClickCheck(nm->iItem);
        return true;
    }
    case NM_CLICK:
        return Fire(OnClick);
    default:
        return false;
    }
}
