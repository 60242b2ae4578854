#include "Button.h"

bool TButton::Create(TControl* parent, const std::string& caption, int left, int top, int width,
                     int height)
{
    return CreateControl(parent, "BUTTON", caption, BS_PUSHBUTTON | WS_TABSTOP, 0, left, top,
                         width, height);
}

void TButton::Click()
{
    if (HandleAllocated() && Enabled())
        Send(BM_CLICK);
}

void TButton::SetDefaultLook(bool isDefault)
{
    Send(BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::Command(WORD code)
{
    return code == BN_CLICKED && Fire(OnClick);
}

bool TCheckBox::Create(TControl* parent, const std::string& caption, int left, int top, int width,
                       int height, bool pushLike)
{
    return CreateControl(parent, "BUTTON", caption,
                         BS_AUTOCHECKBOX | WS_TABSTOP | (pushLike ? BS_PUSHLIKE : 0), 0, left, top,
                         width, height);
}

bool TRadioButton::Create(TControl* parent, const std::string& caption, int left, int top,
                          int width, int height, bool firstOfGroup)
{
    return CreateControl(parent, "BUTTON", caption,
                         BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0), 0, left,
                         top, width, height);
}

bool TStateButton::Checked() const
{
    return Send(BM_GETCHECK) == BST_CHECKED;
}

void TStateButton::SetChecked(bool checked)
{
    Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}
