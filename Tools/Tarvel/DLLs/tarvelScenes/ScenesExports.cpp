// The exports of tarvelScenes.dll. Each one does nothing before _CreateAsChild, after
// _Destroy or when handed a null pointer.
#include <windows.h>
#include "ScenesPanel.h"

static HINSTANCE scenesInstance = nullptr;

extern "C" {

void __cdecl scenes_Destroy(void);

// A host that unloads the library without _Destroy must not keep a window whose procedure is
// gone; at process exit (reserved set) nothing is torn down.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        scenesInstance = instance;
    else if (reason == DLL_PROCESS_DETACH && !reserved)
        scenes_Destroy();
    return TRUE;
}

int __cdecl scenes_Version(void) { return 1; }

HWND __cdecl scenes_CreateAsChild(HWND)
{
    if (scenesPanel)
        return scenesPanel->Handle();
    TScenesPanel* panel = new TScenesPanel(scenesInstance);
    scenesPanel = panel;
    if (!panel->Create()) {
        scenesPanel = nullptr;
        delete panel;
        return nullptr;
    }
    // Callbacks go through the live panel, so a host may replace or drop them at any time.
    panel->editor.onSave = [] {
        if (scenesPanel && scenesPanel->onSave)
            scenesPanel->onSave();
    };
    panel->editor.onRename = [] {
        if (scenesPanel && scenesPanel->onRename)
            scenesPanel->onRename();
    };
    panel->editor.describe = [](const std::string& scene, std::string& shortText, std::string& longText) {
        if (scenesPanel)
            scenesPanel->Reader().Descriptions(scene, shortText, longText);
    };
    return panel->Handle();
}

void __cdecl scenes_Destroy(void)
{
    TScenesPanel* panel = scenesPanel;
    scenesPanel = nullptr;
    delete panel;
}

void __cdecl scenes_SetChronicle(const char* name)
{
    if (scenesPanel && name)
        scenesPanel->editor.SetChronicle(name);
}

int __cdecl scenes_ShowModal(void)
{
    return scenesPanel ? scenesPanel->ShowModal() : 0;
}

void __cdecl scenes_SetLayersInfo(const LayersInfo* info)
{
    if (scenesPanel && info)
        scenesPanel->editor.SetLayers(*info);
}

void __cdecl scenes_GetLayersInfo(LayersInfo* info)
{
    if (scenesPanel && info)
        scenesPanel->editor.GetLayers(*info);
}

void __cdecl scenes_SetScenesInfo(const ScenesInfo* info)
{
    if (!scenesPanel || !info)
        return;
    scenesPanel->editor.SetScenes(*info);
    InvalidateRect(scenesPanel->Handle(), nullptr, TRUE);
}

void __cdecl scenes_GetScenesInfo(ScenesInfo* info)
{
    if (scenesPanel && info)
        scenesPanel->editor.GetScenes(*info);
}

void __cdecl scenes_SetBaseDir(const char* folder)
{
    if (scenesPanel && folder)
        scenesPanel->SetBaseDir(folder);
}

void __cdecl scenes_RegisterCloseCallback(ScenesCloseCallback cb)
{
    if (scenesPanel)
        scenesPanel->onClose = cb;
}

void __cdecl scenes_RegisterSaveCallback(ScenesSaveCallback cb)
{
    if (scenesPanel)
        scenesPanel->onSave = cb;
}

void __cdecl scenes_RegisterRenameCallback(ScenesRenameCallback cb)
{
    if (scenesPanel)
        scenesPanel->onRename = cb;
}

void __cdecl scenes_RegisterGLSCallback(ScenesGLSCallback cb)
{
    if (scenesPanel)
        scenesPanel->onGLS = cb;
}

}  // extern "C"
