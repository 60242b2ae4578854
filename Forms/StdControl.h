// The base of the wrappers over standard and common controls (edit, button, list view, ...):
// creates the system window as a visible child in the GUI font and sends it messages. A wrapper
// that needs the control's own messages calls SubclassWindow() (Control.h).
#pragma once
#include "Control.h"
#include <functional>

// Click-like events get the control that fired them, so several controls can share a handler.
using TNotifyEvent = std::function<void(TControl* sender)>;

class TStdControl : public TControl {
public:
    ~TStdControl() override;
    // A fixed-pitch font for columns of text (the control keeps the font).
    void UseFixedPitchFont(int pointSize = 9);
    // Redraw off while the program changes many items; nestable, the last EndUpdate repaints.
    void BeginUpdate();
    void EndUpdate();

    // Sets or clears window style bits (for styles a control reads at any time).
    void SetStyleBit(DWORD bit, bool on);
    bool HasStyle(DWORD bit) const;

protected:
    bool CreateControl(TControl* parent, const char* className, const std::string& text,
                       DWORD style, DWORD exStyle, int left, int top, int width, int height);
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(Handle(), msg, wParam, lParam);
    }
    // The text of item `index` of a list box or combo box: lengthMsg answers its length (or -1,
    // the lists' error value, for no such item: "" then), textMsg copies it.
    std::string ItemText(UINT lengthMsg, UINT textMsg, int index) const;
    // The first item of a list box or combo box (countMsg answers how many) whose text equals
    // `text`, letter case ignored; -1 when none does.
    int FindItemText(UINT countMsg, UINT lengthMsg, UINT textMsg, const std::string& text) const;
    // A click-like event with this control as sender, when one is assigned. True: the
    // notification was this control's.
    bool Fire(const TNotifyEvent& event)
    {
        if (event)
            event(this);
        return true;
    }

private:
    HFONT font_ = nullptr;
    int updateCount_ = 0;
};
