// The base of the wrappers over standard and common controls (edit, button, list view, ...):
// creates the system window as a child with the GUI font, and, when a wrapper needs mouse or
// key messages that the control does not notify (double-click in an edit, characters typed in
// a list view), subclasses it and offers each message to ControlMessage() first.
#pragma once
#include "Control.h"
#include <functional>

// Click-like events get the control that fired them, so several controls can share a handler.
using TNotifyEvent = std::function<void(TControl* sender)>;

class TStdControl : public TControl {
public:
    ~TStdControl() override;
    // Sets or clears window style bits (for styles a control reads at any time).
    void SetStyleBit(DWORD bit, bool on);
    bool HasStyle(DWORD bit) const;

    // "short|long": the short part shows as the control's tooltip; the whole hint becomes the
    // application's hint while the mouse moves over the control (see TApplication::OnHint).
    void SetHint(const std::string& hint);
    const std::string& Hint() const { return hint_; }

protected:
    bool CreateControl(TControl* parent, const char* className, const std::string& text,
                       DWORD style, DWORD exStyle, int left, int top, int width, int height);
    // Starts calling ControlMessage for every message of the window.
    bool Subclass();
    // Answer true (with result) to keep the message from the control's own procedure.
    virtual bool ControlMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(Handle(), msg, wParam, lParam);
    }

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    bool subclassed_ = false;
    std::string hint_;
    HWND tooltip_ = nullptr;
};
