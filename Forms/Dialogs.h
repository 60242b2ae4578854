// The common dialogs as components of a form: their settings live here, Execute() runs them
// through the modal hook (Hooks.h), so tests answer them and read what was asked.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <string>

class TOpenDialog {
public:
    virtual ~TOpenDialog() = default;
    std::string Title;
    std::string Filter;      // "Description|*.ext|Other|*.x"
    int FilterIndex = 1;     // 1-based, as the dialog counts
    std::string DefaultExt;
    std::string InitialDir;
    std::string FileName;    // in: preset; out: the chosen full path
    DWORD Options = 0;       // OFN_* (OFN_FILEMUSTEXIST, OFN_HIDEREADONLY, OFN_OVERWRITEPROMPT...)
    bool ReadOnlyChecked = false;  // in and out: the dialog's read-only box

    // True when the user chose a file.
    virtual bool Execute(HWND owner = nullptr);

protected:
    bool Run(HWND owner, bool save);
};

class TSaveDialog : public TOpenDialog {
public:
    bool Execute(HWND owner = nullptr) override { return Run(owner, true); }
};

class TColorDialog {
public:
    COLORREF Color = 0;  // in: the colour to start from; out: the colour picked
    COLORREF CustomColors[16] = {};
    bool Execute(HWND owner = nullptr);
};

// The file's name without its folder, and without folder and extension.
std::string ExtractFileName(const std::string& path);
std::string ExtractFileNameWithoutExt(const std::string& path);
