// Push button, check box, radio button and the speed (toggle) button that stays down or up.
// Their OnClick gets the button as sender, so one handler can serve several buttons.
#pragma once
#include "StdControl.h"

class TButton : public TStdControl {
public:
    bool Create(TControl* parent, const std::string& caption, int left, int top, int width,
                int height);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    // Presses the button as a click would (nothing when it is disabled).
    void Click() override;
    // Drawn as the default push button of its form.
    void SetDefaultLook(bool isDefault);

    TNotifyEvent OnClick;

protected:
    bool Command(WORD code) override;
};

// A button with a check state: the check box and the radio button.
class TStateButton : public TButton {
public:
    bool Checked() const;
    // Setting the state by program does not fire OnClick.
    void SetChecked(bool checked);
};

// Check box (and, with pushLike, the speed button that stays down).
class TCheckBox : public TStateButton {
public:
    bool Create(TControl* parent, const std::string& caption, int left, int top, int width,
                int height, bool pushLike = false);
};

// A toggle button: Down() is its state; each click flips it and then fires OnClick.
class TSpeedButton : public TCheckBox {
public:
    bool Create(TControl* parent, const std::string& caption, int left, int top, int width,
                int height)
    {
        return TCheckBox::Create(parent, caption, left, top, width, height, true);
    }
    bool Down() const { return Checked(); }
    void SetDown(bool down) { SetChecked(down); }
};

class TRadioButton : public TStateButton {
public:
    // firstOfGroup starts a new group of buttons that exclude each other.
    bool Create(TControl* parent, const std::string& caption, int left, int top, int width,
                int height, bool firstOfGroup = false);
};
