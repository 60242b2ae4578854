#include "Dialogs.h"
#include "Hooks.h"

bool TOpenDialog::Execute(HWND owner)
{
    return Run(owner, false);
}

bool TOpenDialog::Run(HWND owner, bool save)
{
    TFileDialogRequest request;
    request.title = Title;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.defaultExt = DefaultExt;
    request.initialDir = InitialDir;
    request.fileName = FileName;
    // A dialog never moves the program's current folder: the editor reads its string-list files
    // relative to it, and a panel's host keeps its own.
    request.flags = Options | OFN_NOCHANGEDIR;
    request.readOnlyChecked = ReadOnlyChecked;
    request.owner = owner ? owner : GetActiveWindow();
    const bool ok = save ? ModalHooks().SaveDialog(request) : ModalHooks().OpenDialog(request);
    if (!ok)
        return false;
    FileName = request.fileName;
    FilterIndex = request.filterIndex;
    ReadOnlyChecked = request.readOnlyChecked;
    return true;
}

bool TColorDialog::Execute(HWND owner)
{
    TColorDialogRequest request;
    request.color = Color;
    for (int i = 0; i < 16; ++i)
        request.customColors[i] = CustomColors[i];
    request.owner = owner ? owner : GetActiveWindow();
    if (!ModalHooks().ColorDialog(request))
        return false;
    Color = request.color;
    for (int i = 0; i < 16; ++i)
        CustomColors[i] = request.customColors[i];
    return true;
}

std::string ExtractFileName(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFileNameWithoutExt(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}
