#include "ComboBox.h"

bool TComboBox::Create(TControl* parent, int left, int top, int width, int height)
{
    return CreateControl(parent, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0,
                         left, top, width, height);
}

int TComboBox::AddItem(const std::string& text)
{
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void TComboBox::Clear()
{
    Send(CB_RESETCONTENT);
}

int TComboBox::Count() const
{
    return static_cast<int>(Send(CB_GETCOUNT));
}

std::string TComboBox::Item(int index) const
{
    return ItemText(CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int TComboBox::ItemIndex() const
{
    return static_cast<int>(Send(CB_GETCURSEL));
}

void TComboBox::SetItemIndex(int index)
{
    Send(CB_SETCURSEL, static_cast<WPARAM>(index));
}

int TComboBox::IndexOf(const std::string& text) const
{
    return FindItemText(CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, text);
}

bool TComboBox::Command(WORD code)
{
    return code == CBN_SELCHANGE && Fire(OnChange);
}
