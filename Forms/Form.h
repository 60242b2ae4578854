// A form: one window class of ours with its components as members and its handlers as methods.
//
// A form class derives from TForm, builds its components in CreateComponents() and assigns the
// events it wants. Create a form with CreateForm(); show it with Show() or, modally, with
// ShowModal(), which goes through the modal hook (Hooks.h) so that tests can answer it.
#pragma once
#include "Control.h"
#include <functional>
#include <string>

enum TFormKind {
    fkTopLevel,      // overlapped window with caption, system menu and frame
    fkChildOfHost,   // child window inside a window of the host program (a panel DLL)
    fkPlainTopLevel  // top-level window without owner or system menu
};

enum TModalResult { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO };

class TButton;

class TForm : public TControl {
public:
    TForm() = default;
    ~TForm() override;

    // Makes the window (hidden), runs CreateComponents() and then OnCreate.
    bool CreateForm(const std::string& caption, int left, int top, int width, int height,
                    TFormKind kind = fkTopLevel, HWND host = nullptr);
    TFormKind Kind() const { return kind_; }

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }

    void BringToFront();
    void CenterOnScreen();

    // Asks OnCloseQuery; when allowed, hides the form, ends a modal run (mrCancel unless a
    // result is set) and ends the application when this is its main form. True when closed.
    bool Close();

    // Through the modal hook; the real run is RunModalLoop().
    int ShowModal();
    int RunModalLoop();
    bool InModalLoop() const { return inModal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    // Set while the program itself fills or changes a control, so that the control's change
    // handler knows to do nothing. Nestable; use TProgramChange to set it for a scope.
    bool ChangingByProgram() const { return changingByProgram_ > 0; }
    void BeginProgramChange() { ++changingByProgram_; }
    void EndProgramChange() { --changingByProgram_; }

    std::function<void()> OnCreate;
    std::function<void()> OnActivate;
    std::function<void()> OnShow;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void()> OnDestroy;
    std::function<void()> OnMove;
    std::function<void()> OnResize;

    // Keys (FormKeys.cpp). With KeyPreview the form sees every key of its controls first; a
    // handler that sets key to 0 swallows it. shift holds MK_SHIFT / MK_CONTROL for the
    // state of Shift and Ctrl. Then Enter presses DefaultButton (a focused button presses
    // itself), Escape presses CancelButton, and Tab / Shift+Tab move the focus along the tab
    // order (visible, enabled controls with a tab stop, in creation order) unless the focused
    // control takes those keys itself.
    bool KeyPreview = false;
    std::function<void(WORD& key, UINT shift)> OnKeyDown;
    std::function<void(WORD& key, UINT shift)> OnKeyUp;
    std::function<void(char& key)> OnKeyPress;
    TButton* DefaultButton = nullptr;
    TButton* CancelButton = nullptr;
    // Moves the focus to the next (or previous) control of the tab order.
    void SelectNext(bool forward);
    // One key message for a control of this form; true when it was handled and swallowed.
    bool PreviewKey(MSG& msg);

protected:
    virtual void CreateComponents() {}
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    TFormKind kind_ = fkTopLevel;
    bool inModal_ = false;
    int modalResult_ = mrNone;
    int changingByProgram_ = 0;
    bool keysRouted_ = false;
};

// The thread's key routing to forms lives while at least one form exists (FormKeys.cpp).
bool AddKeyRouting();
void ReleaseKeyRouting();

class TProgramChange {
public:
    explicit TProgramChange(TForm& form) : form_(form) { form_.BeginProgramChange(); }
    ~TProgramChange() { form_.EndProgramChange(); }
    TProgramChange(const TProgramChange&) = delete;
    TProgramChange& operator=(const TProgramChange&) = delete;

private:
    TForm& form_;
};
