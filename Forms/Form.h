// A form: one window class of ours with its components as members and its handlers as methods.
//
// A form class derives from TForm, builds its components in CreateComponents() and assigns the
// events it wants. Create a form with CreateForm(); show it with Show() or, modally, with
// ShowModal(), which goes through the modal hook (Hooks.h) so that tests can answer it.
// Forms, controls and the application know each other: see Control.h.
#pragma once
#include "Control.h"
#include <functional>
#include <string>

enum TFormKind {
    fkTopLevel,      // overlapped window with caption, system menu and frame
    fkChildOfHost,   // child window inside a window of the host program (a panel DLL)
    fkPlainTopLevel, // top-level window without owner or system menu
    fkDialog         // dialog: caption with system menu and a fixed frame, no minimize or maximize box
};

enum TModalResult { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO };

class TForm : public TControl {
public:
    TForm() = default;
    ~TForm() override;

    // Makes the window (hidden), runs CreateComponents() and then OnCreate.
    bool CreateForm(const std::string& caption, int left, int top, int width, int height,
                    TFormKind kind = fkTopLevel, HWND host = nullptr);
    TFormKind Kind() const { return kind_; }
    // Destroys the window now (OnDestroy runs). A form whose OnDestroy uses its components
    // calls this first in its own destructor: by the time ~TForm runs they are gone.
    void DestroyForm() { DestroyHandle(); }

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }

    void BringToFront();
    void CenterOnScreen();

    // The form of a window: the nearest window up its parent chain that is one of our forms.
    static TForm* FormOfWindow(HWND hwnd);

    // Keys. With key preview the form sees key messages of its controls first; setting the key
    // to 0 in a handler swallows it. Enter clicks the default button and Escape the cancel
    // button; Tab moves the focus over visible, enabled WS_TABSTOP controls in creation order.
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }
    bool KeyPreview() const { return keyPreview_; }
    void SetDefaultButton(TControl* button) { defaultButton_ = button; }
    void SetCancelButton(TControl* button) { cancelButton_ = button; }
    std::function<void(WORD& key)> OnKeyDown;
    std::function<void(WORD& key)> OnKeyUp;
    std::function<void(char& key)> OnKeyPress;
    // Called by the message loop for key messages of the form's windows; true when handled.
    bool PreviewKey(MSG& msg);
    // While a key handler runs: the control the key message is addressed to (the focused one).
    HWND KeyWindow() const { return keyWindow_; }

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

protected:
    virtual void CreateComponents() {}
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    TFormKind kind_ = fkTopLevel;
    bool keyPreview_ = false;
    HWND keyWindow_ = nullptr;
    TControl* defaultButton_ = nullptr;
    TControl* cancelButton_ = nullptr;
    bool inModal_ = false;
    int modalResult_ = mrNone;
    int changingByProgram_ = 0;
};

class TProgramChange {
public:
    explicit TProgramChange(TForm& form) : form_(form) { form_.BeginProgramChange(); }
    ~TProgramChange() { form_.EndProgramChange(); }
    TProgramChange(const TProgramChange&) = delete;
    TProgramChange& operator=(const TProgramChange&) = delete;

private:
    TForm& form_;
};
