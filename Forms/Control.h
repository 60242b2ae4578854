// The base of every control: a thin wrapper over one window handle.
//
// Windows are created with the instance of the module that this copy of the layer is linked
// into (the program or the DLL), so a DLL's window classes are its own. Our container class
// ("KorbaltForms") carries forms and panels; the standard controls keep their system class.
// A container reflects WM_COMMAND and WM_NOTIFY to the wrapper of the child that sent them,
// so each control kind handles its own notifications in Command() and Notify().
//
// The application (Application.h), the controls and the forms (Form.h) know each other, the
// natural shape of a form library: the application's loops hand messages to the forms and
// controls under them, and a control reaches the application for its hint, the wait cursor and
// the exceptions its handlers throw. Every other header of the layer sits beside or above them.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The module instance that this copy of the layer belongs to.
HINSTANCE FormsInstance();
// A DLL calls this from DLL_PROCESS_DETACH: unregisters the layer's window classes.
void UnregisterFormClasses();

class TControl {
public:
    TControl() = default;
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return hwnd_; }
    bool HandleAllocated() const { return hwnd_ != nullptr; }
    TControl* Parent() const { return parent_; }
    // The wrapper of a window made by the layer, or nullptr.
    static TControl* FromHandle(HWND hwnd);

    std::string Text() const;
    void SetText(const std::string& text);

    // Bounds in the parent's client coordinates (screen coordinates for a top-level window).
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;

    bool Visible() const;
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetFocus();
    bool Focused() const;

    // Aligned children fill the parent's client area in creation order: top ones from the top,
    // bottom ones from the bottom, then left, right, and client takes what is left.
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    void AlignControls();

    // "short|long": tool buttons show the short part as a tooltip; the application shows the
    // hint of the control under the mouse (or of its nearest parent with one), see TApplication.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }

    // What a click does: buttons override it; a form's default and cancel buttons are clicked
    // through it on Enter and Escape.
    virtual void Click() {}

protected:
    // Creates the window. className nullptr makes one of our container windows. parentWindow is
    // used when parent is nullptr (a child of a host window), and may be nullptr for a
    // top-level window.
    bool CreateHandle(TControl* parent, HWND parentWindow, const char* className,
                      const std::string& text, DWORD style, DWORD exStyle,
                      int left, int top, int width, int height);
    void DestroyHandle();

    // Messages of our container windows; the default reflects notifications and aligns.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Reflected notifications of this control; answer true when handled.
    virtual bool Notify(NMHDR* header, LRESULT& result);
    virtual bool Command(WORD code);
    // The same with the command id, for controls whose items send their own ids (tool bars).
    virtual bool CommandId(WORD id, WORD code) { (void)id; return Command(code); }
    // Other messages that a parent receives on behalf of a child (WM_CTLCOLOR*, WM_HSCROLL,
    // WM_VSCROLL) are offered to the child's wrapper; answer true when handled.
    virtual bool Reflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The window is gone (destroyed by its parent or by us).
    virtual void HandleDestroyed() {}

    // For standard controls whose own messages a wrapper needs (double-clicks, keys): after
    // SubclassWindow() every message of the control passes ControlMessage() first; answer true
    // (with result set) to keep it from the control.
    bool SubclassWindow();
    virtual bool ControlMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static bool EnsureClasses();
    static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();

    HWND hwnd_ = nullptr;
    TControl* parent_ = nullptr;
    std::vector<TControl*> children_;
    TAlign align_ = alNone;
    std::string hint_;
    WNDPROC oldProc_ = nullptr;
};
