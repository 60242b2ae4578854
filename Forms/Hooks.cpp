#include "Hooks.h"
#include <commdlg.h>
#include <vector>

namespace {
TModalHooks g_realHooks;
TModalHooks* g_hooks = &g_realHooks;

// "A|*.a|B|*.b" becomes "A\0*.a\0B\0*.b\0\0" for the common dialogs.
std::vector<char> DialogFilter(const std::string& filter)
{
    std::vector<char> out(filter.begin(), filter.end());
    for (char& c : out)
        if (c == '|')
            c = '\0';
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

bool RunFileDialog(TFileDialogRequest& request, bool save)
{
    char file[MAX_PATH] = {};
    lstrcpynA(file, request.fileName.c_str(), MAX_PATH);
    std::vector<char> filter = DialogFilter(request.filter);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.data();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
    ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    ofn.Flags = request.flags | OFN_EXPLORER;
    if (request.readOnlyChecked)
        ofn.Flags |= OFN_READONLY;
    const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok)
        return false;
    request.fileName = file;
    request.readOnlyChecked = (ofn.Flags & OFN_READONLY) != 0;
    request.filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}
}  // namespace

int TModalHooks::ShowMessageBox(const TMessageBoxRequest& request)
{
    return ::MessageBoxA(request.owner, request.text.c_str(), request.caption.c_str(),
                       request.buttons | request.icon | MB_TASKMODAL);
}

bool TModalHooks::OpenDialog(TFileDialogRequest& request)
{
    return RunFileDialog(request, false);
}

bool TModalHooks::SaveDialog(TFileDialogRequest& request)
{
    return RunFileDialog(request, true);
}

bool TModalHooks::ColorDialog(TColorDialogRequest& request)
{
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = request.owner;
    cc.rgbResult = request.color;
    cc.lpCustColors = request.customColors;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorA(&cc))
        return false;
    request.color = cc.rgbResult;
    return true;
}

int TModalHooks::ShowModal(TForm&, const std::function<int()>& runModalLoop)
{
    return runModalLoop();
}

TModalHooks& ModalHooks()
{
    return *g_hooks;
}

TModalHooks* SetModalHooks(TModalHooks* hooks)
{
    TModalHooks* previous = g_hooks;
    g_hooks = hooks ? hooks : &g_realHooks;
    return previous;
}

int MessageDlg(const std::string& text, const std::string& caption, UINT buttons, UINT icon)
{
    TMessageBoxRequest request;
    request.text = text;
    request.caption = caption;
    request.buttons = buttons;
    request.icon = icon;
    request.owner = GetActiveWindow();
    return ModalHooks().ShowMessageBox(request);
}
