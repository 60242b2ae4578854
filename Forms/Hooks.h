// Every modal thing of the layer goes through one replaceable hook object: message boxes, the
// open and save dialogs, the colour dialog and modal forms. The default object shows the real
// Windows dialogs; a test installs its own object to answer them and read what was asked.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

class TForm;

struct TMessageBoxRequest {
    std::string text;
    std::string caption;
    UINT buttons = MB_OK;  // MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, ...
    UINT icon = 0;         // MB_ICONEXCLAMATION, MB_ICONQUESTION, MB_ICONERROR, ... or 0
    HWND owner = nullptr;
};

// Open and save dialogs. Filter is written "Description|*.ext|Other|*.x" as a form library does.
struct TFileDialogRequest {
    std::string title;
    std::string filter;
    std::string defaultExt;
    std::string initialDir;
    std::string fileName;  // in: preset name; out: the chosen full path
    DWORD flags = 0;       // OFN_* options (file must exist, overwrite prompt, hide read-only...)
    bool readOnlyChecked = false;  // out: the dialog's read-only box
    int filterIndex = 1;   // in and out: the chosen filter, 1-based
    HWND owner = nullptr;
};

struct TColorDialogRequest {
    COLORREF color = 0;  // in: the colour to start from; out: the colour picked
    COLORREF customColors[16] = {};
    HWND owner = nullptr;
};

class TModalHooks {
public:
    virtual ~TModalHooks() = default;
    // Answers IDOK, IDCANCEL, IDYES, IDNO, ... as MessageBox does.
    virtual int ShowMessageBox(const TMessageBoxRequest& request);
    // True when the user chose a file (request.fileName holds it), false on cancel.
    virtual bool OpenDialog(TFileDialogRequest& request);
    virtual bool SaveDialog(TFileDialogRequest& request);
    // True when the user picked a colour (request.color holds it).
    virtual bool ColorDialog(TColorDialogRequest& request);
    // Runs the form modally and answers its modal result (mrOk, mrCancel, ...). The form hands
    // in its own modal loop, which the real hook runs: the hooks sit below the forms.
    virtual int ShowModal(TForm& form, const std::function<int()>& runModalLoop);
};

// The hook object in force. SetModalHooks(nullptr) puts the real dialogs back; it answers the
// object that was in force before.
TModalHooks& ModalHooks();
TModalHooks* SetModalHooks(TModalHooks* hooks);

// The usual call: a message box with text, caption, buttons and icon through the hook.
int MessageDlg(const std::string& text, const std::string& caption, UINT buttons = MB_OK,
               UINT icon = MB_ICONEXCLAMATION);
